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
  std::int16_t limit = 0;     // whole °C
  std::int32_t rawLimit = 0;  // the same limit as a sensor count
  std::uint8_t enabled = 0;   // non-zero = on (128 from a logger, 1 from a CSV file)

  friend bool operator==(const AlarmSetting&, const AlarmSetting&) = default;
};

struct ExtremeEntry {
  std::int16_t pointNo = 0;
  double value = 0.0;

  friend bool operator==(const ExtremeEntry&, const ExtremeEntry&) = default;
};

// Highest and lowest temperature and humidity, each with its point number.
struct Extremes {
  enum Entry : int {
    kHighTemperature = 0,
    kLowTemperature = 1,
    kHighHumidity = 2,
    kLowHumidity = 3
  };
  static constexpr double kResetHigh = -10000.0;
  static constexpr double kResetLow = 10000.0;

  std::array<ExtremeEntry, 4> entries{
      {{0, kResetHigh}, {0, kResetLow}, {0, kResetHigh}, {0, kResetLow}}};

  // Resets the values; point numbers are left as they were, as the marks
  // code relies on range checks rather than on them being cleared.
  void reset();
  // False until at least one record has been folded in since the last reset:
  // an empty range is shown as dashes, never as ±10000.
  bool hasValues() const { return entries[kHighTemperature].value > kResetHigh; }

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
  std::int16_t fileNo = 0;
  int count = 0;
  std::array<ScrollState, 8> view{};  // by Bar
  std::int32_t interval = 0;          // seconds; also selects the conversion coefficients
  Extremes allExtremes;               // over all points
  Extremes selectedExtremes;          // over the range last drawn or printed
  AlarmSetting upperAlarm;
  AlarmSetting lowerAlarm;
  int drawnCount = 0;
  QString model;       // model of the logger the points came from
  QString loggerName;  // identification name that describes the set (CSV header, print)
  // File set only: the start time and point count its CSV header announced
  // (shown as they stand; the count is not checked against the data lines).
  double announcedStart = 0.0;
  int announcedCount = 0;
  // Log set only: a cancelled download kept `count` of this many points; 0 when whole.
  int partialOf = 0;
  bool unsaved = false;
  bool pendingDownload = false;  // log set only
};

}  // namespace termika
