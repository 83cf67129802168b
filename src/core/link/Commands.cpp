#include "core/link/Commands.h"

#include "core/base/Says.h"
#include "core/data/Cp932.h"
#include "core/data/LoggerModel.h"
#include "core/link/AnswerDispatcher.h"

namespace termika::commands {
namespace {

constexpr int kNameLength = 4;
constexpr int kMaxRawLimit = 0x7FFF;  // bit 7 of the high byte is the on flag
constexpr std::uint8_t kAlarmOn = 0x80;

std::uint8_t byteOf(int value) { return static_cast<std::uint8_t>(value); }

void appendAll(CommandRows& to, const CommandRows& rows) {
  to.insert(to.end(), rows.begin(), rows.end());
}

std::array<std::uint8_t, 2> alarmBytes(int raw, bool on) {
  return {static_cast<std::uint8_t>((raw / 256) | (on ? kAlarmOn : 0)), byteOf(raw % 256)};
}

}  // namespace

CommandRow row(Opcode code, std::uint8_t b2, std::uint8_t b3, SessionMode mode,
               std::int32_t param) {
  return CommandRow{1, toByte(code), b2, b3, mode, param};
}

CommandRows queueClockWrite(const CivilTime& now, SessionMode mode, std::int32_t param) {
  return {row(Opcode::ClockWriteMonthYear, byteOf(now.month), byteOf(now.year % 100), mode, param),
          row(Opcode::ClockWriteHourDay, byteOf(now.hour), byteOf(now.day), mode, param),
          row(Opcode::ClockWriteSecondMinute, byteOf(now.second), byteOf(now.minute), mode, param)};
}

CommandRows queueClockRead(SessionMode mode, std::int32_t param) {
  return {row(Opcode::ClockReadMonthYear, 0, 0, mode, param),
          row(Opcode::ClockReadHourDay, 0, 0, mode, param),
          row(Opcode::ClockReadSecondMinute, 0, 0, mode, param)};
}

CommandRows queueStatusRead(SessionMode mode, std::int32_t param) {
  CommandRows rows;
  for (const Opcode code : {Opcode::Identify, Opcode::ReadNameFirstHalf, Opcode::ReadNameSecondHalf,
                            Opcode::ReadState}) {
    rows.push_back(row(code, 0, 0, mode, param));
  }
  for (const RecordingInfo item : {RecordingInfo::StartYearMonth, RecordingInfo::StartDayHour,
                                   RecordingInfo::StartMinuteSecond, RecordingInfo::UsedMemory,
                                   RecordingInfo::RecordedInterval}) {
    rows.push_back(row(Opcode::ReadRecordingInfo, toByte(item), 0, mode, param));
  }
  for (const Opcode code :
       {Opcode::ReadUsedMemory, Opcode::ReadReservationDay, Opcode::ReadReservationHour,
        Opcode::ReadReservationMinute, Opcode::ReadInterval, Opcode::ReadUpperAlarm,
        Opcode::ReadLowerAlarm, Opcode::ReadRecordMode, Opcode::ReadBatteryVoltage,
        Opcode::ReadDownloadState}) {
    rows.push_back(row(code, 0, 0, mode, param));
  }
  return rows;
}

CommandRows queueMeasurementRead(SessionMode mode, std::int32_t param) {
  return {row(Opcode::ReadBatteryLow, 0, 0, mode, param),
          row(Opcode::ReadTemperature, 0, 0, mode, param),
          row(Opcode::ReadHumidity, 0, 0, mode, param)};
}

CommandRows connectRows() {
  CommandRows rows{row(Opcode::ReadBatteryLow, 0, 0, SessionMode::PortOpen)};
  appendAll(rows, queueStatusRead(SessionMode::PortOpen));
  return rows;
}

CommandRows statusUpdateRows() { return queueStatusRead(); }

CommandRows nowTimeSetRows(const CivilTime& now) {
  CommandRows rows = queueClockWrite(now);
  appendAll(rows, queueClockRead(SessionMode::ClockSet));
  return rows;
}

CommandRows stopRows() {
  CommandRows rows{row(Opcode::StopRecording, 14, 0)};
  appendAll(rows, queueStatusRead());
  return rows;
}

CommandRows downloadStartRows() {
  CommandRows rows{row(Opcode::StopRecording, 14, 0, SessionMode::Download)};
  appendAll(rows, queueStatusRead(SessionMode::Download));
  rows.push_back(row(Opcode::ReadMemory, 240, 0, SessionMode::RecordingHeader, 0xF000));
  return rows;
}

CommandRows singleMeasurementRows() {
  CommandRows rows{row(Opcode::SetResolution, 0, 0, SessionMode::Measurement)};
  appendAll(rows, queueMeasurementRead(SessionMode::Measurement));
  return rows;
}

CommandRows continuousStartRows(int intervalSeconds) {
  const std::uint8_t f = isLowResolution(intervalSeconds) ? 1 : 0;
  CommandRows rows{row(Opcode::SetResolution, f, f, SessionMode::ContinuousMeasurement)};
  appendAll(rows, queueMeasurementRead(SessionMode::ContinuousMeasurement));
  return rows;
}

CommandRows continuationRows() { return queueMeasurementRead(SessionMode::ContinuousMeasurement); }

Result<std::array<std::uint8_t, 4>> encodeLoggerName(const QString& name) {
  if (!cp932::isSingleByteText(name)) {
    return Error{says("The identification name may hold only single-byte characters.")};
  }
  QString padded = name.left(kNameLength);
  padded.prepend(QString(kNameLength - padded.size(), QLatin1Char(' ')));
  const QByteArray bytes = cp932::encode(padded);
  if (bytes.size() != kNameLength) {
    return Error{says("The identification name cannot be encoded.")};
  }
  std::array<std::uint8_t, 4> out{};
  for (int i = 0; i < kNameLength; ++i)
    out.at(static_cast<size_t>(i)) = byteOf(static_cast<unsigned char>(bytes.at(i)));
  return out;
}

Result<CommandRows> setLsNameRows(const QString& name, SessionMode mode, std::int32_t param) {
  const auto c = encodeLoggerName(name);
  if (!c) return c.error();
  CommandRows rows{row(Opcode::WriteNameFirstHalf, (*c)[0], (*c)[1], mode, param),
                   row(Opcode::WriteNameSecondHalf, (*c)[2], (*c)[3], mode, param)};
  appendAll(rows, queueStatusRead(mode, param));
  return rows;
}

Result<CommandRows> logStartRows(const LogStartSettings& s) {
  if (s.unit != IntervalUnit::Seconds && s.unit != IntervalUnit::Minutes) {
    return Error{says("Unknown interval unit %1.").arg(toByte(s.unit))};
  }
  if (s.interval < 1 || s.interval > 255) {
    return Error{says("The interval %1 does not fit the logger.").arg(s.interval)};
  }
  if (s.upperRaw < 0 || s.upperRaw > kMaxRawLimit || s.lowerRaw < 0 || s.lowerRaw > kMaxRawLimit) {
    return Error{says("An alarm limit is outside the sensor's range.")};
  }
  if (s.reservation) {
    const Reservation& r = *s.reservation;
    if (r.day < 1 || r.day > 31 || r.hour < 0 || r.hour > 23 || r.minute < 0 || r.minute > 59) {
      return Error{says("The reservation time is not a valid day, hour and minute.")};
    }
  }
  const auto name = encodeLoggerName(s.name);
  if (!name) return name.error();

  const SessionMode mode = SessionMode::LogStart;
  const std::uint8_t recordMode = s.loop ? 1 : 0;
  const std::uint8_t resolution = isLowResolution(s.intervalSeconds()) ? 1 : 0;
  const auto n = byteOf(s.interval);

  CommandRows rows{row(Opcode::WriteNameFirstHalf, (*name)[0], (*name)[1], mode),
                   row(Opcode::WriteNameSecondHalf, (*name)[2], (*name)[3], mode),
                   row(Opcode::SetRecordMode, recordMode, recordMode, mode)};
  appendAll(rows, queueClockWrite(s.now, mode));
  appendAll(rows, queueClockRead(mode));
  rows.push_back(row(Opcode::SetResolution, resolution, resolution, mode));
  if (hasAlarms(s.model)) {
    const auto upper = alarmBytes(s.upperRaw, s.upperOn);
    const auto lower = alarmBytes(s.lowerRaw, s.lowerOn);
    rows.push_back(row(Opcode::WriteUpperAlarm, upper[0], upper[1], mode));
    rows.push_back(row(Opcode::WriteLowerAlarm, lower[0], lower[1], mode));
  } else {
    rows.push_back(row(Opcode::WriteUpperAlarm, 0, 0, mode));
    rows.push_back(row(Opcode::WriteLowerAlarm, 0, 0, mode));
  }
  if (s.reservation) {
    rows.push_back(row(Opcode::SetReservationDay, byteOf(s.reservation->day), 0, mode));
    rows.push_back(row(Opcode::SetReservationHour, byteOf(s.reservation->hour), 0, mode));
    rows.push_back(row(Opcode::SetReservationMinute, byteOf(s.reservation->minute), 0, mode));
    rows.push_back(row(Opcode::StartReservedRecording, toByte(s.unit), n, mode));
  } else {
    rows.push_back(row(Opcode::StartRecording, toByte(s.unit), n, mode));
  }
  appendAll(rows, queueStatusRead(mode));
  return rows;
}

QByteArray initAllBytes() {
  QByteArray bytes("INITALL");
  bytes.append(static_cast<char>(frame::kTerminator));
  return bytes;
}

}  // namespace termika::commands
