#pragma once

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <optional>
#include <span>
#include <vector>

#include "core/data/DataSet.h"
#include "core/views/GraphColors.h"
#include "core/views/PlotPoint.h"
#include "core/views/ValueRange.h"

namespace termika {

// Everything a graph drawing depends on; times are whole seconds.
struct GraphInput {
  GraphKind kind = GraphKind::Temperature;
  std::span<const PlotPoint> points;  // records 1..count of the set, in record order
  qint64 baseTime = 0;                // time of the newest record
  qint64 width = 0;                   // W: window width in seconds
  qint64 offset = 0;                  // S: window end, seconds back from baseTime
  ValueRange range;
  int halfSpan = 0;  // the half-span bar's value; thins grid and labels
  QString model;
  AlarmSetting upperAlarm;
  AlarmSetting lowerAlarm;
  Palette palette = Palette::Screen;
  QSize size;        // target in pixels
  QString unitText;  // appended to value labels
  QString titleText;
};

struct GridLine {
  double pos = 0.0;  // pixel x of a vertical line, pixel y of a horizontal one
  int colour = 0;    // entry of the colour table
};

// Centre x and top y of a time label (it sits in the bottom margin). The
// rank orders the rules by significance: 0 a month's start ... 8 a second.
struct TimeLabel {
  QPointF anchor;
  QString text;
  int rank = 0;
};

// Value labels start half a "0" right of the plot and are vertically centred
// on the anchor's y.
struct ValueLabel {
  QPointF anchor;
  QString text;
};

// A run of points joined by lines; its first point is marked by a dot.
struct CurveSegment {
  std::vector<QPointF> points;
};

// A graph in pixel coordinates, ready to paint. The x axis counts seconds
// back from the window's right end (W at the left edge, -W/20 at the right)
// and the y axis runs down from the top value to 10 % of the span below the
// bottom value; everything here is already mapped through that scale.
struct GraphGeometry {
  bool drawable = false;  // false: a zero-sized window, nothing to paint
  QSize size;
  ColourTable colours{};
  double userLeft = 0.0;   // W
  double userRight = 0.0;  // -W/20
  double userTop = 0.0;
  double userBottom = 0.0;  // bottom - span / 10

  QRectF plotBox;       // from (W, top) to (0, bottom)
  QRectF rightMargin;   // right of the plot, full height
  QRectF bottomMargin;  // below the plot, full width
  std::vector<GridLine> verticalLines;
  std::vector<GridLine> horizontalLines;
  std::vector<GridLine> limitLines;  // dotted, horizontal
  std::vector<CurveSegment> segments;
  std::vector<TimeLabel> timeLabels;
  std::vector<ValueLabel> valueLabels;
  QLineF endLine;                    // at x = 0, plot height
  std::optional<QPointF> newestDot;  // only when the window ends at the newest point
  QString endTimeText;               // only when it does not
  QPointF endTimeAnchor;             // text starts 3/4 of its width left of this
  QString titleText;
  QPointF titleAnchor;  // left edge of the plot, at its bottom
  Extremes selected;    // over the plotted points; empty when none
  qint64 gridStep = 0;  // seconds between vertical grid positions
  qint64 gridFirst = 0;

  double mapX(double secondsBack) const;
  double mapY(double value) const;
  // Seconds back from the window's right end at pixel x (the mouse readout).
  double unmapX(double pixelX) const;
};

GraphGeometry buildGraphGeometry(const GraphInput& input);

// Grid alignment of a window: candidates c = first, first + step, ... up to
// offset + width stand for the times baseTime - c.
struct GridSteps {
  qint64 step = 1;
  qint64 first = 0;
};
GridSteps chooseGridSteps(qint64 baseTime, qint64 width, qint64 offset);

// The label of `time` in a window `width` seconds wide: its text (empty when
// no rule labels it) and the rank of the rule.
struct TimeLabelRule {
  QString text;
  int rank = 0;
};
TimeLabelRule timeLabelFor(qint64 time, qint64 width);
// Colour entry of a vertical grid line at `time`, or -1 when none is drawn.
int verticalLineColour(qint64 time, qint64 width);
// Colour entry of a horizontal grid line at `tenths`, or -1 when none is drawn.
int horizontalLineColour(int tenths, int halfSpan);

}  // namespace termika
