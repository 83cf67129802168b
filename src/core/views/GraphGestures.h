#pragma once

#include <QtGlobal>
#include <optional>

#include "core/views/Navigation.h"

namespace termika {

// What the mouse and keys do on a graph, in the bars' own steps, so the bars,
// the zoom buttons and the gestures always show the same window.
enum class GestureKind {
  ZoomTime,    // `steps` time zoom button steps, keeping the time at `seconds`
  PanTime,     // `steps` single steps of the offset bar
  ZoomValues,  // `steps` value zoom button steps on the graph under the mouse
  DragStart,   // a drag begins: the window at this moment is where it moves from
  Drag,        // the mouse moved `seconds` towards earlier times since the drag began
  Fit,         // the fit button
};

// Positive steps magnify or move towards later times.
struct GraphGesture {
  GestureKind kind = GestureKind::Fit;
  int steps = 0;
  // ZoomTime: seconds back from the window's right end that stay under the
  // mouse. Drag: seconds dragged.
  double seconds = 0.0;

  friend bool operator==(const GraphGesture&, const GraphGesture&) = default;
};

// A wheel sends 120 units a notch, a touchpad a few at a time: the remainder
// is kept until it makes a whole notch.
class WheelNotches final {
 public:
  int add(int angleDelta);

 private:
  int m_rest = 0;
};

// The gesture of a wheel turn of `notches` (positive away from the user):
// plain zooms time at the mouse, Shift pans (away = earlier), Ctrl zooms the
// values. A sideways turn (a touchpad, or Shift on some desktops) pans.
std::optional<GraphGesture> wheelGesture(int notches, bool sideways, Qt::KeyboardModifiers mods,
                                         double mouseSecondsBack);
// The keys of a focused graph: +/- zoom time like the buttons, Left/Right pan
// by one step of the offset bar, Home fits.
std::optional<GraphGesture> keyGesture(int key, Qt::KeyboardModifiers mods);

// Moves the bars of `nav`; false when nothing changed (at a limit, or a fit
// or drag start, which the caller handles). `graph` is the graph the gesture
// was made on; `dragStartOffset` the offset bar's value when the drag began.
bool applyGesture(NavigationState& nav, GraphKind graph, const GraphGesture& gesture,
                  int dragStartOffset);

}  // namespace termika
