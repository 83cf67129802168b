#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/base/Result.h"
#include "core/data/LoggerModel.h"
#include "core/link/Protocol.h"
#include "sim/SensorModel.h"
#include "sim/SimFaults.h"

namespace termika {

enum class RecordingState { Idle, Recording, Reserved, StoppedLowVoltage };
enum class RecordMode { OneTime, Loop };

// One uninterrupted run of points: when it started and how many it holds.
struct SimBlock {
  qint64 startSeconds = 0;  // calendar seconds since 1899-12-30
  int points = 0;
};

struct SimAlarm {
  int rawLimit = 0;  // sensor count, 15 bits
  bool on = false;
};

// Everything that fixes a simulated logger's state at time zero, and with it
// every point a download will return.
struct SimScenario {
  QString name;
  QString model = kModelWithoutAlarms;
  std::uint8_t firmwareMajor = 1;
  std::uint8_t firmwareMinor = 5;
  QByteArray loggerName = "    ";  // four characters
  qint64 clockSeconds = 0;         // the logger's calendar at virtual time 0
  RecordingState state = RecordingState::Idle;
  RecordMode recordMode = RecordMode::OneTime;
  IntervalUnit intervalUnit = IntervalUnit::Minutes;
  std::uint8_t intervalValue = 10;
  bool lowResolution = false;
  SimAlarm upperAlarm;
  SimAlarm lowerAlarm;
  int batteryCount = 930;  // about 3.0 V
  bool batteryFault = false;
  std::uint8_t reserveDay = 0;
  std::uint8_t reserveHour = 0;
  std::uint8_t reserveMinute = 0;
  bool downloaded = false;
  // The current recording's runs, oldest first; their points add up to every
  // point ever written (more than 15000 when a loop recording has wrapped).
  std::vector<SimBlock> blocks;
  // The entry the logger keeps after the current recording's entries.
  std::optional<qint64> olderEntrySeconds;
  bool erasedHeader = false;  // header left at 0xFF: no entry written at all
  SensorParams sensor;
  // Raw counts of the first points ever written, (temperature, humidity);
  // the sensor model supplies any further ones.
  std::vector<std::array<int, 2>> explicitPoints;
  SimFaults faults;

  int intervalSeconds() const {
    return intervalUnit == IntervalUnit::Minutes ? intervalValue * 60 : intervalValue;
  }
};

// Reads a scenario from JSON text; the error names the file's fault.
Result<SimScenario> parseScenario(const QByteArray& json);
Result<SimScenario> loadScenario(const QString& path);

// "2026-12-06 10:00:00" as calendar seconds; nullopt when malformed.
std::optional<qint64> parseCalendarTime(const QString& text);

}  // namespace termika
