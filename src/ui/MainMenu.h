#pragma once

#include <QMenuBar>

#include "core/base/UiText.h"

namespace termika {

// Builds the main window's menu tree: menus and items carry their designer
// names (m1 ... m41, D_M, D_M_Fast, D_M_Slow) as objectNames.
void buildMainMenu(QMenuBar& bar, const UiText& texts);

}  // namespace termika
