#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/report/ReportInput.h"

namespace termika::report {

// How time is counted, as an auditor recomputes it by hand:
// - Each reading stands for one recording interval starting at its own time
//   (the logger holds a value until it takes the next one). The recording
//   therefore covers count × interval seconds, and a single reading out of
//   range is one interval out of range.
// - An excursion is a run of consecutive out-of-range readings on the same
//   side within one block. It starts at its first reading and ends one
//   interval after its last: when recording went on, that is the time of the
//   first reading back within the limits. Duration = readings × interval.
// - A reading is out of range only beyond a limit: a reading equal to the
//   limit is within it (a "2 to 8 °C" range includes 2.00 and 8.00).
// - Between blocks nothing was recorded. A gap runs from one interval after a
//   block's last reading to the next block's first reading; it is listed and
//   never counted as time inside or outside the limits, and an excursion
//   never spans it (one on each side is listed as two).
// - Shares are of the recorded time, so of the readings: a gap changes none.
// - Single measurements are saved with interval 0: their durations are all
//   0, and the shares still count readings.

// A reading's value with where it is; `index` counts from 0 in input order.
struct Extreme {
  double value = 0.0;
  double time = 0.0;
  int index = 0;
};

// Minimum and maximum are their first occurrences. The standard deviation is
// the population one (divided by n): the readings are the whole recording
// being described, not a sample of a larger one, and one reading has 0.
struct ValueFigures {
  Extreme minimum;
  Extreme maximum;
  double mean = 0.0;
  double standardDeviation = 0.0;
};

enum class Side { Above, Below };

struct Excursion {
  Side side = Side::Above;
  double start = 0.0;  // day serials
  double end = 0.0;
  std::int64_t seconds = 0;
  int readings = 0;
  Extreme peak;  // the highest reading above, the lowest below
};

struct Gap {
  double start = 0.0;  // day serials
  double end = 0.0;
  std::int64_t seconds = 0;  // 0 when the next block began without a pause
};

// NoLimits: a set without limits has no verdict; reports show "no limits
// set" in place of PASS or FAIL.
enum class Verdict { NoLimits, Pass, Fail };

struct Summary {
  int count = 0;
  double first = 0.0;  // day serials of the first and last reading
  double last = 0.0;
  int intervalSeconds = 0;
  int blocks = 0;
  std::int64_t recordedSeconds = 0;
  ValueFigures temperature;
  ValueFigures humidity;
  std::optional<double> meanKineticTemperature;  // °C
  double activationEnergyKJPerMol = 0.0;

  Limits limits;
  int readingsAbove = 0;
  int readingsBelow = 0;
  std::int64_t secondsAbove = 0;
  std::int64_t secondsBelow = 0;
  double shareAbove = 0.0;  // 0..1
  double shareBelow = 0.0;
  std::vector<Excursion> excursions;  // in time order
  std::vector<Gap> gaps;
  Verdict verdict = Verdict::NoLimits;  // Fail when any excursion exists
};

// Nothing when there are no points.
std::optional<Summary> summarize(const Input& input);

}  // namespace termika::report
