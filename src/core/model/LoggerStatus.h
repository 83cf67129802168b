#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "core/data/DataSet.h"

namespace termika {

// What the connected logger last told about itself. The status panel shows
// this record; it is never the description of a held data set (a download
// copies what it needs into the log set when it starts).
struct LoggerStatus {
  QString loggerName;       // identification name, up to 4 characters
  QString firmwareVersion;  // "1.05"; empty until read
  QString batteryStatus;    // "Error" on a battery fault
  QString stopReason;       // "Stop" when recording ended on low voltage
  bool batteryLow = false;  // answer to code 16

  // Recording start: packed-decimal bytes year..second and the resulting time.
  std::array<std::uint8_t, 6> startBytes{};
  std::optional<double> recordingStart;  // day serial

  std::int64_t usedMemory = 0;            // bytes of point data
  std::uint8_t recordedIntervalUnit = 0;  // unit byte as received (IntervalUnit)
  std::uint8_t recordedIntervalValue = 0;
  std::int32_t recordedInterval = 0;  // seconds, from code 23/18
  std::int32_t intervalSetting = 0;   // seconds, from code 37

  std::uint8_t reservationDay = 0;
  std::uint8_t reservationHour = 0;
  std::uint8_t reservationMinute = 0;

  std::uint8_t loopMode = 0;       // code 50 d2, non-zero = loop
  std::uint8_t memoryWrapped = 0;  // code 50 d3, counts wraps

  std::optional<double> batteryVoltage;  // volts; nullopt = unknown
  QString batteryVoltageText;            // "0.00"

  // Device clock from codes 4..6, bytes as plain numbers.
  std::array<std::uint8_t, 6> clockBytes{};  // month, year, hour, day, second, minute
  std::optional<double> deviceClock;

  AlarmSetting upperAlarm;
  AlarmSetting lowerAlarm;
  bool pendingDownload = false;  // code 57: points never downloaded

  bool wrapped() const { return loopMode != 0 && memoryWrapped != 0; }
  // Points are used bytes div 4 everywhere.
  std::int64_t recordedPoints() const { return usedMemory / 4; }
};

}  // namespace termika
