#include <gtest/gtest.h>

#include "core/data/DayTime.h"
#include "core/views/Navigation.h"

namespace termika {

namespace {

qint64 base() { return secondsFromCivil(CivilTime{2010, 3, 1, 0, 30, 0}); }

std::vector<PlotPoint> spanning(qint64 seconds) {
  return {{base() - seconds, 20.0f, 50.0f, 1.0f, 1}, {base(), 21.0f, 55.0f, 1.0f, 2}};
}

struct TimeBaseCase {
  qint64 duration;
  bool continuous;
  double unit;
  int widest;
  int widthValue;  // -1: not checked
};

TEST(UpdateTimeBase, UnitAndWidestWindowFollowTheDuration) {
  const std::vector<TimeBaseCase> cases{
      {100000, false, 100000.0 / 32767.0, 32767, -1},
      {32767, false, 1.0, 32767, -1},
      {32768, false, 32768.0 / 32767.0, 32767, -1},
      {30, false, 1.0, 50, -1},
      {1000, false, 1.0, 1000, -1},
      {120, true, 1.0, 30000, 200},
      {49, true, 1.0, 30000, 50},
      {50, true, 1.0, 30000, 100},
      {3199, true, 1.0, 30000, 3200},
  };
  for (const TimeBaseCase& c : cases) {
    SCOPED_TRACE(c.duration);
    NavigationState nav = defaultNavigation();
    const auto points = spanning(c.duration);
    ASSERT_TRUE(updateTimeBase(nav, points, c.continuous));
    EXPECT_EQ(nav.baseTime, base());
    EXPECT_EQ(nav.duration, c.duration);
    EXPECT_DOUBLE_EQ(nav.timeUnit, c.unit);
    EXPECT_EQ(nav.bar(TemperatureWidth).minimum, c.widest);
    if (c.widthValue >= 0) {
      EXPECT_EQ(nav.bar(TemperatureWidth).value, c.widthValue);
    }
    EXPECT_EQ(nav.bar(HumidityWidth), nav.bar(TemperatureWidth));
    EXPECT_EQ(nav.bar(HumidityOffset), nav.bar(TemperatureOffset));
  }
}

TEST(UpdateTimeBase, ContinuousWidthUnchangedFrom3200SecondsAndEmptySetsChangeNothing) {
  NavigationState nav = defaultNavigation();
  ASSERT_TRUE(updateTimeBase(nav, spanning(120), true));
  nav.bar(TemperatureWidth).value = 1234;
  ASSERT_TRUE(updateTimeBase(nav, spanning(3200), true));
  EXPECT_EQ(nav.bar(TemperatureWidth).value, 1234);
  EXPECT_EQ(nav.bar(HumidityWidth).value, 1234);
  const NavigationState before = nav;
  EXPECT_FALSE(updateTimeBase(nav, {}, false));
  EXPECT_EQ(nav.bars, before.bars);
}

struct FitCase {
  double highT, lowT, highH, lowH;
  int halfT, centreT, halfH, centreH;
};

TEST(AutoFitView, HalfSpansAndCentresFromTheExtremes) {
  const std::vector<FitCase> cases{
      // 1.1 * 50 = 55; centre 20.0 °C; humidity 1.1 * 100 = 110 around 50 %RH.
      {25.0, 15.0, 60.0, 40.0, 55, 200, 110, 500},
      // Flat data gets the smallest half-span 1.1 * 25 = 27.5 -> 28.
      {20.0, 20.0, 50.0, 50.0, 28, 200, 28, 500},
      // A centre beyond the bar's limits is pulled back: 1000 - 55 = 945.
      {100.0, 90.0, 100.0, 90.0, 55, 945, 55, 945},
  };
  for (const FitCase& c : cases) {
    SCOPED_TRACE(c.highT);
    NavigationState nav = defaultNavigation();
    nav.bar(TemperatureOffset).value = 7;
    Extremes e;
    e.entries = {{{1, c.highT}, {2, c.lowT}, {3, c.highH}, {4, c.lowH}}};
    ASSERT_TRUE(autoFitView(nav, e));
    EXPECT_EQ(nav.bar(TemperatureHalfSpan).value, c.halfT);
    EXPECT_EQ(nav.bar(TemperatureCentre).value, c.centreT);
    EXPECT_EQ(nav.bar(TemperatureCentre).minimum, 1000 - c.halfT);
    EXPECT_EQ(nav.bar(TemperatureCentre).maximum, c.halfT - 400);
    EXPECT_EQ(nav.bar(HumidityHalfSpan).value, c.halfH);
    EXPECT_EQ(nav.bar(HumidityCentre).value, c.centreH);
    EXPECT_EQ(nav.bar(HumidityCentre).maximum, c.halfH);
    EXPECT_EQ(nav.bar(TemperatureOffset).value, 0);
  }
  NavigationState nav = defaultNavigation();
  EXPECT_FALSE(autoFitView(nav, Extremes{}));
}

TEST(FitView, WidestWindowEndingAtTheNewestPointInWholeSeconds) {
  NavigationState nav = defaultNavigation();
  const auto points = spanning(100000);
  Extremes e;
  e.entries = {{{2, 21.0}, {1, 20.0}, {2, 55.0}, {1, 50.0}}};
  nav.bar(TemperatureOffset).value = 40;
  ASSERT_TRUE(fitView(nav, points, e, false));
  EXPECT_EQ(nav.bar(TemperatureWidth).value, 32767);
  EXPECT_EQ(nav.bar(HumidityWidth).value, 32767);
  EXPECT_EQ(nav.bar(TemperatureOffset).value, 0);
  EXPECT_EQ(windowOf(nav, GraphKind::Temperature).width, 100000);
  // Bar steps turn into whole seconds: 100 steps of 3.0518 s.
  nav.bar(HumidityOffset).value = 100;
  EXPECT_EQ(windowOf(nav, GraphKind::Humidity).offset, 305);
  EXPECT_FALSE(fitView(nav, {}, e, false));
}

TEST(ApplyZoom, DoublesAndHalvesWithinTheLimits) {
  struct Case {
    ZoomButton button;
    Bar bar;
    ScrollState before;
    int after;  // a change is reported only when the value moves
  };
  const Case cases[] = {
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
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before.value);
    NavigationState nav = defaultNavigation();
    nav.bar(c.bar) = c.before;
    EXPECT_EQ(applyZoom(nav, c.button),
              c.after == c.before.value ? std::nullopt : std::optional<Bar>(c.bar));
    EXPECT_EQ(nav.bar(c.bar).value, c.after);
  }
}

TEST(ShowCursorReadout, PointUnderTheMouseOrTheNewest) {
  const UiText en = UiText::load(UiText::Language::English);
  const std::vector<PlotPoint> points{{base() - 20, 20.5f, 30.0f, 1.0f, 1},
                                      {base() - 10, 21.25f, 40.0f, 1.0f, 2},
                                      {base(), 22.0f, 45.5f, 1.0f, 3}};
  NavigationState nav = defaultNavigation();
  ASSERT_TRUE(updateTimeBase(nav, points, false));
  nav.bar(TemperatureOffset).value = 0;
  struct Case {
    double mouse;
    int offset;
    QString text;
  };
  const QString first = "Date 2010/03/01 00:29:40   Temperature 20.50°C   Humidity 30.00 %RH";
  const QString second = "Date 2010/03/01 00:29:50   Temperature 21.25°C   Humidity 40.00 %RH";
  const QString newest = "Date 2010/03/01 00:30:00   Temperature 22.00°C   Humidity 45.50 %RH";
  const std::vector<Case> cases{
      {-3.0, 0, newest}, {10.4, 0, second}, {9.6, 0, second}, {10.6, 0, first}, {5.0, 15, first}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mouse);
    nav.bar(TemperatureOffset).value = c.offset;
    EXPECT_EQ(showCursorReadout(c.mouse, nav, points, false, false, en), c.text);
  }
  EXPECT_TRUE(showCursorReadout(1.0, nav, points, true, false, en).isEmpty());
  EXPECT_TRUE(showCursorReadout(1.0, nav, points, false, true, en).isEmpty());
  EXPECT_TRUE(showCursorReadout(1.0, nav, {}, false, false, en).isEmpty());
}

}  // namespace
}  // namespace termika
