#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace termika {

// The three data sets, indexed as everywhere in the program.
enum SetIndex : int { kLogSet = 0, kRealTimeSet = 1, kFileSet = 2 };
constexpr int kSetCount = 3;
// Record numbers are 16-bit signed on disk, so no set may grow past this.
constexpr int kMaxSetPoints = 32767;

struct AlarmSetting {
  std::int16_t Limit = 0;     // whole °C
  std::int32_t RawLimit = 0;  // the same limit as a sensor count
  std::uint8_t Enabled = 0;   // non-zero = on (128 from a logger, 1 from a CSV file)

  friend bool operator==(const AlarmSetting&, const AlarmSetting&) = default;
};

struct ExtremeEntry {
  std::int16_t PointNo = 0;
  double Value = 0.0;

  friend bool operator==(const ExtremeEntry&, const ExtremeEntry&) = default;
};

// Highest and lowest temperature and humidity, each with its point number.
struct Extremes {
  enum Entry : int { kHighTemperature = 0, kLowTemperature = 1, kHighHumidity = 2, kLowHumidity = 3 };
  static constexpr double kResetHigh = -10000.0;
  static constexpr double kResetLow = 10000.0;

  std::array<ExtremeEntry, 4> entries{{{0, kResetHigh}, {0, kResetLow}, {0, kResetHigh}, {0, kResetLow}}};

  // Resets the values; point numbers are left as they were, as the marks
  // code relies on range checks rather than on them being cleared.
  void reset();
  // False until at least one record has been folded in since the last reset:
  // an empty range is shown as dashes, never as ±10000.
  bool hasValues() const { return entries[kHighTemperature].Value > kResetHigh; }

  friend bool operator==(const Extremes&, const Extremes&) = default;
};

// Minimum, maximum and value of one graph scroll bar.
struct ScrollState {
  int minimum = 0;
  int maximum = 0;
  int value = 0;

  friend bool operator==(const ScrollState&, const ScrollState&) = default;
};

// Descriptor of one data set. The points themselves live in the set's record file.
struct DataSet {
  std::int16_t FileNo = 0;
  int Count = 0;
  std::array<ScrollState, 8> View{};  // HScroll1..4, VScroll1..4
  std::int32_t Interval = 0;          // seconds; also selects the conversion coefficients
  Extremes AllExtremes;               // over all points
  Extremes SelectedExtremes;          // over the range last drawn or printed
  AlarmSetting UpperAlarm;
  AlarmSetting LowerAlarm;
  int DrawnCount = 0;
  QString Model;        // model of the logger the points came from
  QString LoggerName;   // identification name that describes the set (CSV header, print)
  // File set only: the start time and point count its CSV header announced
  // (shown as they stand; the count is not checked against the data lines).
  double AnnouncedStart = 0.0;
  int AnnouncedCount = 0;
  bool Unsaved = false;
  bool PendingDownload = false;  // log set only
};

}  // namespace termika
