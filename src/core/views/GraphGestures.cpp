#include "core/views/GraphGestures.h"

#include <algorithm>
#include <cmath>

namespace termika {
namespace {

constexpr int kNotch = 120;

bool zoomTimeAt(NavigationState& nav, int steps, double anchorSecondsBack) {
  ScrollState& width = nav.bar(TemperatureWidth);
  ScrollState& offset = nav.bar(TemperatureOffset);
  const double before = std::max(1, width.value);
  const ZoomButton button = steps > 0 ? ZoomButton::TimeZoomIn : ZoomButton::TimeZoomOut;
  bool changed = false;
  for (int i = 0; i < std::abs(steps); ++i) changed = applyZoom(nav, button).has_value() || changed;
  if (!changed) return false;
  // The anchor keeps its place on the screen: its share of the window is the
  // same before and after, so the window's end moves by the rest.
  const double anchor = std::clamp(anchorSecondsBack / nav.timeUnit, 0.0, before);
  offset.value =
      clampToBar(offset, offset.value + std::llround(anchor * (1.0 - width.value / before)));
  return true;
}

bool moveOffsetTo(NavigationState& nav, qint64 value) {
  ScrollState& offset = nav.bar(TemperatureOffset);
  const int next = clampToBar(offset, value);
  if (next == offset.value) return false;
  offset.value = next;
  return true;
}

}  // namespace

int WheelNotches::add(int angleDelta) {
  m_rest += angleDelta;
  const int notches = m_rest / kNotch;
  m_rest -= notches * kNotch;
  return notches;
}

std::optional<GraphGesture> wheelGesture(int notches, bool sideways, Qt::KeyboardModifiers mods,
                                         double mouseSecondsBack) {
  if (notches == 0) return std::nullopt;
  if (sideways || mods.testFlag(Qt::ShiftModifier)) {
    return GraphGesture{GestureKind::PanTime, -notches, 0.0};
  }
  if (mods.testFlag(Qt::ControlModifier))
    return GraphGesture{GestureKind::ZoomValues, notches, 0.0};
  return GraphGesture{GestureKind::ZoomTime, notches, mouseSecondsBack};
}

std::optional<GraphGesture> keyGesture(int key, Qt::KeyboardModifiers mods) {
  if (mods & ~(Qt::KeypadModifier | Qt::ShiftModifier)) return std::nullopt;
  switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:  // "+" without Shift on many layouts
      return GraphGesture{GestureKind::ZoomTime, 1, 0.0};
    case Qt::Key_Minus:
      return GraphGesture{GestureKind::ZoomTime, -1, 0.0};
    case Qt::Key_Left:
      return GraphGesture{GestureKind::PanTime, -1, 0.0};
    case Qt::Key_Right:
      return GraphGesture{GestureKind::PanTime, 1, 0.0};
    case Qt::Key_Home:
      return GraphGesture{GestureKind::Fit, 0, 0.0};
    default:
      return std::nullopt;
  }
}

bool applyGesture(NavigationState& nav, GraphKind graph, const GraphGesture& gesture,
                  int dragStartOffset) {
  bool changed = false;
  switch (gesture.kind) {
    case GestureKind::ZoomTime:
      changed = zoomTimeAt(nav, gesture.steps, gesture.seconds);
      break;
    case GestureKind::PanTime:
      // Later times sit at smaller offsets.
      changed =
          moveOffsetTo(nav, nav.bar(TemperatureOffset).value -
                                qint64{gesture.steps} * barSteps(nav, TemperatureOffset).single);
      break;
    case GestureKind::Drag:
      changed = moveOffsetTo(nav, dragStartOffset + std::llround(gesture.seconds / nav.timeUnit));
      break;
    case GestureKind::ZoomValues: {
      const bool t = graph == GraphKind::Temperature;
      const ZoomButton in =
          t ? ZoomButton::TemperatureSpanNarrower : ZoomButton::HumiditySpanNarrower;
      const ZoomButton out = t ? ZoomButton::TemperatureSpanWider : ZoomButton::HumiditySpanWider;
      for (int i = 0; i < std::abs(gesture.steps); ++i)
        changed = applyZoom(nav, gesture.steps > 0 ? in : out).has_value() || changed;
      break;
    }
    case GestureKind::DragStart:
    case GestureKind::Fit:
      break;
  }
  // The humidity graph shows the temperature graph's time window.
  nav.bar(HumidityWidth) = nav.bar(TemperatureWidth);
  nav.bar(HumidityOffset) = nav.bar(TemperatureOffset);
  return changed;
}

}  // namespace termika
