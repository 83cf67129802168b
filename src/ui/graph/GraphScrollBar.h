#pragma once

#include <QScrollBar>

#include "core/data/DataSet.h"

namespace termika {

// Graph bars redraw on release, not while dragging.
void SetUpGraphScrollBar(QScrollBar& bar);

// Shows a bar state on a widget without firing its change signals. A state
// whose minimum lies above its maximum (the width bars, the centre bars) is
// shown with the widget's range ascending and its direction inverted, so the
// minimum stays at the left or top end.
void ApplyScrollState(QScrollBar& bar, const ScrollState& state);

// The bar state a widget shows, in the state's own direction.
ScrollState ReadScrollState(const QScrollBar& bar);
// The state value of a widget value (they differ only for inverted bars).
int StateValueOf(const QScrollBar& bar, int widgetValue);

}  // namespace termika
