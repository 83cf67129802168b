#include "core/link/AnswerDispatcher.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/data/Conversion.h"
#include "core/data/Cp932.h"
#include "core/data/DayTime.h"
#include "core/data/Formats.h"

namespace termika {
namespace {

// A read-back clock this far from the time sent means the set did not take.
constexpr qint64 kClockToleranceSeconds = 2;

int word(std::uint8_t high, std::uint8_t low) {
  return static_cast<int>(high) * 256 + static_cast<int>(low);
}

// The clock bytes a clock write put on the wire, found in the rows of the
// same exchange; nullopt when this exchange wrote no clock.
std::optional<CivilTime> clockSent(const CommandQueue& queue) {
  std::optional<CommandRow> r1, r2, r3;
  for (int i = 0; i < queue.count(); ++i) {
    const CommandRow& row = queue.at(i);
    if (row.opcode() == Opcode::ClockWriteMonthYear) r1 = row;
    if (row.opcode() == Opcode::ClockWriteHourDay) r2 = row;
    if (row.opcode() == Opcode::ClockWriteSecondMinute) r3 = row;
  }
  if (!r1 || !r2 || !r3) return std::nullopt;
  const auto year = expandYear(r1->b3);
  if (!year) return std::nullopt;
  return CivilTime{*year, r1->b2, r2->b3, r2->b2, r3->b3, r3->b2};
}

}  // namespace

AnswerDispatcher::AnswerDispatcher(AppState& app, UserPrompts& prompts)
    : m_app(app), m_prompts(prompts), m_rawToTemperature([](int raw, int mode) {
        return static_cast<double>(rawToTemperature(raw, mode));
      }) {}

void AnswerDispatcher::setSessionHandler(SessionMode mode, SessionHandler* handler) {
  if (handler) {
    m_handlers[mode] = handler;
  } else {
    m_handlers.erase(mode);
  }
}

SessionHandler* AnswerDispatcher::sessionHandler(SessionMode mode) const {
  const auto found = m_handlers.find(mode);
  return found == m_handlers.end() ? nullptr : found->second;
}

std::optional<Answer> AnswerDispatcher::parse(std::uint8_t code, const QByteArray& raw) {
  if (raw.isEmpty() || static_cast<std::uint8_t>(raw.back()) != frame::kTerminator) {
    return std::nullopt;
  }
  if (code == toByte(Opcode::Identify)) {
    // Text, then two version bytes before the terminator.
    if (raw.size() < 3) return std::nullopt;
    return Answer{{}, raw};
  }
  const auto d = frame::decodeAnswer(raw);
  if (!d) return std::nullopt;
  // The mark tells the logger its points are safe; a point left over from a
  // stream must not pass for the logger's answer to it.
  if (code == toByte(Opcode::MarkDownloaded) && (*d)[1] != code) return std::nullopt;
  return Answer{*d, raw};
}

AnswerAction AnswerDispatcher::handleAnswer(CommandQueue& queue, const Answer& answer) {
  if (!queue.hasCurrent()) return AnswerAction::Finish;
  CommandRow& row = queue.current();
  const frame::Bytes4& d = answer.d;
  LoggerStatus& status = m_app.status;

  switch (row.opcode()) {
    case Opcode::ClockWriteSecondMinute:
      m_sinceClockWritten.start();
      break;
    case Opcode::ClockReadMonthYear:
    case Opcode::ClockReadHourDay:
    case Opcode::ClockReadSecondMinute:
      handleClock(queue, row, d);
      break;
    case Opcode::ReadRecordingFlag:
      m_app.runState = (d[2] & 0x80) ? RunState::Recording : RunState::Idle;
      break;
    case Opcode::ReadBatteryLow:
      status.batteryLow = d[2] != 0;
      break;
    case Opcode::ReadRecordingInfo:
      handleStartTime(row.b2, d);
      break;
    case Opcode::ReadState:
      m_app.runState = RunState::Idle;
      status.batteryStatus.clear();
      status.stopReason.clear();
      if (d[2] & 0x03) m_app.runState = RunState::Recording;
      if (d[2] & 0x04) m_app.runState = RunState::Reserved;
      if (d[2] & 0x08) status.batteryStatus = QStringLiteral("Error");
      if (d[2] & 0x10) status.stopReason = QStringLiteral("Stop");
      break;
    case Opcode::ReadReservationDay:
      status.reservationDay = d[2];
      break;
    case Opcode::ReadReservationHour:
      status.reservationHour = d[2];
      break;
    case Opcode::ReadReservationMinute:
      status.reservationMinute = d[2];
      break;
    case Opcode::ReadInterval:
      status.intervalSetting = intervalSeconds(d[2], d[3]);
      break;
    case Opcode::ReadUsedMemory:
      if (status.usedMemory > word(d[2], d[3])) status.usedMemory = word(d[2], d[3]);
      break;
    case Opcode::ReadNameFirstHalf:
      status.loggerName = nameCharacters(d[2], d[3]);
      break;
    case Opcode::ReadNameSecondHalf:
      status.loggerName += nameCharacters(d[2], d[3]);
      break;
    case Opcode::WriteLowerAlarm:
    case Opcode::SetRecordMode:
      if (row.mode != SessionMode::LogStart)
        m_prompts.info(m_app.modelName, m_app.texts[TextId::SettingsDone]);
      break;
    case Opcode::ReadUpperAlarm:
      handleAlarm(status.upperAlarm, d);
      break;
    case Opcode::ReadLowerAlarm:
      handleAlarm(status.lowerAlarm, d);
      break;
    case Opcode::ReadRecordMode:
      status.loopMode = d[2];
      status.memoryWrapped = d[3];
      break;
    case Opcode::ReadBatteryVoltage: {
      const double volts = word(d[2], d[3]) * 3.3 / 1023.0;
      status.batteryVoltage = volts;
      status.batteryVoltageText = fmt::fixed2(volts);
      break;
    }
    case Opcode::MarkDownloaded:
      status.pendingDownload = false;
      break;
    case Opcode::ReadDownloadState:
      status.pendingDownload = static_cast<int>(d[2]) + static_cast<int>(d[3]) == 0;
      break;
    case Opcode::Identify: {
      const qsizetype n = answer.raw.size() - 1;  // index of the terminator
      if (n >= 2) {
        const auto major = static_cast<std::uint8_t>(answer.raw.at(n - 2));
        const auto minor = static_cast<std::uint8_t>(answer.raw.at(n - 1));
        status.firmwareVersion =
            QStringLiteral("%1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0'));
      }
      break;
    }
    default:
      break;
  }

  if (SessionHandler* handler = sessionHandler(row.mode)) {
    return handler->onAnswer(queue, row, d);
  }
  return AnswerAction::Advance;
}

void AnswerDispatcher::handleClock(const CommandQueue& queue, const CommandRow& row,
                                   const frame::Bytes4& d) {
  LoggerStatus& status = m_app.status;
  auto& c = status.clockBytes;  // month, year, hour, day, second, minute
  if (row.opcode() == Opcode::ClockReadMonthYear) {
    c[0] = d[2];
    c[1] = d[3];
    return;
  }
  if (row.opcode() == Opcode::ClockReadHourDay) {
    c[2] = d[2];
    c[3] = d[3];
    return;
  }
  c[4] = d[2];
  c[5] = d[3];
  // A year the logger cannot hold gives no clock rather than a made-up one.
  const CivilTime clock{expandYear(c[1]).value_or(0), c[0], c[3], c[2], c[5], c[4]};
  status.deviceClock = toDaySerial(clock);
  if (row.mode != SessionMode::ClockSet) return;

  const QString shown =
      status.deviceClock ? fmt::dateTime(*status.deviceClock) : QStringLiteral("--");
  bool matches = status.deviceClock.has_value();
  if (const auto sent = clockSent(queue); sent && matches) {
    // The logger's clock has run on since the write was answered.
    const qint64 elapsed = m_sinceClockWritten.isValid() ? m_sinceClockWritten.elapsed() / 1000 : 0;
    const qint64 expected = secondsFromCivil(*sent) + elapsed;
    matches = std::llabs(secondsFromCivil(clock) - expected) <= kClockToleranceSeconds;
  }
  const TextId headline = matches ? TextId::SetDone : TextId::CommunicationFault;
  m_prompts.info(m_app.modelName, m_app.texts[headline] + QStringLiteral("\r\r") + shown);
}

void AnswerDispatcher::handleStartTime(std::uint8_t subAddress, const frame::Bytes4& d) {
  LoggerStatus& status = m_app.status;
  auto& b = status.startBytes;  // year, month, day, hour, minute, second
  switch (static_cast<RecordingInfo>(subAddress)) {
    case RecordingInfo::StartYearMonth:
      b[0] = d[2];
      b[1] = d[3];
      break;
    case RecordingInfo::StartDayHour:
      b[2] = d[2];
      b[3] = d[3];
      break;
    case RecordingInfo::StartMinuteSecond: {
      b[4] = d[2];
      b[5] = d[3];
      status.recordingStart = packedDecimalTime(b);
      break;
    }
    case RecordingInfo::UsedMemory:
      status.usedMemory = word(d[2], d[3]);
      break;
    case RecordingInfo::RecordedInterval:
      status.recordedIntervalUnit = d[2];
      status.recordedIntervalValue = d[3];
      status.recordedInterval = intervalSeconds(d[2], d[3]);
      break;
    default:
      break;
  }
}

void AnswerDispatcher::handleAlarm(AlarmSetting& alarm, const frame::Bytes4& d) {
  alarm.enabled = static_cast<std::uint8_t>(d[2] & 0x80);
  alarm.rawLimit = word(static_cast<std::uint8_t>(d[2] & 0x7F), d[3]);
  if (!m_rawToTemperature) return;
  const double t =
      std::nearbyint(m_rawToTemperature(alarm.rawLimit, m_app.status.recordedInterval));
  if (std::isfinite(t) && t >= std::numeric_limits<std::int16_t>::min() &&
      t <= std::numeric_limits<std::int16_t>::max()) {
    alarm.limit = static_cast<std::int16_t>(t);
  }
}

QString AnswerDispatcher::nameCharacters(std::uint8_t first, std::uint8_t second) const {
  if (first < 1 || second < 1) return {};
  return cp932::decode(QByteArray(1, static_cast<char>(first))) +
         cp932::decode(QByteArray(1, static_cast<char>(second)));
}

}  // namespace termika
