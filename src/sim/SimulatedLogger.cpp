#include "sim/SimulatedLogger.h"

#include <algorithm>
#include <cmath>

#include "core/base/PackedDecimal.h"
#include "core/data/DayTime.h"
#include "core/data/LoggerModel.h"

namespace termika {
namespace {

using frame::Bytes4;

constexpr int kInboxLimit = 64;      // far more than a frame; a burst beyond it is junk
constexpr int kOverlongBytes = 120;  // longer than the program's 101-byte buffer
// Stray bytes: never the terminator, never the rejection mark.
constexpr int kNoiseByte = 0x3C;

qint64 floorDiv(qint64 a, qint64 b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

QByteArray rejection() { return QByteArray("\xEE\xFF", 2); }

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// The four bytes of a request: its last eight bytes before the terminator,
// anything in front being line noise. nullopt for a cut or garbled frame.
std::optional<Bytes4> decodeRequest(const QByteArray& frame) {
  if (frame.size() < 8) return std::nullopt;
  QByteArray framed = frame.right(8);
  framed.append(static_cast<char>(frame::kTerminator));
  return frame::decodeAnswer(framed);
}

std::uint8_t high(int value) { return static_cast<std::uint8_t>((value >> 8) & 0xFF); }
std::uint8_t low(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

// An answer to `op` carrying d2 and d3.
Bytes4 reply(Opcode op, int d2, int d3) {
  return Bytes4{1, toByte(op), static_cast<std::uint8_t>(d2), static_cast<std::uint8_t>(d3)};
}

}  // namespace

SimulatedLogger::SimulatedLogger(SimScenario scenario)
    : m_scenario(std::move(scenario)),
      m_faults(m_scenario.faults),
      m_sensor(m_scenario.sensor),
      m_clockBaseSeconds(m_scenario.clockSeconds),
      m_name(m_scenario.loggerName.leftJustified(4, ' ', true)),
      m_state(m_scenario.state),
      m_recordMode(m_scenario.recordMode),
      m_intervalUnit(m_scenario.intervalUnit),
      m_intervalValue(m_scenario.intervalValue),
      m_recordUnit(m_scenario.intervalUnit),
      m_recordValue(m_scenario.intervalValue),
      m_lowResolution(m_scenario.lowResolution),
      m_upper(m_scenario.upperAlarm),
      m_lower(m_scenario.lowerAlarm),
      m_reserveDay(m_scenario.reserveDay),
      m_reserveHour(m_scenario.reserveHour),
      m_reserveMinute(m_scenario.reserveMinute),
      m_downloaded(m_scenario.downloaded) {
  m_armCountdown = std::max(0, m_faults.armAfter);
  m_armed = m_faults.armOnCode < 0 && m_armCountdown == 0;
  // Lay down the recording the scenario describes. Of a loop recording that
  // has wrapped many times only the last 15000 points are still in memory,
  // so older ones are not worth asking the sensor for.
  m_memory.setMode(m_recordMode);
  const int interval = recordedIntervalSeconds();
  qint64 total = 0;
  for (const SimBlock& b : m_scenario.blocks) total += b.points;
  const qint64 firstKept = std::max<qint64>(0, total - LoggerMemory::kPoints);
  qint64 g = 0;
  for (const SimBlock& b : m_scenario.blocks) {
    m_memory.startBlock(b.startSeconds);
    for (int k = 0; k < b.points; ++k, ++g) {
      std::array<std::uint8_t, 4> raw{};
      if (g < static_cast<qint64>(m_scenario.explicitPoints.size())) {
        const auto& p = m_scenario.explicitPoints[static_cast<size_t>(g)];
        raw = {high(p[0]), low(p[0]), high(p[1]), low(p[1])};
      } else if (g >= firstKept) {
        raw = m_sensor.rawAt(b.startSeconds + qint64{k} * interval, m_lowResolution);
      }
      m_memory.append(raw);
    }
  }
  if (!m_scenario.blocks.empty()) {
    m_memory.setOlderEntry(m_scenario.olderEntrySeconds.value_or(
        m_scenario.blocks.front().startSeconds - qint64{30} * 86400));
    const SimBlock& last = m_scenario.blocks.back();
    m_nextPointSeconds = last.startSeconds + qint64{last.points} * interval;
  } else {
    m_memory.setOlderEntry(m_scenario.olderEntrySeconds);
  }
  m_memory.setHeaderErased(m_scenario.erasedHeader);
  if (m_state == RecordingState::Recording && m_memory.full()) m_state = RecordingState::Idle;
  if (m_state == RecordingState::Reserved) scheduleReservation();
  catchUp();
}

qint64 SimulatedLogger::calendarSeconds() const {
  return m_clockBaseSeconds + floorDiv(m_nowMs - m_clockBaseMs, 1000);
}

int SimulatedLogger::recordedIntervalSeconds() const {
  return m_recordUnit == IntervalUnit::Minutes ? m_recordValue * 60 : m_recordValue;
}

std::vector<SimPoint> SimulatedLogger::expectedDownload() const {
  return m_memory.pointsInAddressOrder(recordedIntervalSeconds());
}

std::vector<SimPoint> SimulatedLogger::expectedTimeOrder() const {
  return m_memory.pointsInTimeOrder(recordedIntervalSeconds());
}

void SimulatedLogger::unplug() {
  m_unplugged = true;
  m_pending.clear();
  m_inbox.clear();
}

void SimulatedLogger::advanceTo(qint64 nowMs) {
  if (nowMs <= m_nowMs) return;
  m_nowMs = nowMs;
  catchUp();
}

void SimulatedLogger::catchUp() {
  const qint64 nowSeconds = calendarSeconds();
  if (m_state == RecordingState::Reserved && m_reservedStart <= nowSeconds) {
    startRecording(m_reservedStart);
  }
  if (m_state != RecordingState::Recording) return;
  const int interval = recordedIntervalSeconds();
  while (m_nextPointSeconds <= nowSeconds) {
    if (m_memory.full()) {
      // A one-time recording ends when the memory is full.
      m_state = RecordingState::Idle;
      return;
    }
    m_memory.append(m_sensor.rawAt(m_nextPointSeconds, m_lowResolution));
    m_nextPointSeconds += interval;
  }
  if (m_memory.full()) m_state = RecordingState::Idle;
}

void SimulatedLogger::setCalendar(qint64 seconds) {
  m_clockBaseSeconds = seconds;
  m_clockBaseMs = m_nowMs;
  if (m_state == RecordingState::Recording) {
    // The run so far keeps its times; points after the jump form a new block
    // starting at the new time, as the header can only describe even runs.
    m_memory.startBlock(seconds);
    m_nextPointSeconds = seconds;
  }
  if (m_state == RecordingState::Reserved) scheduleReservation();
}

bool SimulatedLogger::setClockFields(std::uint8_t code, std::uint8_t b2, std::uint8_t b3) {
  CivilTime t = civilFromSeconds(calendarSeconds());
  switch (static_cast<Opcode>(code)) {
    case Opcode::ClockWriteMonthYear:
      if (b2 < 1 || b2 > 12 || b3 > 99) return false;
      t.month = b2;
      t.year = 2000 + b3;
      break;
    case Opcode::ClockWriteHourDay:
      if (b2 > 23 || b3 < 1 || b3 > 31) return false;
      t.hour = b2;
      t.day = b3;
      break;
    default:  // ClockWriteSecondMinute
      if (b2 > 59 || b3 > 59) return false;
      t.second = b2;
      t.minute = b3;
      break;
  }
  // The fields arrive in three frames; a day that the month does not have
  // yet (31 before the month is set) is held at the month's last day.
  t.day = std::min(t.day, daysInMonth(t.year, t.month));
  setCalendar(secondsFromCivil(t));
  return true;
}

void SimulatedLogger::startRecording(qint64 startSeconds) {
  m_memory.startRecording(startSeconds, m_recordMode);
  m_recordUnit = m_intervalUnit;
  m_recordValue = m_intervalValue;
  m_nextPointSeconds = startSeconds;
  m_downloaded = false;
  m_state = RecordingState::Recording;
}

void SimulatedLogger::scheduleReservation() {
  // The next time the calendar shows the reserved day, hour and minute.
  const qint64 now = calendarSeconds();
  for (int k = 0; k < 400; ++k) {
    CivilTime t = civilFromSeconds(now + qint64{k} * 86400);
    if (t.day != m_reserveDay) continue;
    t.hour = m_reserveHour;
    t.minute = m_reserveMinute;
    t.second = 0;
    const qint64 at = secondsFromCivil(t);
    if (at >= now) {
      m_reservedStart = at;
      return;
    }
  }
  m_reservedStart = now;
}

bool SimulatedLogger::batteryLow() const {
  return m_scenario.batteryFault || m_scenario.batteryCount * 3.3 / 1023.0 < 2.5;
}

bool SimulatedLogger::isAlarmModel() const { return hasAlarms(m_scenario.model); }

void SimulatedLogger::receive(const QByteArray& bytes) {
  if (m_unplugged) return;
  for (const char c : bytes) {
    if (static_cast<std::uint8_t>(c) != frame::kTerminator) {
      m_inbox.append(c);
      // A burst without a terminator is junk; only its tail can still belong
      // to a frame, so the front is dropped instead of growing without end.
      if (m_inbox.size() > kInboxLimit) m_inbox = m_inbox.right(16);
      continue;
    }
    const QByteArray frame = m_inbox;
    m_inbox.clear();
    handleFrame(frame);
    if (m_unplugged) return;
  }
}

// Frames are read the way the program reads answers: the last eight bytes
// before the terminator are the four pairs, anything in front is line noise.
// Fewer than eight bytes is a cut frame and is ignored (the program's
// time-out resends it). Eight bytes that are no valid pairs, a first byte
// other than 1 or an unknown command code are answered with the rejection
// 0xEE 0xFF, which the program resends up to ten times.
void SimulatedLogger::handleFrame(const QByteArray& frame) {
  catchUp();
  if (!m_armed) arm(frame);
  if (!m_armed) {
    handleRequest(frame);
    return;
  }
  ++m_requests;
  if (m_faults.unplugAfterRequests >= 0 && m_requests > m_faults.unplugAfterRequests) {
    unplug();
    return;
  }
  if (m_faults.silentRequests > 0) {
    --m_faults.silentRequests;
    return;
  }
  if (frame.size() >= 8 && !frame.endsWith("INITALL") && m_faults.rejectedRequests > 0) {
    --m_faults.rejectedRequests;
    schedule(rejection());
    return;
  }
  handleRequest(frame);
}

void SimulatedLogger::arm(const QByteArray& frame) {
  if (m_faults.armOnCode >= 0) {
    const std::optional<Bytes4> command = decodeRequest(frame);
    if (!command || (*command)[1] != m_faults.armOnCode) return;
  }
  if (m_armCountdown > 0) {
    --m_armCountdown;
    return;
  }
  m_armed = true;
}

void SimulatedLogger::handleRequest(const QByteArray& frame) {
  if (frame.endsWith("INITALL")) {
    // Initialise everything: recording stopped, memory and header erased.
    // The command has no answer.
    m_state = RecordingState::Idle;
    m_memory.clear();
    m_memory.setOlderEntry(std::nullopt);
    m_downloaded = false;
    return;
  }
  if (frame.size() < 8) return;
  const std::optional<Bytes4> command = decodeRequest(frame);
  if (!command || (*command)[0] != 1) {
    schedule(rejection());
    return;
  }
  const std::uint8_t code = (*command)[1];
  if (code == toByte(Opcode::Identify)) {
    QByteArray answer = m_scenario.model.toLatin1();
    answer.append(static_cast<char>(m_scenario.firmwareMajor));
    answer.append(static_cast<char>(m_scenario.firmwareMinor));
    answer.append(static_cast<char>(frame::kTerminator));
    schedule(answer, m_faults.probeDelayMs);
    return;
  }
  if (code == toByte(Opcode::StreamMemory)) {
    streamPoints((*command)[2] * 256 + (*command)[3]);
    return;
  }
  const std::optional<Bytes4> answer = execute(*command);
  schedule(answer ? frame::encode(*answer) : rejection());
}

std::optional<Bytes4> SimulatedLogger::execute(const Bytes4& command) {
  const auto op = static_cast<Opcode>(command[1]);
  const std::uint8_t b2 = command[2];
  const std::uint8_t b3 = command[3];
  switch (op) {
    case Opcode::ClockWriteMonthYear:
    case Opcode::ClockWriteHourDay:
    case Opcode::ClockWriteSecondMinute:
    case Opcode::ClockReadMonthYear:
    case Opcode::ClockReadHourDay:
    case Opcode::ClockReadSecondMinute:
      return clockCommand(op, b2, b3);
    case Opcode::StartRecording:
    case Opcode::StartReservedRecording:
    case Opcode::StopRecording:
    case Opcode::ReadRecordingFlag:
    case Opcode::ReadState:
    case Opcode::ReadInterval:
    case Opcode::SetRecordMode:
    case Opcode::ReadRecordMode:
      return recordingCommand(op, b2, b3);
    case Opcode::SetReservationDay:
    case Opcode::SetReservationHour:
    case Opcode::SetReservationMinute:
    case Opcode::ReadReservationDay:
    case Opcode::ReadReservationHour:
    case Opcode::ReadReservationMinute:
      return reservationCommand(op, b2);
    case Opcode::ReadHumidity:
    case Opcode::ReadTemperature:
    case Opcode::SetResolution:
    case Opcode::ReadBatteryLow:
    case Opcode::ReadBatteryVoltage:
      return sensorCommand(op, b2);
    case Opcode::ReadMemory:
    case Opcode::ReadRecordingInfo:
    case Opcode::ReadUsedMemory:
    case Opcode::MarkDownloaded:
    case Opcode::ReadDownloadState:
    case Opcode::Unnamed87:
      return memoryCommand(op, b2, b3);
    case Opcode::WriteNameFirstHalf:
    case Opcode::WriteNameSecondHalf:
    case Opcode::ReadNameFirstHalf:
    case Opcode::ReadNameSecondHalf:
      return nameCommand(op, b2, b3);
    case Opcode::WriteUpperAlarm:
    case Opcode::WriteLowerAlarm:
    case Opcode::ReadUpperAlarm:
    case Opcode::ReadLowerAlarm:
      return alarmCommand(op, b2, b3);
    default:
      return std::nullopt;
  }
}

std::optional<Bytes4> SimulatedLogger::clockCommand(Opcode op, std::uint8_t b2, std::uint8_t b3) {
  const CivilTime clock = civilFromSeconds(calendarSeconds());
  switch (op) {
    case Opcode::ClockReadMonthYear:
      return reply(op, clock.month, clock.year % 100);
    case Opcode::ClockReadHourDay:
      return reply(op, clock.hour, clock.day);
    case Opcode::ClockReadSecondMinute:
      return reply(op, clock.second, clock.minute);
    default:
      if (!setClockFields(toByte(op), b2, b3)) return std::nullopt;
      return reply(op, 0, 0);
  }
}

std::optional<Bytes4> SimulatedLogger::recordingCommand(Opcode op, std::uint8_t b2,
                                                        std::uint8_t b3) {
  switch (op) {
    case Opcode::StartRecording:
    case Opcode::StartReservedRecording:
      if ((b2 != toByte(IntervalUnit::Seconds) && b2 != toByte(IntervalUnit::Minutes)) || b3 == 0) {
        return std::nullopt;
      }
      m_intervalUnit = static_cast<IntervalUnit>(b2);
      m_intervalValue = b3;
      if (op == Opcode::StartRecording) {
        startRecording(calendarSeconds());
        catchUp();  // the first point is taken at once
      } else {
        m_state = RecordingState::Reserved;
        scheduleReservation();
      }
      return reply(op, 0, 0);
    case Opcode::StopRecording:
      if (m_state == RecordingState::Recording || m_state == RecordingState::Reserved) {
        m_state = RecordingState::Idle;
      }
      return reply(op, 0, 0);
    case Opcode::ReadRecordingFlag:
      return reply(op, m_state == RecordingState::Recording ? 0x80 : 0, 0);
    case Opcode::ReadState: {
      int bits = 0;
      if (m_state == RecordingState::Recording) bits |= 1;
      if (m_state == RecordingState::Reserved) bits |= 4;
      if (m_scenario.batteryFault) bits |= 8;
      if (m_state == RecordingState::StoppedLowVoltage) bits |= 16;
      return reply(op, bits, 0);
    }
    case Opcode::ReadInterval:
      return reply(op, toByte(m_intervalUnit), m_intervalValue);
    case Opcode::SetRecordMode:
      m_recordMode = b2 != 0 ? RecordMode::Loop : RecordMode::OneTime;
      return reply(op, 0, 0);
    default:  // ReadRecordMode
      return reply(op, m_recordMode == RecordMode::Loop ? 1 : 0, m_memory.wraps());
  }
}

std::optional<Bytes4> SimulatedLogger::reservationCommand(Opcode op, std::uint8_t b2) {
  switch (op) {
    case Opcode::SetReservationDay:
      if (b2 < 1 || b2 > 31) return std::nullopt;
      m_reserveDay = b2;
      return reply(op, 0, 0);
    case Opcode::SetReservationHour:
      if (b2 > 23) return std::nullopt;
      m_reserveHour = b2;
      return reply(op, 0, 0);
    case Opcode::SetReservationMinute:
      if (b2 > 59) return std::nullopt;
      m_reserveMinute = b2;
      return reply(op, 0, 0);
    case Opcode::ReadReservationDay:
      return reply(op, m_reserveDay, 0);
    case Opcode::ReadReservationHour:
      return reply(op, m_reserveHour, 0);
    default:  // ReadReservationMinute
      return reply(op, m_reserveMinute, 0);
  }
}

std::optional<Bytes4> SimulatedLogger::sensorCommand(Opcode op, std::uint8_t b2) {
  switch (op) {
    case Opcode::ReadHumidity:
    case Opcode::ReadTemperature: {
      const auto raw = m_sensor.rawAt(calendarSeconds(), m_lowResolution);
      return op == Opcode::ReadTemperature ? reply(op, raw[0], raw[1]) : reply(op, raw[2], raw[3]);
    }
    case Opcode::SetResolution:
      m_lowResolution = b2 != 0;
      return reply(op, 0, 0);
    case Opcode::ReadBatteryLow:
      return reply(op, batteryLow() ? 1 : 0, 0);
    default:  // ReadBatteryVoltage
      return reply(op, high(m_scenario.batteryCount), low(m_scenario.batteryCount));
  }
}

std::optional<Bytes4> SimulatedLogger::memoryCommand(Opcode op, std::uint8_t b2, std::uint8_t b3) {
  switch (op) {
    case Opcode::ReadMemory: {
      const int address = b2 * 256 + b3;
      Bytes4 out{};
      for (int i = 0; i < 4; ++i) out[static_cast<size_t>(i)] = m_memory.byteAt(address + i);
      return out;
    }
    case Opcode::ReadRecordingInfo:
      return recordingInfo(static_cast<RecordingInfo>(b2));
    case Opcode::ReadUsedMemory:
      return reply(op, high(m_memory.usedBytes()), low(m_memory.usedBytes()));
    case Opcode::MarkDownloaded:
      m_downloaded = true;
      return reply(op, 0, 0);
    case Opcode::ReadDownloadState:
      return reply(op, m_downloaded ? 1 : 0, m_downloaded ? 1 : 0);
    default:  // Unnamed87
      return reply(op, 0, 0);
  }
}

std::optional<Bytes4> SimulatedLogger::recordingInfo(RecordingInfo item) const {
  constexpr Opcode op = Opcode::ReadRecordingInfo;
  const std::optional<qint64> start = m_memory.recordingStart();
  const CivilTime s = start ? civilFromSeconds(*start) : CivilTime{2000, 0, 0, 0, 0, 0};
  auto packed = [](int v) { return toPackedDecimal(v); };
  switch (item) {
    case RecordingInfo::StartYearMonth:
      return start ? reply(op, packed(s.year % 100), packed(s.month)) : reply(op, 0, 0);
    case RecordingInfo::StartDayHour:
      return start ? reply(op, packed(s.day), packed(s.hour)) : reply(op, 0, 0);
    case RecordingInfo::StartMinuteSecond:
      return start ? reply(op, packed(s.minute), packed(s.second)) : reply(op, 0, 0);
    case RecordingInfo::UsedMemory:
      return reply(op, high(m_memory.usedBytes()), low(m_memory.usedBytes()));
    case RecordingInfo::RecordedInterval:
      return reply(op, toByte(m_recordUnit), m_recordValue);
    default:
      return std::nullopt;
  }
}

std::optional<Bytes4> SimulatedLogger::nameCommand(Opcode op, std::uint8_t b2, std::uint8_t b3) {
  switch (op) {
    case Opcode::WriteNameFirstHalf:
    case Opcode::WriteNameSecondHalf: {
      const int at = op == Opcode::WriteNameFirstHalf ? 0 : 2;
      m_name[at] = static_cast<char>(b2);
      m_name[at + 1] = static_cast<char>(b3);
      return reply(op, 0, 0);
    }
    case Opcode::ReadNameFirstHalf:
      return reply(op, static_cast<std::uint8_t>(m_name[0]), static_cast<std::uint8_t>(m_name[1]));
    default:  // ReadNameSecondHalf
      return reply(op, static_cast<std::uint8_t>(m_name[2]), static_cast<std::uint8_t>(m_name[3]));
  }
}

std::optional<Bytes4> SimulatedLogger::alarmCommand(Opcode op, std::uint8_t b2, std::uint8_t b3) {
  switch (op) {
    case Opcode::WriteUpperAlarm:
    case Opcode::WriteLowerAlarm:
      // Only the alarm model keeps limits; the other takes the command and
      // forgets it, so the program's fixed zero limits do no harm.
      if (isAlarmModel()) {
        SimAlarm& alarm = op == Opcode::WriteUpperAlarm ? m_upper : m_lower;
        alarm.on = (b2 & 0x80) != 0;
        alarm.rawLimit = (b2 & 0x7F) * 256 + b3;
      }
      return reply(op, 0, 0);
    default: {  // ReadUpperAlarm, ReadLowerAlarm
      if (!isAlarmModel()) return reply(op, 0, 0);
      const SimAlarm& alarm = op == Opcode::ReadUpperAlarm ? m_upper : m_lower;
      return reply(op, ((alarm.rawLimit >> 8) & 0x7F) | (alarm.on ? 0x80 : 0),
                   alarm.rawLimit & 0xFF);
    }
  }
}

void SimulatedLogger::streamPoints(int byteCount) {
  // Every request starts the stream again from address 0: what is left of
  // an earlier stream never goes out.
  std::erase_if(m_pending, [](const SimChunk& c) { return c.streamed; });
  m_lineFreeMs =
      static_cast<double>(std::max<qint64>(m_nowMs, m_pending.empty() ? 0 : m_pending.back().atMs));
  // One memory answer per point; the logger neither acknowledges the
  // request nor waits for anything between points.
  int points = std::min(byteCount, LoggerMemory::kPointBytes) / 4;
  if (m_armed && m_faults.stallAfterPoints >= 0)
    points = std::min(points, m_faults.stallAfterPoints);
  const int rejectAt = m_armed ? m_faults.rejectStreamAfterPoints : -1;
  const bool rejected = rejectAt >= 0 && rejectAt < points;
  if (rejected) {
    points = rejectAt;
    m_faults.rejectStreamAfterPoints = -1;
  }
  for (int p = 0; p < points; ++p) {
    Bytes4 out{};
    for (int i = 0; i < 4; ++i) out[static_cast<size_t>(i)] = m_memory.byteAt(p * 4 + i);
    schedule(frame::encode(out), 0, true);
  }
  if (rejected) schedule(rejection(), 0, true);
}

void SimulatedLogger::schedule(QByteArray answer, qint64 extraDelayMs, bool streamed) {
  if (m_armed && m_faults.overlongAnswers > 0) {
    --m_faults.overlongAnswers;
    answer = QByteArray(kOverlongBytes, static_cast<char>(0x5A));
  }
  if (m_armed && m_faults.noiseBytes > 0) {
    QByteArray noise;
    for (int i = 0; i < m_faults.noiseBytes; ++i)
      noise.append(static_cast<char>(kNoiseByte + i % 7));
    answer.prepend(noise);
  }
  const double ready = static_cast<double>(m_nowMs + m_faults.latencyMs + extraDelayMs);
  double at = std::max(ready, m_lineFreeMs);
  if (m_faults.paced && m_faults.baud > 0) {
    // 8 data bits with a start and a stop bit.
    at += static_cast<double>(answer.size()) * 10.0 * 1000.0 / m_faults.baud;
  }
  m_lineFreeMs = at;
  const auto atMs = static_cast<qint64>(std::ceil(at - 1e-9));
  m_pending.push_back({atMs, std::move(answer), streamed});
}

std::vector<SimChunk> SimulatedLogger::takeOutputUntil(qint64 nowMs) {
  std::vector<SimChunk> out;
  while (!m_pending.empty() && m_pending.front().atMs <= nowMs) {
    if (!out.empty() && out.back().atMs == m_pending.front().atMs) {
      out.back().bytes.append(m_pending.front().bytes);
    } else {
      out.push_back(std::move(m_pending.front()));
    }
    m_pending.pop_front();
  }
  return out;
}

std::optional<qint64> SimulatedLogger::nextOutputAt() const {
  if (m_pending.empty()) return std::nullopt;
  return m_pending.front().atMs;
}

}  // namespace termika
