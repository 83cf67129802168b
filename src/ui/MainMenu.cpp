#include "ui/MainMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <iterator>

#include "core/base/Says.h"

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

QAction* item(QMenu& owner, const char* name, const QString& caption,
              const QKeySequence& shortcut = {}) {
  QAction* action = owner.addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(shortcut);
  return action;
}

}  // namespace

void buildMainMenu(QMenuBar& bar, const UiText& texts, MainWindowControls& ui) {
  ui.fileMenu = menu(bar, "fileMenu", texts[TextId::MenuFile]);
  ui.openCsvItem = item(*ui.fileMenu, "openCsvItem", texts[TextId::MenuOpen], Qt::CTRL | Qt::Key_O);
  ui.recentMenu = menu(*ui.fileMenu, "recentMenu", says("&Recent Files"));
  ui.saveMenu = menu(*ui.fileMenu, "saveMenu", texts[TextId::MenuSave]);
  ui.saveLogItem = item(*ui.saveMenu, "saveLogItem", texts[TextId::MenuSaveLogData]);
  ui.saveRealTimeItem = item(*ui.saveMenu, "saveRealTimeItem", texts[TextId::MenuSaveRealTimeData]);
  ui.saveShownItem =
      item(*ui.fileMenu, "saveShownItem", says("Save Sho&wn Data"), Qt::CTRL | Qt::Key_S);
  ui.saveGraphItem = item(*ui.fileMenu, "saveGraphItem", says("Save Graph as &Image…"));
  ui.copyGraphItem = item(*ui.fileMenu, "copyGraphItem", says("&Copy Graph"));
  ui.printItem = item(*ui.fileMenu, "printItem", texts[TextId::MenuPrint], Qt::CTRL | Qt::Key_P);
  ui.reportItem = item(*ui.fileMenu, "reportItem", says("Report…"));
  ui.fileMenu->addSeparator();
  ui.exitItem = item(*ui.fileMenu, "exitItem", texts[TextId::MenuExit], Qt::CTRL | Qt::Key_Q);

  ui.displayMenu = menu(bar, "displayMenu", texts[TextId::MenuView]);
  struct SetMenu {
    const char* name;
    QString caption, graph, dump;
  };
  const SetMenu setMenus[] = {
      {"logViewMenu", texts[TextId::MenuViewLog], texts[TextId::MenuViewLogGraph],
       texts[TextId::MenuViewLogDump]},
      {"realTimeViewMenu", texts[TextId::MenuViewRealTime], texts[TextId::MenuViewRealTimeGraph],
       texts[TextId::MenuViewRealTimeDump]},
      {"fileViewMenu", texts[TextId::MenuViewFile], texts[TextId::MenuViewFileGraph],
       texts[TextId::MenuViewFileDump]}};
  for (size_t set = 0; set < std::size(setMenus); ++set) {
    QMenu* view = menu(*ui.displayMenu, setMenus[set].name, setMenus[set].caption);
    ui.viewMenus[set] = view;
    ui.graphItems[set] = item(*view, "graphItem", setMenus[set].graph);
    ui.dumpItems[set] = item(*view, "dumpItem", setMenus[set].dump);
  }

  ui.toolMenu = menu(bar, "toolMenu", texts[TextId::MenuTools]);
  ui.portSettingsItem = item(*ui.toolMenu, "portSettingsItem", texts[TextId::MenuCommunication]);
  ui.statusReadItem = item(*ui.toolMenu, "statusReadItem", says("Read Stat&us"), Qt::Key_F5);
  ui.downloadItem = item(*ui.toolMenu, "downloadItem", says("Do&wnload"), Qt::CTRL | Qt::Key_D);
  ui.clockItem = item(*ui.toolMenu, "clockItem", texts[TextId::MenuClockSettings]);
  ui.loggerNameItem = item(*ui.toolMenu, "loggerNameItem", texts[TextId::MenuLoggerName]);
  ui.downloadModeMenu = menu(*ui.toolMenu, "downloadModeMenu", texts[TextId::MenuDownloadMode]);
  auto* speeds = new QActionGroup(ui.downloadModeMenu);
  ui.fastDownloadItem =
      item(*ui.downloadModeMenu, "fastDownloadItem", texts[TextId::MenuHighSpeed]);
  ui.slowDownloadItem = item(*ui.downloadModeMenu, "slowDownloadItem", texts[TextId::MenuLowSpeed]);
  for (QAction* speed : {ui.fastDownloadItem, ui.slowDownloadItem}) {
    speed->setCheckable(true);
    speeds->addAction(speed);
  }
  ui.fastDownloadItem->setChecked(true);

  ui.helpMenu = menu(bar, "helpMenu", texts[TextId::MenuHelp]);
  ui.helpItem = item(*ui.helpMenu, "helpItem", texts[TextId::MenuWebPage]);
  ui.aboutItem = item(*ui.helpMenu, "aboutItem", texts[TextId::MenuVersion]);
}

void fillRecentMenu(QMenu& menu, const QStringList& files,
                    const std::function<void(const QString&)>& open) {
  menu.clear();
  if (files.isEmpty()) {
    menu.addAction(says("No recent files"))->setEnabled(false);
    return;
  }
  for (qsizetype i = 0; i < files.size(); ++i) {
    const QString& file = files.at(i);
    // Numbered for the keyboard; the whole path shows as the tip.
    QAction* entry = menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
        QFileInfo(file).fileName().replace(QLatin1Char('&'), QStringLiteral("&&"))));
    const QString shown = QDir::toNativeSeparators(file);
    entry->setToolTip(shown);
    entry->setStatusTip(shown);
    QObject::connect(entry, &QAction::triggered, &menu, [open, file] { open(file); });
  }
  menu.setToolTipsVisible(true);
}

void syncMenuItems(const MainWindowControls& ui, int shownSet, bool graphShown) {
  const QAction* save = shownSet == kLogSet        ? ui.saveLogItem
                        : shownSet == kRealTimeSet ? ui.saveRealTimeItem
                                                   : nullptr;
  ui.saveShownItem->setEnabled(save != nullptr && save->isEnabled());
  ui.recentMenu->menuAction()->setEnabled(ui.openCsvItem->isEnabled());
  const bool graph = graphShown && ui.printItem->isEnabled();
  ui.saveGraphItem->setEnabled(graph);
  ui.copyGraphItem->setEnabled(graph);
  ui.statusReadItem->setEnabled(ui.statusUpdateButton->isEnabled());
  ui.downloadItem->setEnabled(ui.downloadButton->isEnabled());
}

}  // namespace termika
