#pragma once

#include <QScrollBar>

#include "core/data/DataSet.h"

namespace termika {

// Graph bars redraw on release, not while dragging.
void setUpGraphScrollBar(QScrollBar& bar);

// Shows a bar state on a widget without firing its change signals. The
// state's minimum is always at the left or top end, also for a state whose
// minimum lies above its maximum (the width bars, the centre bars).
void applyScrollState(QScrollBar& bar, const ScrollState& state);

// The state value of a widget value (they differ only for inverted bars).
int stateValueOf(const QScrollBar& bar, int widgetValue);

}  // namespace termika
