#pragma once

#include <QColor>

#include "core/app/StateRules.h"

class QWidget;

namespace termika {

// The colour a panel colour stands for on screen.
QColor toColor(PanelColour colour, const QWidget& widget);

// Puts a computed window state on the widgets and actions found under
// `window` by objectName: caption, enabled, visible, text and background.
// Names without a control are skipped. The status bar text, the connect
// picture and the link side effects are the window's own business.
void applyMainWindowState(QWidget& window, const MainWindowState& state);

}  // namespace termika
