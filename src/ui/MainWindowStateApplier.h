#pragma once

#include <QColor>

#include "core/app/StateRules.h"
#include "ui/MainWindowControls.h"

class QWidget;

namespace termika {

// The colour a panel colour stands for on screen.
QColor toColor(PanelColour colour, const QWidget& widget);

// Puts a computed window state on the window's controls: caption, enabled,
// visible, text and colours. The status bar text, the connect picture and
// the link side effects are the window's own business.
void applyMainWindowState(QWidget& window, const MainWindowControls& controls,
                          const MainWindowState& state);

}  // namespace termika
