#pragma once

#include <QString>
#include <functional>
#include <span>
#include <vector>

#include "core/views/GraphGeometry.h"

namespace termika {

// A stretch of the time-label row that is already in use, in pixels.
struct TakenSpan {
  double left = 0.0;
  double right = 0.0;
};

// Where the time labels of a graph may go: between `left` and `right` (the
// plot's sides), at least `gap` away from each other and from the taken spans.
struct TimeLabelRow {
  double left = 0.0;
  double right = 0.0;
  double gap = 0.0;
  std::vector<TakenSpan> taken;
};

struct PlacedTimeLabel {
  double left = 0.0;
  double width = 0.0;
  QString text;

  friend bool operator==(const PlacedTimeLabel&, const PlacedTimeLabel&) = default;
};

// The label row of `g` once its title (`titleWidth` wide, in its own font) and
// the end time (`endTimeWidth`, shown only when the window ends before the
// newest point) have taken their places in it.
TimeLabelRow timeLabelRowOf(const GraphGeometry& g, double titleWidth, double endTimeWidth,
                            double gap);

// The labels that fit the row without touching one another, each centred on
// its anchor: the most significant rule first (a month's start before a
// midnight ... before a second), equal ranks in the order given. Returned
// from left to right.
std::vector<PlacedTimeLabel> placeTimeLabels(std::span<const TimeLabel> labels,
                                             const std::function<double(const QString&)>& widthOf,
                                             const TimeLabelRow& row);

}  // namespace termika
