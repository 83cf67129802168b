#pragma once

#include <QMenuBar>
#include <QStringList>
#include <functional>

#include "core/base/UiText.h"
#include "ui/MainWindowControls.h"

namespace termika {

// Builds the main window's menu tree into `bar` and notes each menu and item
// in `ui`.
void buildMainMenu(QMenuBar& bar, const UiText& texts, MainWindowControls& ui);

// One numbered entry per file, newest first; choosing one calls `open`.
void fillRecentMenu(QMenu& menu, const QStringList& files,
                    const std::function<void(const QString&)>& open);

// The items that repeat a button or another item are enabled exactly when
// it is, so their shortcuts do nothing while it cannot be used; the graph
// items need a graph on screen.
void syncMenuItems(const MainWindowControls& ui, int shownSet, bool graphShown);

}  // namespace termika
