#include <gtest/gtest.h>

#include "core/data/DayTime.h"
#include "core/views/GraphGestures.h"
#include "core/views/Navigation.h"

namespace termika {

namespace {

qint64 base() { return secondsFromCivil(CivilTime{2010, 3, 1, 0, 30, 0}); }

std::vector<PlotPoint> spanning(qint64 seconds) {
  return {{base() - seconds, 20.0f, 50.0f, 1.0f, 1}, {base(), 21.0f, 55.0f, 1.0f, 2}};
}

TEST(UpdateTimeBase, UnitAndWidestWindowFollowTheDurationAndFittingCentresTheExtremes) {
  // Duration, continuous: the time unit, the widest window and the width (-1: not checked).
  const std::tuple<qint64, bool, double, int, int> cases[] = {
      {32767, false, 1.0, 32767, -1}, {32768, false, 32768.0 / 32767.0, 32767, -1},
      {30, false, 1.0, 50, -1},       {1000, false, 1.0, 1000, -1},
      {49, true, 1.0, 30000, 50},     {50, true, 1.0, 30000, 100},
      {3199, true, 1.0, 30000, 3200},
  };
  for (const auto& [duration, continuous, unit, widest, width] : cases) {
    SCOPED_TRACE(duration);
    NavigationState nav = defaultNavigation();
    ASSERT_TRUE(updateTimeBase(nav, spanning(duration), continuous));
    EXPECT_EQ(std::tuple(nav.baseTime, nav.duration, nav.bar(TemperatureWidth).minimum),
              std::tuple(base(), duration, widest));
    EXPECT_DOUBLE_EQ(nav.timeUnit, unit);
    EXPECT_TRUE(width < 0 || nav.bar(TemperatureWidth).value == width);
    EXPECT_TRUE(nav.bar(HumidityWidth) == nav.bar(TemperatureWidth) &&
                nav.bar(HumidityOffset) == nav.bar(TemperatureOffset));
  }
  // From 3200 s on a continuous set keeps the width it has; an empty set changes nothing.
  NavigationState nav = defaultNavigation();
  ASSERT_TRUE(updateTimeBase(nav, spanning(120), true));
  nav.bar(TemperatureWidth).value = 1234;
  ASSERT_TRUE(updateTimeBase(nav, spanning(3200), true));
  EXPECT_EQ(std::pair(nav.bar(TemperatureWidth).value, nav.bar(HumidityWidth).value),
            std::pair(1234, 1234));
  const NavigationState before = nav;
  EXPECT_FALSE(updateTimeBase(nav, {}, false));
  EXPECT_EQ(nav.bars, before.bars);
  // Highest and lowest temperature and humidity: half-span and centre of temperature, humidity.
  const std::tuple<double, double, double, double, int, int, int, int> fits[] = {
      // 1.1 * 50 = 55; centre 20.0 °C; humidity 1.1 * 100 = 110 around 50 %RH.
      {25.0, 15.0, 60.0, 40.0, 55, 200, 110, 500},
      // Flat data gets the smallest half-span 1.1 * 25 = 27.5 -> 28.
      {20.0, 20.0, 50.0, 50.0, 28, 200, 28, 500},
      // A centre beyond the bar's limits is pulled back: 1000 - 55 = 945.
      {100.0, 90.0, 100.0, 90.0, 55, 945, 55, 945},
  };
  for (const auto& [highT, lowT, highH, lowH, halfT, centreT, halfH, centreH] : fits) {
    SCOPED_TRACE(highT);
    NavigationState nav = defaultNavigation();
    nav.bar(TemperatureOffset).value = 7;
    Extremes e;
    e.entries = {{{1, highT}, {2, lowT}, {3, highH}, {4, lowH}}};
    ASSERT_TRUE(autoFitView(nav, e));
    const ScrollState& centre = nav.bar(TemperatureCentre);
    EXPECT_EQ(std::tuple(nav.bar(TemperatureHalfSpan).value, centre.value, centre.minimum,
                         centre.maximum, nav.bar(TemperatureOffset).value),
              std::tuple(halfT, centreT, 1000 - halfT, halfT - 400, 0));
    EXPECT_EQ(std::tuple(nav.bar(HumidityHalfSpan).value, nav.bar(HumidityCentre).value,
                         nav.bar(HumidityCentre).maximum),
              std::tuple(halfH, centreH, halfH));
  }
  nav = defaultNavigation();
  EXPECT_FALSE(autoFitView(nav, Extremes{}));
  const auto points = spanning(100000);
  Extremes e;
  e.entries = {{{2, 21.0}, {1, 20.0}, {2, 55.0}, {1, 50.0}}};
  nav.bar(TemperatureOffset).value = 40;
  ASSERT_TRUE(fitView(nav, points, e, false));
  EXPECT_EQ(std::tuple(nav.bar(TemperatureWidth).value, nav.bar(HumidityWidth).value,
                       nav.bar(TemperatureOffset).value),
            std::tuple(32767, 32767, 0));
  EXPECT_EQ(windowOf(nav, GraphKind::Temperature).width, 100000);
  // Bar steps turn into whole seconds: 100 steps of 3.0518 s.
  nav.bar(HumidityOffset).value = 100;
  EXPECT_EQ(windowOf(nav, GraphKind::Humidity).offset, 305);
  EXPECT_FALSE(fitView(nav, {}, e, false));
}

using K = GestureKind;

TEST(GraphGestures, ButtonsWheelsAndKeysMoveTheBarsWithinTheirLimitsAndTheCursorReadsThePoint) {
  WheelNotches wheel;
  EXPECT_EQ(wheel.add(60), 0);  // half a notch waits for the rest
  EXPECT_EQ(wheel.add(60), 1);
  EXPECT_EQ(wheel.add(-250), -2);
  EXPECT_EQ(wheel.add(-110), -1);  // -10 left over joins this turn
  const std::pair<std::optional<GraphGesture>, std::optional<GraphGesture>> cases[] = {
      // The window test turns the wheel plainly, with Shift and Ctrl, and presses -, Left, Home.
      {wheelGesture(1, true, {}, 40.0), GraphGesture{K::PanTime, -1, 0.0}},  // a touchpad
      {wheelGesture(0, false, {}, 40.0), std::nullopt},
      {keyGesture(Qt::Key_Plus, Qt::KeypadModifier), GraphGesture{K::ZoomTime, 1, 0.0}},
      {keyGesture(Qt::Key_Left, Qt::ControlModifier), std::nullopt},
  };
  for (const auto& [got, want] : cases) EXPECT_EQ(got, want) << (&got - &cases[0].first);
  // A 1000 s set: one second a step, width 5..1000, offset 0..1000.
  // The gesture, width and offset before, and after; unchanged means no change is reported.
  const std::tuple<GraphGesture, int, int, int, int> steps[] = {
      {{K::ZoomTime, 1, 0.0}, 1000, 0, 500, 0},      // at the right end: the "+" button
      {{K::ZoomTime, 1, 400.0}, 1000, 0, 500, 200},  // 400 s back stays 40 % across
      {{K::ZoomTime, -1, 100.0}, 500, 200, 1000, 100},
      {{K::ZoomTime, 2, 1000.0}, 1000, 0, 250, 750},
      {{K::ZoomTime, 1, -30.0}, 1000, 0, 500, 0},    // the right margin counts as the end
      {{K::ZoomTime, 1, 10.0}, 10, 998, 5, 1000},    // the offset stops at its limit
      {{K::ZoomTime, -1, 100.0}, 1000, 0, 1000, 0},  // widest already
      {{K::PanTime, 1, 0.0}, 500, 200, 500, 150},    // a tenth of the window later
      {{K::PanTime, -2, 0.0}, 500, 200, 500, 300},
      {{K::PanTime, 1, 0.0}, 500, 20, 500, 0},
      {{K::PanTime, 1, 0.0}, 500, 0, 500, 0},
      {{K::Drag, 0, 123.4}, 500, 0, 500, 323},  // from the drag's start offset, 200
      {{K::Drag, 0, -500.0}, 500, 0, 500, 0},
  };
  const std::vector<PlotPoint> set{{0, 20.0f, 50.0f, 1.0f, 1}, {1000, 20.0f, 50.0f, 1.0f, 2}};
  for (const auto& [gesture, width, offset, wantWidth, wantOffset] : steps) {
    SCOPED_TRACE(&gesture - &std::get<0>(steps[0]));
    NavigationState nav = defaultNavigation();
    ASSERT_TRUE(updateTimeBase(nav, set, false));
    nav.bar(TemperatureWidth).value = width;
    nav.bar(TemperatureOffset).value = offset;
    const bool changed = width != wantWidth || offset != wantOffset;
    EXPECT_EQ(applyGesture(nav, GraphKind::Humidity, gesture, 200), changed);
    EXPECT_EQ(std::tuple(nav.bar(TemperatureWidth).value, nav.bar(TemperatureOffset).value,
                         barSteps(nav, HumidityOffset).page),
              std::tuple(wantWidth, wantOffset, wantWidth));
    EXPECT_TRUE(nav.bar(HumidityOffset) == nav.bar(TemperatureOffset) &&
                nav.bar(HumidityWidth) == nav.bar(TemperatureWidth));
  }
  // The value zoom acts on the graph it was made on only; the other bars page by a tenth of
  // their range (-30.0..90.0 °C, 10..90 %RH).
  NavigationState nav = defaultNavigation();
  EXPECT_TRUE(applyGesture(nav, GraphKind::Humidity, {K::ZoomValues, -1, 0.0}, 0));
  EXPECT_EQ(std::tuple(nav.bar(HumidityHalfSpan).value, nav.bar(TemperatureHalfSpan).value,
                       barSteps(nav, TemperatureCentre).page, barSteps(nav, HumidityCentre).page),
            std::tuple(200, 100, 120, 80));
  // The button, its bar and the bar before: the value after; a change is reported only when the
  // value moves.
  const std::tuple<ZoomButton, Bar, ScrollState, int> zooms[] = {
      {ZoomButton::TemperatureSpanWider, TemperatureHalfSpan, {1, 700, 300}, 600},
      {ZoomButton::TemperatureSpanWider, TemperatureHalfSpan, {1, 700, 600}, 700},
      {ZoomButton::TemperatureSpanNarrower, TemperatureHalfSpan, {1, 700, 301}, 150},
      {ZoomButton::TemperatureSpanNarrower, TemperatureHalfSpan, {1, 700, 1}, 1},
      {ZoomButton::HumiditySpanWider, HumidityHalfSpan, {1, 500, 100}, 200},
      {ZoomButton::HumiditySpanNarrower, HumidityHalfSpan, {1, 500, 100}, 50},
      {ZoomButton::TimeZoomIn, TemperatureWidth, {32767, 5, 32767}, 16383},
      {ZoomButton::TimeZoomOut, TemperatureWidth, {32767, 5, 20000}, 32767},
      {ZoomButton::TimeZoomIn, TemperatureWidth, {32767, 5, 9}, 5},
      {ZoomButton::TemperatureSpanWider, TemperatureHalfSpan, {1, 40000, 30000}, 40000},
  };
  for (const auto& [button, bar, before, after] : zooms) {
    SCOPED_TRACE(before.value);
    NavigationState nav = defaultNavigation();
    nav.bar(bar) = before;
    EXPECT_EQ(applyZoom(nav, button), after == before.value ? std::nullopt : std::optional(bar));
    EXPECT_EQ(nav.bar(bar).value, after);
  }
  const UiText en = UiText::load(UiText::Language::English);
  const std::vector<PlotPoint> points{{base() - 20, 20.5f, 30.0f, 1.0f, 1},
                                      {base() - 10, 21.25f, 40.0f, 1.0f, 2},
                                      {base(), 22.0f, 45.5f, 1.0f, 3}};
  nav = defaultNavigation();
  ASSERT_TRUE(updateTimeBase(nav, points, false));
  nav.bar(TemperatureOffset).value = 0;
  const QString first = "Date 2010/03/01 00:29:40   Temperature 20.50°C   Humidity 30.00 %RH";
  const QString second = "Date 2010/03/01 00:29:50   Temperature 21.25°C   Humidity 40.00 %RH";
  const QString newest = "Date 2010/03/01 00:30:00   Temperature 22.00°C   Humidity 45.50 %RH";
  // Mouse position and the window's offset: the point read out.
  const std::tuple<double, int, QString> readouts[] = {
      {-3.0, 0, newest}, {10.4, 0, second}, {9.6, 0, second}, {10.6, 0, first}, {5.0, 15, first}};
  for (const auto& [mouse, offset, text] : readouts) {
    nav.bar(TemperatureOffset).value = offset;
    EXPECT_EQ(showCursorReadout(mouse, nav, points, false, false, en), text) << mouse;
  }
  EXPECT_TRUE(showCursorReadout(1.0, nav, points, true, false, en).isEmpty());
  EXPECT_TRUE(showCursorReadout(1.0, nav, points, false, true, en).isEmpty());
  EXPECT_TRUE(showCursorReadout(1.0, nav, {}, false, false, en).isEmpty());
}

}  // namespace
}  // namespace termika
