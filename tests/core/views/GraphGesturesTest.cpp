#include <gtest/gtest.h>

#include "core/views/GraphGestures.h"

namespace termika {
namespace {

using K = GestureKind;

TEST(GraphGestures, WheelsAndKeysBecomeBarSteps) {
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
}

// A 1000 s set: one second a step, width 5..1000, offset 0..1000.
TEST(GraphGestures, MoveTheBarsByTheButtonsStepsWithinTheirLimits) {
  // The gesture, width and offset before, and after; unchanged means no change is reported.
  const std::tuple<GraphGesture, int, int, int, int> cases[] = {
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
  for (const auto& [gesture, width, offset, wantWidth, wantOffset] : cases) {
    SCOPED_TRACE(&gesture - &std::get<0>(cases[0]));
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
  // The value zoom acts on the graph it was made on only.
  NavigationState nav = defaultNavigation();
  EXPECT_TRUE(applyGesture(nav, GraphKind::Humidity, {K::ZoomValues, -1, 0.0}, 0));
  EXPECT_EQ(std::pair(nav.bar(HumidityHalfSpan).value, nav.bar(TemperatureHalfSpan).value),
            std::pair(200, 100));
}

}  // namespace
}  // namespace termika
