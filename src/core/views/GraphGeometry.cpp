#include "core/views/GraphGeometry.h"

#include <algorithm>
#include <cmath>

#include "core/data/DayTime.h"
#include "core/data/ExtremesUpdate.h"
#include "core/data/Formats.h"
#include "core/data/LoggerModel.h"

namespace termika {
namespace {

constexpr qint64 kMinute = 60;
constexpr qint64 kHour = 3600;
constexpr qint64 kDay = 86400;
constexpr qint64 kLinesUpToSeconds = 400;    // below: a line every second
constexpr qint64 kMinuteLinesBelow = 12000;  // from here: hourly alignment
constexpr qint64 kHourLinesBelow = 720000;   // from here: daily alignment

bool isWholeMinute(const CivilTime& t) { return t.second == 0; }
bool isWholeHour(const CivilTime& t) { return t.minute == 0 && t.second == 0; }
bool isMidnight(const CivilTime& t) { return t.hour == 0 && isWholeHour(t); }
bool isMonthStart(const CivilTime& t) { return t.day == 1 && isMidnight(t); }
bool isNoon(const CivilTime& t) { return t.hour == 12 && isWholeHour(t); }
bool isHalfHour(const CivilTime& t) { return t.minute == 30 && t.second == 0; }

// Smallest c in first..first+span (stepping by step) whose time passes the test.
template <typename Test>
std::optional<qint64> earliestAligned(qint64 baseTime, qint64 first, qint64 span, qint64 step,
                                      Test test) {
  const qint64 last = first + span;
  for (qint64 c = first; c <= last; c += step) {
    if (test(civilFromSeconds(baseTime - c))) return c;
  }
  return std::nullopt;
}

// First multiple of `step` at or above `value` (also for negatives).
qint64 firstMultipleAtOrAbove(qint64 value, qint64 step) {
  qint64 q = value / step;
  if (q * step < value) ++q;
  return q * step;
}

QString tenthsText(qint64 tenths) {
  return tenths % 10 == 0 ? QString::number(tenths / 10)
                          : QString::number(static_cast<double>(tenths) / 10.0, 'f', 1);
}

int horizontalLineStep(int halfSpan) {
  if (halfSpan <= 10) return 1;
  if (halfSpan <= 50) return 5;
  if (halfSpan <= 100) return 10;
  if (halfSpan <= 200) return 50;
  return 100;
}

int valueLabelStep(int halfSpan) {
  if (halfSpan < 5) return 1;
  if (halfSpan < 10) return 5;
  if (halfSpan < 50) return 10;
  if (halfSpan < 250) return 50;
  if (halfSpan < 500) return 100;
  return 200;
}

}  // namespace

double GraphGeometry::mapX(double secondsBack) const {
  return (userLeft - secondsBack) / (userLeft - userRight) * size.width();
}

double GraphGeometry::mapY(double value) const {
  return (userTop - value) / (userTop - userBottom) * size.height();
}

double GraphGeometry::unmapX(double pixelX) const {
  if (size.width() <= 0) return 0.0;
  return userLeft - pixelX / size.width() * (userLeft - userRight);
}

GridSteps chooseGridSteps(qint64 baseTime, qint64 width, qint64 offset) {
  GridSteps g{1, offset};
  // Each stage keeps the earliest aligned candidate, so the line nearest the
  // window's right end is never skipped.
  if (width >= kLinesUpToSeconds) {
    if (auto c = earliestAligned(baseTime, g.first, kMinute, g.step, isWholeMinute)) {
      g = {kMinute, *c};
    }
  }
  if (width >= kMinuteLinesBelow && g.step == kMinute) {
    if (auto c = earliestAligned(baseTime, g.first, kHour, g.step, isWholeHour)) g = {kHour, *c};
  }
  if (width >= kHourLinesBelow && g.step == kHour) {
    if (auto c = earliestAligned(baseTime, g.first, kDay, g.step, isMidnight)) g = {kDay, *c};
  }
  return g;
}

int verticalLineColour(qint64 time, qint64 width) {
  const CivilTime t = civilFromSeconds(time);
  if (isMonthStart(t)) return kMonthLine;
  if (isMidnight(t)) return kMidnightLine;
  if (isNoon(t) && width < kHourLinesBelow) return kNoonLine;
  if (isWholeHour(t) && width < kHourLinesBelow) return kHourLine;
  if (isHalfHour(t) && width < kMinuteLinesBelow) return kHalfHourLine;
  if (isWholeMinute(t) && width < kMinuteLinesBelow) return kMinuteLine;
  if (width < kLinesUpToSeconds) return kSecondLine;
  return -1;
}

TimeLabelRule timeLabelFor(qint64 time, qint64 width) {
  const CivilTime t = civilFromSeconds(time);
  const QString monthDay = QStringLiteral("%1/%2").arg(t.month).arg(t.day);
  const QString clock = QStringLiteral("%1:%2:%3")
                            .arg(t.hour, 2, 10, QLatin1Char('0'))
                            .arg(t.minute, 2, 10, QLatin1Char('0'))
                            .arg(t.second, 2, 10, QLatin1Char('0'));
  if (isMonthStart(t)) return {monthDay, 0};
  if (isMidnight(t)) return {width < 2268000 ? monthDay : QString(), 1};
  if (isNoon(t)) return {width < 129600 ? clock : QString(), 2};
  if (isWholeHour(t)) return {width < 43200 ? clock : QString(), 3};
  if (isHalfHour(t) && width < 3600) return {clock, 4};
  if (t.minute % 10 == 0 && t.second == 0 && width < 1800) return {clock, 5};
  if (t.second == 0 && width < 600) return {clock, 6};
  if (t.second % 10 == 0 && width < 60) return {clock, 7};
  if (width < 10) return {clock, 8};
  return {};
}

int horizontalLineColour(int tenths, int halfSpan) {
  if (tenths == 0) return kZeroLine;
  if (tenths % 100 == 0) return kTensLine;
  if (tenths % 50 == 0 && halfSpan <= 200) return kFivesLine;
  if (tenths % 10 == 0 && halfSpan <= 100) return kOnesLine;
  if (tenths % 5 == 0 && halfSpan <= 50) return kHalvesLine;
  if (halfSpan <= 10) return kTenthsLine;
  return -1;
}

namespace {

// User coordinates: time runs right to left, a twentieth of the width is
// kept free on the right and a tenth of the span below.
void placeFrame(GraphGeometry& g, const GraphInput& in) {
  const double bottom = in.range.bottom();
  const double top = in.range.top();
  g.userLeft = static_cast<double>(in.width);
  g.userRight = -static_cast<double>(in.width) / 20.0;
  g.userTop = top;
  g.userBottom = bottom - (top - bottom) / 10.0;
  const double x0 = g.mapX(0.0);
  const double yBottom = g.mapY(bottom);
  g.plotBox = QRectF(QPointF(g.mapX(g.userLeft), g.mapY(top)), QPointF(x0, yBottom));
  g.rightMargin = QRectF(QPointF(x0, 0.0), QPointF(in.size.width(), in.size.height()));
  g.bottomMargin = QRectF(QPointF(0.0, yBottom), QPointF(in.size.width(), in.size.height()));
}

// Vertical grid and time labels share the candidates; bounds and step are
// fixed before the loop.
void addTimeGrid(GraphGeometry& g, const GraphInput& in) {
  const qint64 w = in.width;
  const qint64 s = in.offset;
  const double yBottom = g.mapY(in.range.bottom());
  const GridSteps steps = chooseGridSteps(in.baseTime, w, s);
  g.gridStep = steps.step;
  g.gridFirst = steps.first;
  const qint64 lastCandidate = s + w;
  for (qint64 c = steps.first; c <= lastCandidate; c += steps.step) {
    const qint64 t = in.baseTime - c;
    const double x = g.mapX(static_cast<double>(c - s));
    const int colour = verticalLineColour(t, w);
    if (colour >= 0) g.verticalLines.push_back({x, colour});
    TimeLabelRule label = timeLabelFor(t, w);
    if (!label.text.isEmpty()) {
      g.timeLabels.push_back({QPointF(x, yBottom), std::move(label.text), label.rank});
    }
  }
}

// Horizontal grid and value labels, on multiples of their steps.
void addValueGrid(GraphGeometry& g, const GraphInput& in) {
  const int bottomTenths = in.range.bottomTenths;
  const int topTenths = in.range.topTenths;
  const double x0 = g.mapX(0.0);
  const int lineStep = horizontalLineStep(in.halfSpan);
  for (qint64 v = firstMultipleAtOrAbove(bottomTenths, lineStep); v <= topTenths; v += lineStep) {
    const int colour = horizontalLineColour(static_cast<int>(v), in.halfSpan);
    if (colour >= 0) g.horizontalLines.push_back({g.mapY(static_cast<double>(v) / 10.0), colour});
  }
  const int labelStep = valueLabelStep(in.halfSpan);
  for (qint64 v = firstMultipleAtOrAbove(bottomTenths, labelStep); v <= topTenths; v += labelStep) {
    g.valueLabels.push_back(
        {QPointF(x0, g.mapY(static_cast<double>(v) / 10.0)), tenthsText(v) + in.unitText});
  }
}

// The alarm limits inside the range, on the temperature graph of a model
// that has alarms.
void addLimitLines(GraphGeometry& g, const GraphInput& in) {
  if (in.kind != GraphKind::Temperature || !hasAlarms(in.model)) return;
  const auto addLimit = [&](const AlarmSetting& alarm, int colour) {
    if (alarm.enabled != 0 && alarm.limit >= in.range.bottom() && alarm.limit <= in.range.top()) {
      g.limitLines.push_back({g.mapY(alarm.limit), colour});
    }
  };
  addLimit(in.upperAlarm, kUpperLimitLine);
  addLimit(in.lowerAlarm, kLowerLimitLine);
}

// The points in the window, one polyline per segment, and their extremes.
void addSegments(GraphGeometry& g, const GraphInput& in) {
  const bool temperature = in.kind == GraphKind::Temperature;
  const qint64 rightEnd = in.baseTime - in.offset;
  const qint64 leftEnd = in.baseTime - (in.offset + in.width);
  const int firstNo = findRecordByTime(leftEnd, in.points);
  const int lastNo = findRecordByTime(rightEnd, in.points);
  std::optional<float> previousSegment;
  DataRecord fold;
  for (int n = firstNo; n >= 1 && n <= lastNo; ++n) {
    const PlotPoint& p = in.points[static_cast<size_t>(n - 1)];
    if (p.time < leftEnd || p.time > rightEnd) continue;
    const double value = temperature ? p.temperature : p.humidity;
    const QPointF point(g.mapX(static_cast<double>(in.baseTime - p.time - in.offset)),
                        g.mapY(value));
    if (!previousSegment || *previousSegment != p.segment || g.segments.empty()) {
      g.segments.push_back({});
    }
    g.segments.back().points.push_back(point);
    previousSegment = p.segment;
    fold.temperature = p.temperature;
    fold.humidity = p.humidity;
    fold.recordNo = p.recordNo;
    updateExtremes(fold, g.selected);
  }
}

// The right edge: the time it stands for when scrolled back, else a dot on
// the newest point; and the title.
void addEndMarker(GraphGeometry& g, const GraphInput& in) {
  const double bottom = in.range.bottom();
  const double top = in.range.top();
  const double x0 = g.mapX(0.0);
  const double yBottom = g.mapY(bottom);
  g.endLine = QLineF(x0, yBottom, x0, g.mapY(top));
  if (in.offset > 0) {
    g.endTimeText = fmt::dateTime(secondsToDaySerial(in.baseTime - in.offset));
    g.endTimeAnchor = QPointF(x0, yBottom);
  } else if (!in.points.empty()) {
    const PlotPoint& newest = in.points.back();
    const double value = in.kind == GraphKind::Temperature ? newest.temperature : newest.humidity;
    if (value >= bottom && value <= top) g.newestDot = QPointF(x0, g.mapY(value));
  }
  g.titleText = in.titleText;
  g.titleAnchor = QPointF(g.mapX(g.userLeft), yBottom);
}

}  // namespace

GraphGeometry buildGraphGeometry(const GraphInput& in) {
  GraphGeometry g;
  g.size = in.size;
  g.colours = colourTable(in.palette);
  g.selected.reset();
  if (in.width <= 0 || in.range.topTenths <= in.range.bottomTenths || in.size.width() <= 0 ||
      in.size.height() <= 0) {
    return g;
  }
  g.drawable = true;
  placeFrame(g, in);
  addTimeGrid(g, in);
  addValueGrid(g, in);
  addLimitLines(g, in);
  addSegments(g, in);
  addEndMarker(g, in);
  return g;
}

}  // namespace termika
