#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <deque>
#include <optional>
#include <vector>

#include "core/link/Frame.h"
#include "core/link/Protocol.h"
#include "sim/LoggerMemory.h"
#include "sim/SensorModel.h"
#include "sim/SimFaults.h"
#include "sim/SimScenario.h"

namespace termika {

// Bytes the logger sends, due at a virtual time.
struct SimChunk {
  qint64 atMs = 0;
  QByteArray bytes;
  bool streamed = false;  // part of a fast download's stream
};

// A logger without hardware: bytes the program writes go in, timed answer
// bytes come out. Time is virtual (milliseconds from 0, moved on by the
// caller), so tests run as fast as they like and the pty server simply maps
// it onto real time. The logger's own calendar runs along with it.
class SimulatedLogger final {
 public:
  explicit SimulatedLogger(SimScenario scenario);

  // Bytes the program wrote, in any split.
  void receive(const QByteArray& bytes);
  // Moves virtual time on (never back); recording and reservations happen here.
  void advanceTo(qint64 nowMs);
  qint64 now() const { return m_nowMs; }
  // Answers whose delivery time has come, oldest first.
  std::vector<SimChunk> takeOutputUntil(qint64 nowMs);
  std::optional<qint64> nextOutputAt() const;
  // The port has vanished (unplug fault); nothing goes in or out any more.
  bool unplugged() const { return m_unplugged; }
  void unplug();

  SimFaults& faults() { return m_faults; }
  const SimFaults& faults() const { return m_faults; }

  // State, for tests and the trace.
  RecordingState recordingState() const { return m_state; }
  RecordMode recordMode() const { return m_recordMode; }
  qint64 calendarSeconds() const;
  QByteArray loggerName() const { return m_name; }
  bool lowResolution() const { return m_lowResolution; }
  bool downloaded() const { return m_downloaded; }
  const LoggerMemory& memory() const { return m_memory; }
  SimAlarm upperAlarm() const { return m_upper; }
  SimAlarm lowerAlarm() const { return m_lower; }
  int recordedIntervalSeconds() const;

  // The points a complete download returns: in the order the logger sends
  // them (memory address 0 upwards) and oldest first.
  std::vector<SimPoint> expectedDownload() const;
  std::vector<SimPoint> expectedTimeOrder() const;

 private:
  void handleFrame(const QByteArray& frame);
  void arm(const QByteArray& frame);
  void handleRequest(const QByteArray& frame);
  // The answer to one well-formed command; nullopt when the logger does not
  // know the command or its parameters (it then rejects it).
  std::optional<frame::Bytes4> execute(const frame::Bytes4& command);
  // One family of opcodes each, as execute() routes them.
  std::optional<frame::Bytes4> clockCommand(Opcode op, std::uint8_t b2, std::uint8_t b3);
  std::optional<frame::Bytes4> recordingCommand(Opcode op, std::uint8_t b2, std::uint8_t b3);
  std::optional<frame::Bytes4> reservationCommand(Opcode op, std::uint8_t b2);
  std::optional<frame::Bytes4> sensorCommand(Opcode op, std::uint8_t b2);
  std::optional<frame::Bytes4> memoryCommand(Opcode op, std::uint8_t b2, std::uint8_t b3);
  std::optional<frame::Bytes4> recordingInfo(RecordingInfo item) const;
  std::optional<frame::Bytes4> nameCommand(Opcode op, std::uint8_t b2, std::uint8_t b3);
  std::optional<frame::Bytes4> alarmCommand(Opcode op, std::uint8_t b2, std::uint8_t b3);
  void streamPoints(int byteCount);
  void schedule(QByteArray answer, qint64 extraDelayMs = 0, bool streamed = false);
  void setCalendar(qint64 seconds);
  bool setClockFields(std::uint8_t code, std::uint8_t b2, std::uint8_t b3);
  void startRecording(qint64 startSeconds);
  void scheduleReservation();
  void catchUp();
  bool batteryLow() const;
  bool isAlarmModel() const;

  SimScenario m_scenario;
  SimFaults m_faults;
  SensorModel m_sensor;
  LoggerMemory m_memory;

  qint64 m_nowMs = 0;
  qint64 m_clockBaseSeconds = 0;
  qint64 m_clockBaseMs = 0;

  QByteArray m_name;
  RecordingState m_state = RecordingState::Idle;
  RecordMode m_recordMode = RecordMode::OneTime;
  IntervalUnit m_intervalUnit = IntervalUnit::Minutes;
  std::uint8_t m_intervalValue = 10;
  IntervalUnit m_recordUnit = IntervalUnit::Minutes;  // of the recording in memory
  std::uint8_t m_recordValue = 10;
  bool m_lowResolution = false;
  SimAlarm m_upper;
  SimAlarm m_lower;
  std::uint8_t m_reserveDay = 1;
  std::uint8_t m_reserveHour = 0;
  std::uint8_t m_reserveMinute = 0;
  qint64 m_reservedStart = 0;
  qint64 m_nextPointSeconds = 0;
  bool m_downloaded = false;

  QByteArray m_inbox;
  std::deque<SimChunk> m_pending;
  double m_lineFreeMs = 0;
  bool m_unplugged = false;
  qint64 m_requests = 0;   // since the faults were armed
  int m_armCountdown = 0;  // matching requests still to let through
  bool m_armed = false;
};

}  // namespace termika
