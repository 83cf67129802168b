#include "ui/graph/GraphScrollBar.h"

#include <QSignalBlocker>
#include <algorithm>

namespace termika {
namespace {

// Set on a widget whose state runs backwards (minimum above maximum).
constexpr char kMirrored[] = "termikaMirrored";

bool mirrored(const QScrollBar& bar) { return bar.property(kMirrored).toBool(); }

}  // namespace

void setUpGraphScrollBar(QScrollBar& bar) { bar.setTracking(false); }

void applyScrollState(QScrollBar& bar, const ScrollState& state) {
  const QSignalBlocker blocker(&bar);
  const bool backwards = state.minimum > state.maximum;
  const int low = std::min(state.minimum, state.maximum);
  const int high = std::max(state.minimum, state.maximum);
  bar.setProperty(kMirrored, backwards);
  bar.setRange(low, high);
  // The widget keeps an ascending range, so its steps, pages and drawing work
  // as usual; a backwards state is held mirrored, which puts the state's
  // minimum at the left or top end and makes dragging towards the other end
  // move towards the state's maximum.
  bar.setValue(backwards ? low + high - state.value : state.value);
}

int stateValueOf(const QScrollBar& bar, int widgetValue) {
  return mirrored(bar) ? bar.minimum() + bar.maximum() - widgetValue : widgetValue;
}

}  // namespace termika
