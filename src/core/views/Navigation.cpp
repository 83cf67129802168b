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

int BarLow(const ScrollState& bar) { return std::min(bar.minimum, bar.maximum); }
int BarHigh(const ScrollState& bar) { return std::max(bar.minimum, bar.maximum); }

int ClampToBar(const ScrollState& bar, qint64 value) {
  return static_cast<int>(std::clamp<qint64>(value, BarLow(bar), BarHigh(bar)));
}

void SetBarLimits(ScrollState& bar, int minimum, int maximum) {
  bar.minimum = minimum;
  bar.maximum = maximum;
  bar.value = ClampToBar(bar, bar.value);
}

NavigationState DefaultNavigation() {
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

bool UpdateTimeBase(NavigationState& nav, std::span<const PlotPoint> points, bool continuous) {
  if (points.empty()) return false;
  nav.baseTime = points.back().Time;
  nav.oldestTime = points.front().Time;
  nav.duration = nav.baseTime - nav.oldestTime;
  const qint64 D = nav.duration;

  int widest = 0;
  if (D > kMaxSteps) {
    nav.timeUnit = static_cast<double>(D) / static_cast<double>(kMaxSteps);
    widest = static_cast<int>(kMaxSteps);
  } else {
    nav.timeUnit = 1.0;
    widest = static_cast<int>(std::max<qint64>(D, kMinWidestWindow));
  }
  ScrollState& width = nav.bar(TemperatureWidth);
  if (continuous) {
    SetBarLimits(width, kContinuousWidest, kNarrowestWidthSteps);
    if (auto w = continuousWidth(D)) width.value = ClampToBar(width, *w);
  } else {
    SetBarLimits(width, widest, kNarrowestWidthSteps);
  }
  // The offset can reach back over the whole set.
  SetBarLimits(nav.bar(TemperatureOffset), 0, std::max(widest, kMinWidestWindow));
  nav.bar(HumidityWidth) = nav.bar(TemperatureWidth);
  nav.bar(HumidityOffset) = nav.bar(TemperatureOffset);
  return true;
}

bool AutoFitView(NavigationState& nav, const Extremes& all) {
  if (!all.hasValues()) return false;
  const auto& e = all.entries;
  const auto fit = [&](Bar halfBar, Bar centreBar, double high, double low, int centreMinBase,
                       int centreMaxOffset) {
    const double half = 1.1 * std::max(25.0, 10.0 * (high - low) / 2.0);
    ScrollState& halfSpan = nav.bar(halfBar);
    halfSpan.value = ClampToBar(halfSpan, std::llround(half));
    const int H = halfSpan.value;
    ScrollState& centre = nav.bar(centreBar);
    SetBarLimits(centre, centreMinBase - H, H + centreMaxOffset);
    centre.value = ClampToBar(centre, std::llround(10.0 * (high + low) / 2.0));
  };
  fit(TemperatureHalfSpan, TemperatureCentre, e[Extremes::kHighTemperature].Value,
      e[Extremes::kLowTemperature].Value, 1000, -400);
  fit(HumidityHalfSpan, HumidityCentre, e[Extremes::kHighHumidity].Value,
      e[Extremes::kLowHumidity].Value, 1000, 0);
  nav.bar(TemperatureOffset).value = ClampToBar(nav.bar(TemperatureOffset), 0);
  nav.bar(HumidityOffset).value = ClampToBar(nav.bar(HumidityOffset), 0);
  return true;
}

bool FitView(NavigationState& nav, std::span<const PlotPoint> points, const Extremes& all,
             bool continuous) {
  if (points.empty()) return false;
  AutoFitView(nav, all);
  UpdateTimeBase(nav, points, continuous);
  for (Bar b : {TemperatureWidth, TemperatureOffset, HumidityWidth, HumidityOffset})
    nav.bar(b).value = nav.bar(b).minimum;
  AutoFitView(nav, all);
  UpdateTimeBase(nav, points, continuous);
  return true;
}

std::optional<Bar> ApplyZoom(NavigationState& nav, ZoomButton button) {
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
  const int clamped = ClampToBar(bar, next);
  if (clamped == bar.value) return std::nullopt;
  bar.value = clamped;
  return target;
}

GraphWindow WindowOf(const NavigationState& nav, GraphKind kind) {
  const bool t = kind == GraphKind::Temperature;
  const ScrollState& width = nav.bar(t ? TemperatureWidth : HumidityWidth);
  const ScrollState& offset = nav.bar(t ? TemperatureOffset : HumidityOffset);
  return GraphWindow{std::llround(width.value * nav.timeUnit),
                     std::llround(offset.value * nav.timeUnit)};
}

ValueRange RangeOf(const NavigationState& nav, GraphKind kind) {
  return kind == GraphKind::Temperature
             ? TemperatureRange(nav.bar(TemperatureCentre).value,
                                nav.bar(TemperatureHalfSpan).value)
             : HumidityRange(nav.bar(HumidityCentre).value, nav.bar(HumidityHalfSpan).value);
}

int HalfSpanOf(const NavigationState& nav, GraphKind kind) {
  return nav.bar(kind == GraphKind::Temperature ? TemperatureHalfSpan : HumidityHalfSpan).value;
}

qint64 CursorSeconds(const NavigationState& nav, double mouseSecondsBack) {
  return std::llround(nav.bar(TemperatureOffset).value * nav.timeUnit) +
         std::llround(mouseSecondsBack);
}

QString ShowCursorReadout(double mouseSecondsBack, const NavigationState& nav,
                          std::span<const PlotPoint> points, bool continuous, bool busy,
                          const UiText& texts) {
  if (continuous || busy || points.empty()) return QString();
  const qint64 s = CursorSeconds(nav, mouseSecondsBack);
  const int n =
      s > 0 ? FindRecordByTime(nav.baseTime - s, points) : static_cast<int>(points.size());
  const PlotPoint& p = points[static_cast<size_t>(n - 1)];
  return texts.text(1114) + fmt::dateTime(secondsToDaySerial(p.Time)) + texts.text(1115) +
         fmt::measuredValue(p.Temperature, fmt::LeadingZero::Kept) + texts.text(1116) +
         fmt::measuredValue(p.Humidity, fmt::LeadingZero::Kept) + texts.text(1117);
}

void SaveView(const NavigationState& nav, DataSet& set) { set.View = nav.bars; }

void RestoreView(NavigationState& nav, const DataSet& set) { nav.bars = set.View; }

}  // namespace termika
