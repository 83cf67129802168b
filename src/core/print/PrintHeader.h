#pragma once

#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "core/base/UiText.h"
#include "core/data/DataSet.h"

namespace termika {

// One extreme as the header prints it; the time comes from the point's record.
struct ExtremeLine {
  int pointNo = 0;
  double time = 0.0;
  double value = 0.0;

  friend bool operator==(const ExtremeLine&, const ExtremeLine&) = default;
};
// Highest and lowest temperature, highest and lowest humidity; an empty entry
// prints as dashes.
using ExtremeLines = std::array<std::optional<ExtremeLine>, 4>;

// What the header block describes.
struct PrintHeaderInput {
  QString name;
  double startTime = 0.0;
  int count = 0;
  int interval = 0;  // seconds
  QString model;
  AlarmSetting upper;
  AlarmSetting lower;
  ExtremeLines all;
  ExtremeLines selected;
};

// A header line: the label at the left margin, the value in the value column.
struct HeaderLine {
  QString label;
  QString value;

  friend bool operator==(const HeaderLine&, const HeaderLine&) = default;
};

std::vector<HeaderLine> headerBlockLines(const PrintHeaderInput& input, const UiText& texts);

// The entries that hold a value and name a readable point of the set; a reset
// entry (±10000) or a point the set no longer holds stays empty.
ExtremeLines resolveExtremes(const Extremes& extremes, int count,
                             const std::function<std::optional<double>(int)>& timeOf);

}  // namespace termika
