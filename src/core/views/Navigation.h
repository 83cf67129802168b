#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <span>

#include "core/base/UiText.h"
#include "core/data/DataSet.h"
#include "core/views/PlotPoint.h"
#include "core/views/ValueRange.h"

namespace termika {

// The eight graph bars in the order a set's saved view keeps them.
enum Bar : int {
  TemperatureWidth = 0,     // temperature window width, time-unit steps
  TemperatureOffset = 1,    // temperature window offset back from the newest point
  HumidityWidth = 2,        // humidity width (follows TemperatureWidth)
  HumidityOffset = 3,       // humidity offset (follows TemperatureOffset)
  TemperatureHalfSpan = 4,  // temperature half-span, 0.1 °C
  TemperatureCentre = 5,    // temperature centre, 0.1 °C
  HumidityHalfSpan = 6,     // humidity half-span, 0.1 %RH
  HumidityCentre = 7,       // humidity centre, 0.1 %RH
};
constexpr int kBarCount = 8;

// Bars may run backwards (minimum > maximum), as the width bars do: the
// widest window sits at the minimum. These treat both directions alike.
int barLow(const ScrollState& bar);
int barHigh(const ScrollState& bar);
int clampToBar(const ScrollState& bar, qint64 value);
// Sets the limits and pulls the value inside them.
void setBarLimits(ScrollState& bar, int minimum, int maximum);

// The graph bars of the shown set and its time base.
struct NavigationState {
  std::array<ScrollState, kBarCount> bars{};
  qint64 baseTime = 0;    // newest record, seconds
  qint64 oldestTime = 0;  // record 1, seconds
  qint64 duration = 0;    // D
  double timeUnit = 1.0;  // seconds per scroll step

  ScrollState& bar(Bar b) { return bars[static_cast<size_t>(b)]; }
  const ScrollState& bar(Bar b) const { return bars[static_cast<size_t>(b)]; }
};

// Bar limits of a set that was never shown.
NavigationState defaultNavigation();

// Arrow and trough steps of a bar. The offset bars step by a tenth of the
// shown window and page by a whole one, so both move the view by what is on
// screen however long the set; the others page by a tenth of their length.
struct BarSteps {
  int single = 1;
  int page = 1;
};
BarSteps barSteps(const NavigationState& nav, Bar bar);

// Narrowest window the width bars allow, in steps.
constexpr int kNarrowestWidthSteps = 5;

// Refreshes the time base and the width bars' limits from the set's first
// and newest points. False (nothing changed) for an empty set.
bool updateTimeBase(NavigationState& nav, std::span<const PlotPoint> points, bool continuous);

// Fits the value bars to the set's extremes and ends the window at the
// newest point. False (nothing changed) when the extremes hold no values.
bool autoFitView(NavigationState& nav, const Extremes& all);

// The fit button: widest window, values fitted. False for an empty set.
bool fitView(NavigationState& nav, std::span<const PlotPoint> points, const Extremes& all,
             bool continuous);

enum class ZoomButton {
  TemperatureSpanNarrower,
  TemperatureSpanWider,
  HumiditySpanWider,
  HumiditySpanNarrower,
  TimeZoomIn,
  TimeZoomOut,
};
constexpr int kZoomButtonCount = 6;
// Halves or doubles one bar within its limits. Returns the bar that changed,
// or nothing when the value stayed.
std::optional<Bar> applyZoom(NavigationState& nav, ZoomButton button);

// Window of one graph in whole seconds.
struct GraphWindow {
  qint64 width = 0;   // W
  qint64 offset = 0;  // S
};
GraphWindow windowOf(const NavigationState& nav, GraphKind kind);
ValueRange rangeOf(const NavigationState& nav, GraphKind kind);
int halfSpanOf(const NavigationState& nav, GraphKind kind);

// Seconds back from the base time under the mouse: the temperature offset
// serves both graphs, rounded to whole seconds like the plotted points.
qint64 cursorSeconds(const NavigationState& nav, double mouseSecondsBack);

// Index of the point under the mouse: the record at the mouse's time, or the
// newest right of it; nothing during continuous measurement, while a graph is
// drawn, or without points.
std::optional<size_t> cursorPoint(double mouseSecondsBack, const NavigationState& nav,
                                  std::span<const PlotPoint> points, bool continuous, bool busy);

// The box beside the cursor line: the point's time, temperature and humidity.
QStringList cursorBoxLines(const PlotPoint& point, const UiText& texts);

// Status-bar text for the point under the mouse, empty when nothing is shown
// (continuous measurement, a drawing in progress, no points).
QString showCursorReadout(double mouseSecondsBack, const NavigationState& nav,
                          std::span<const PlotPoint> points, bool continuous, bool busy,
                          const UiText& texts);

void saveView(const NavigationState& nav, DataSet& set);
void restoreView(NavigationState& nav, const DataSet& set);

}  // namespace termika
