#include "core/views/Navigation.h"

#include <algorithm>
#include <cmath>

#include "core/data/DayTime.h"
#include "core/data/Formats.h"

namespace termika {
namespace {

constexpr qint64 kMaxSteps = 32767;
constexpr int kMinWidestWindow = 50;
constexpr int kContinuousWidest = 30000;

// Width the temperature graph takes during continuous measurement: the data's
// duration rounded up in doubling steps, unchanged from 3200 s on.
std::optional<int> continuousWidth(qint64 duration) {
  for (int width : {50, 100, 200, 400, 800, 1600, 3200}) {
    if (duration < width) return width;
  }
  return std::nullopt;
}

}  // namespace

int barLow(const ScrollState& bar) { return std::min(bar.minimum, bar.maximum); }
int barHigh(const ScrollState& bar) { return std::max(bar.minimum, bar.maximum); }

int clampToBar(const ScrollState& bar, qint64 value) {
  return static_cast<int>(std::clamp<qint64>(value, barLow(bar), barHigh(bar)));
}

void setBarLimits(ScrollState& bar, int minimum, int maximum) {
  bar.minimum = minimum;
  bar.maximum = maximum;
  bar.value = clampToBar(bar, bar.value);
}

NavigationState defaultNavigation() {
  NavigationState nav;
  nav.bar(TemperatureWidth) = {kMinWidestWindow, kNarrowestWidthSteps, kMinWidestWindow};
  nav.bar(TemperatureOffset) = {0, kMinWidestWindow, 0};
  nav.bar(TemperatureHalfSpan) = {1, 700, 100};
  nav.bar(TemperatureCentre) = {900, -300, 250};
  nav.bar(HumidityHalfSpan) = {1, 500, 100};
  nav.bar(HumidityCentre) = {900, 100, 500};
  nav.bar(HumidityWidth) = nav.bar(TemperatureWidth);
  nav.bar(HumidityOffset) = nav.bar(TemperatureOffset);
  return nav;
}

bool updateTimeBase(NavigationState& nav, std::span<const PlotPoint> points, bool continuous) {
  if (points.empty()) return false;
  nav.baseTime = points.back().time;
  nav.oldestTime = points.front().time;
  nav.duration = nav.baseTime - nav.oldestTime;
  const qint64 d = nav.duration;

  int widest = 0;
  if (d > kMaxSteps) {
    nav.timeUnit = static_cast<double>(d) / static_cast<double>(kMaxSteps);
    widest = static_cast<int>(kMaxSteps);
  } else {
    nav.timeUnit = 1.0;
    widest = static_cast<int>(std::max<qint64>(d, kMinWidestWindow));
  }
  ScrollState& width = nav.bar(TemperatureWidth);
  if (continuous) {
    setBarLimits(width, kContinuousWidest, kNarrowestWidthSteps);
    if (auto w = continuousWidth(d)) width.value = clampToBar(width, *w);
  } else {
    setBarLimits(width, widest, kNarrowestWidthSteps);
  }
  // The offset can reach back over the whole set.
  setBarLimits(nav.bar(TemperatureOffset), 0, std::max(widest, kMinWidestWindow));
  nav.bar(HumidityWidth) = nav.bar(TemperatureWidth);
  nav.bar(HumidityOffset) = nav.bar(TemperatureOffset);
  return true;
}

bool autoFitView(NavigationState& nav, const Extremes& all) {
  if (!all.hasValues()) return false;
  const auto& e = all.entries;
  const auto fit = [&](Bar halfBar, Bar centreBar, double high, double low, int centreMinBase,
                       int centreMaxOffset) {
    const double half = 1.1 * std::max(25.0, 10.0 * (high - low) / 2.0);
    ScrollState& halfSpan = nav.bar(halfBar);
    halfSpan.value = clampToBar(halfSpan, std::llround(half));
    const int h = halfSpan.value;
    ScrollState& centre = nav.bar(centreBar);
    setBarLimits(centre, centreMinBase - h, h + centreMaxOffset);
    centre.value = clampToBar(centre, std::llround(10.0 * (high + low) / 2.0));
  };
  fit(TemperatureHalfSpan, TemperatureCentre, e[Extremes::kHighTemperature].value,
      e[Extremes::kLowTemperature].value, 1000, -400);
  fit(HumidityHalfSpan, HumidityCentre, e[Extremes::kHighHumidity].value,
      e[Extremes::kLowHumidity].value, 1000, 0);
  nav.bar(TemperatureOffset).value = clampToBar(nav.bar(TemperatureOffset), 0);
  nav.bar(HumidityOffset).value = clampToBar(nav.bar(HumidityOffset), 0);
  return true;
}

bool fitView(NavigationState& nav, std::span<const PlotPoint> points, const Extremes& all,
             bool continuous) {
  if (points.empty()) return false;
  autoFitView(nav, all);
  updateTimeBase(nav, points, continuous);
  for (Bar b : {TemperatureWidth, TemperatureOffset, HumidityWidth, HumidityOffset})
    nav.bar(b).value = nav.bar(b).minimum;
  autoFitView(nav, all);
  updateTimeBase(nav, points, continuous);
  return true;
}

BarSteps barSteps(const NavigationState& nav, Bar bar) {
  if (bar == TemperatureOffset || bar == HumidityOffset) {
    const int width = std::max(1, nav.bar(TemperatureWidth).value);
    return {std::max(1, width / 10), width};
  }
  const ScrollState& b = nav.bar(bar);
  return {1, std::max(1, (barHigh(b) - barLow(b)) / 10)};
}

std::optional<Bar> applyZoom(NavigationState& nav, ZoomButton button) {
  Bar target = TemperatureHalfSpan;
  bool doubled = true;
  switch (button) {
    case ZoomButton::TemperatureSpanWider:
      target = TemperatureHalfSpan;
      doubled = true;
      break;
    case ZoomButton::TemperatureSpanNarrower:
      target = TemperatureHalfSpan;
      doubled = false;
      break;
    case ZoomButton::HumiditySpanWider:
      target = HumidityHalfSpan;
      doubled = true;
      break;
    case ZoomButton::HumiditySpanNarrower:
      target = HumidityHalfSpan;
      doubled = false;
      break;
    case ZoomButton::TimeZoomIn:
      target = TemperatureWidth;
      doubled = false;
      break;
    case ZoomButton::TimeZoomOut:
      target = TemperatureWidth;
      doubled = true;
      break;
  }
  ScrollState& bar = nav.bar(target);
  const qint64 v = bar.value;
  // Floor division, so a negative value halves the way Int() does.
  const qint64 next = doubled ? 2 * v : (v >= 0 ? v / 2 : -((-v + 1) / 2));
  const int clamped = clampToBar(bar, next);
  if (clamped == bar.value) return std::nullopt;
  bar.value = clamped;
  return target;
}

GraphWindow windowOf(const NavigationState& nav, GraphKind kind) {
  const bool t = kind == GraphKind::Temperature;
  const ScrollState& width = nav.bar(t ? TemperatureWidth : HumidityWidth);
  const ScrollState& offset = nav.bar(t ? TemperatureOffset : HumidityOffset);
  return GraphWindow{std::llround(width.value * nav.timeUnit),
                     std::llround(offset.value * nav.timeUnit)};
}

ValueRange rangeOf(const NavigationState& nav, GraphKind kind) {
  return kind == GraphKind::Temperature
             ? temperatureRange(nav.bar(TemperatureCentre).value,
                                nav.bar(TemperatureHalfSpan).value)
             : humidityRange(nav.bar(HumidityCentre).value, nav.bar(HumidityHalfSpan).value);
}

int halfSpanOf(const NavigationState& nav, GraphKind kind) {
  return nav.bar(kind == GraphKind::Temperature ? TemperatureHalfSpan : HumidityHalfSpan).value;
}

qint64 cursorSeconds(const NavigationState& nav, double mouseSecondsBack) {
  return std::llround(nav.bar(TemperatureOffset).value * nav.timeUnit) +
         std::llround(mouseSecondsBack);
}

std::optional<size_t> cursorPoint(double mouseSecondsBack, const NavigationState& nav,
                                  std::span<const PlotPoint> points, bool continuous, bool busy) {
  if (continuous || busy || points.empty()) return std::nullopt;
  const qint64 s = cursorSeconds(nav, mouseSecondsBack);
  const int n =
      s > 0 ? findRecordByTime(nav.baseTime - s, points) : static_cast<int>(points.size());
  return static_cast<size_t>(n - 1);
}

QStringList cursorBoxLines(const PlotPoint& p, const UiText& texts) {
  const auto value = [](float v) { return fmt::measuredValue(v, fmt::LeadingZero::Kept); };
  return {fmt::dateTime(secondsToDaySerial(p.time)),
          texts[TextId::TemperatureTitle] + u' ' + value(p.temperature) + u' ' +
              texts[TextId::GraphDegrees],
          texts[TextId::HumidityTitle] + u' ' + value(p.humidity) + texts[TextId::HumidityUnit]};
}

QString showCursorReadout(double mouseSecondsBack, const NavigationState& nav,
                          std::span<const PlotPoint> points, bool continuous, bool busy,
                          const UiText& texts) {
  const std::optional<size_t> n = cursorPoint(mouseSecondsBack, nav, points, continuous, busy);
  if (!n) return QString();
  const PlotPoint& p = points[*n];
  return texts[TextId::GraphTipDate] + fmt::dateTime(secondsToDaySerial(p.time)) +
         texts[TextId::GraphTipTemperature] +
         fmt::measuredValue(p.temperature, fmt::LeadingZero::Kept) +
         texts[TextId::GraphTipHumidity] + fmt::measuredValue(p.humidity, fmt::LeadingZero::Kept) +
         texts[TextId::HumidityUnit];
}

void saveView(const NavigationState& nav, DataSet& set) { set.view = nav.bars; }

void restoreView(NavigationState& nav, const DataSet& set) { nav.bars = set.view; }

}  // namespace termika
