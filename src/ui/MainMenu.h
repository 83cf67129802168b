#pragma once

#include <QMenuBar>

#include "core/base/UiText.h"
#include "ui/MainWindowControls.h"

namespace termika {

// Builds the main window's menu tree into `bar` and notes each menu and item
// in `ui`.
void buildMainMenu(QMenuBar& bar, const UiText& texts, MainWindowControls& ui);

}  // namespace termika
