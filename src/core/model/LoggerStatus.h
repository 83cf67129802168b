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
  QString LoggerName;       // identification name, up to 4 characters
  QString FirmwareVersion;  // "1.05"; empty until read
  QString BatteryStatus;    // "Error" on a battery fault
  QString StopReason;       // "Stop" when recording ended on low voltage
  bool BatteryLow = false;  // answer to code 16

  // Recording start: packed-decimal bytes year..second and the resulting time.
  std::array<std::uint8_t, 6> StartBytes{};
  std::optional<double> RecordingStart;  // day serial

  std::int64_t UsedMemory = 0;            // bytes of point data
  std::uint8_t RecordedIntervalUnit = 0;  // unit byte as received (IntervalUnit)
  std::uint8_t RecordedIntervalValue = 0;
  std::int32_t RecordedInterval = 0;  // seconds, from code 23/18
  std::int32_t IntervalSetting = 0;   // seconds, from code 37

  std::uint8_t ReservationDay = 0;
  std::uint8_t ReservationHour = 0;
  std::uint8_t ReservationMinute = 0;

  std::uint8_t LoopMode = 0;       // code 50 d2, non-zero = loop
  std::uint8_t MemoryWrapped = 0;  // code 50 d3, counts wraps

  std::optional<double> BatteryVoltage;  // volts; nullopt = unknown
  QString BatteryVoltageText;            // "0.00"

  // Device clock from codes 4..6, bytes as plain numbers.
  std::array<std::uint8_t, 6> ClockBytes{};  // month, year, hour, day, second, minute
  std::optional<double> DeviceClock;

  AlarmSetting UpperAlarm;
  AlarmSetting LowerAlarm;
  bool PendingDownload = false;  // code 57: points never downloaded

  bool wrapped() const { return LoopMode != 0 && MemoryWrapped != 0; }
  // Points are used bytes div 4 everywhere.
  std::int64_t recordedPoints() const { return UsedMemory / 4; }
};

}  // namespace termika
