#include "ui/MainMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <iterator>

namespace termika {
namespace {

QMenu* menu(QWidget& parent, const char* name, const QString& caption) {
  auto* m = new QMenu(caption, &parent);
  m->setObjectName(QString::fromLatin1(name));
  m->menuAction()->setObjectName(QString::fromLatin1(name));
  if (auto* bar = qobject_cast<QMenuBar*>(&parent)) {
    bar->addMenu(m);
  } else if (auto* owner = qobject_cast<QMenu*>(&parent)) {
    owner->addMenu(m);
  }
  return m;
}

QAction* item(QMenu& owner, const char* name, const QString& caption) {
  QAction* action = owner.addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

}  // namespace

void buildMainMenu(QMenuBar& bar, const UiText& texts, MainWindowControls& ui) {
  ui.fileMenu = menu(bar, "fileMenu", texts[0]);
  ui.openCsvItem = item(*ui.fileMenu, "openCsvItem", texts[1]);
  ui.saveMenu = menu(*ui.fileMenu, "saveMenu", texts[2]);
  ui.saveLogItem = item(*ui.saveMenu, "saveLogItem", texts[3]);
  ui.saveRealTimeItem = item(*ui.saveMenu, "saveRealTimeItem", texts[4]);
  ui.printItem = item(*ui.fileMenu, "printItem", texts[5]);
  ui.fileMenu->addSeparator();
  ui.exitItem = item(*ui.fileMenu, "exitItem", texts[6]);

  ui.displayMenu = menu(bar, "displayMenu", texts[7]);
  struct SetMenu {
    const char* name;
    QString caption, graph, dump;
  };
  const SetMenu setMenus[] = {{"logViewMenu", texts[8], texts[9], texts[10]},
                              {"realTimeViewMenu", texts[11], texts[12], texts[13]},
                              {"fileViewMenu", texts[14], texts[15], texts[16]}};
  for (size_t set = 0; set < std::size(setMenus); ++set) {
    QMenu* view = menu(*ui.displayMenu, setMenus[set].name, setMenus[set].caption);
    ui.viewMenus[set] = view;
    ui.graphItems[set] = item(*view, "graphItem", setMenus[set].graph);
    ui.dumpItems[set] = item(*view, "dumpItem", setMenus[set].dump);
  }

  ui.toolMenu = menu(bar, "toolMenu", texts[17]);
  ui.portSettingsItem = item(*ui.toolMenu, "portSettingsItem", texts[18]);
  ui.clockItem = item(*ui.toolMenu, "clockItem", texts[21]);
  ui.loggerNameItem = item(*ui.toolMenu, "loggerNameItem", texts[24]);
  ui.downloadModeMenu = menu(*ui.toolMenu, "downloadModeMenu", texts[31]);
  auto* speeds = new QActionGroup(ui.downloadModeMenu);
  ui.fastDownloadItem = item(*ui.downloadModeMenu, "fastDownloadItem", texts[32]);
  ui.slowDownloadItem = item(*ui.downloadModeMenu, "slowDownloadItem", texts[33]);
  for (QAction* speed : {ui.fastDownloadItem, ui.slowDownloadItem}) {
    speed->setCheckable(true);
    speeds->addAction(speed);
  }
  ui.fastDownloadItem->setChecked(true);

  ui.helpMenu = menu(bar, "helpMenu", texts[25]);
  ui.helpItem = item(*ui.helpMenu, "helpItem", texts[26]);
  ui.aboutItem = item(*ui.helpMenu, "aboutItem", texts[27]);
}

}  // namespace termika
