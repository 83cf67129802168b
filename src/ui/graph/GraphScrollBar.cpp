#include "ui/graph/GraphScrollBar.h"

#include <QSignalBlocker>
#include <algorithm>

namespace termika {

void SetUpGraphScrollBar(QScrollBar& bar) { bar.setTracking(false); }

void ApplyScrollState(QScrollBar& bar, const ScrollState& state) {
  const QSignalBlocker blocker(&bar);
  const bool backwards = state.minimum > state.maximum;
  const int low = std::min(state.minimum, state.maximum);
  const int high = std::max(state.minimum, state.maximum);
  bar.setRange(low, high);
  bar.setInvertedAppearance(backwards);
  bar.setInvertedControls(backwards);
  // Inverted bars hold the mirrored value so that the widget's own arithmetic
  // (steps, pages) keeps working on an ascending range.
  bar.setValue(backwards ? low + high - state.value : state.value);
}

int StateValueOf(const QScrollBar& bar, int widgetValue) {
  return bar.invertedAppearance() ? bar.minimum() + bar.maximum() - widgetValue : widgetValue;
}

ScrollState ReadScrollState(const QScrollBar& bar) {
  const bool backwards = bar.invertedAppearance();
  return ScrollState{backwards ? bar.maximum() : bar.minimum(),
                     backwards ? bar.minimum() : bar.maximum(), StateValueOf(bar, bar.value())};
}

}  // namespace termika
