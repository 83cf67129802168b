// The main window's menu items, data buttons and view choices.
#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

#include "core/app/CsvActions.h"
#include "core/app/StateRules.h"
#include "core/base/Says.h"
#include "core/model/AppState.h"
#include "ui/DataViews.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxPrompts.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/print/PrintActions.h"

namespace termika {
namespace {

// The six display items: data set and view mode.
struct DisplayItem {
  const char* name;
  int set;
  int mode;
};
constexpr DisplayItem kDisplayItems[] = {{"m211", kLogSet, 0},      {"m212", kLogSet, 1},
                                         {"m221", kRealTimeSet, 0}, {"m222", kRealTimeSet, 1},
                                         {"m231", kFileSet, 0},     {"m232", kFileSet, 1}};

}  // namespace

void MainWindow::connectActions() {
  const auto onAction = [this](const char* name, auto handler) {
    connect(named<QAction>(name), &QAction::triggered, this, handler);
  };
  const auto onButton = [this](const char* name, auto handler) {
    connect(named<QPushButton>(name), &QPushButton::clicked, this, handler);
  };
  onAction("m11", [this] { openCsvFile(); });
  onButton("Command14", [this] { openCsvFile(); });
  onAction("m122", &MainWindow::saveLogSet);
  onButton("Command21", &MainWindow::saveLogSet);
  onAction("m121", &MainWindow::saveRealTimeSet);
  onButton("Command22", &MainWindow::saveRealTimeSet);
  onAction("m13", &MainWindow::print);
  // Each data area's print button prints its own set, leaving the shown one on screen.
  const std::pair<const char*, int> printButtons[] = {
      {"Command24", kLogSet}, {"Command23", kRealTimeSet}, {"Command25", kFileSet}};
  for (const auto& [button, set] : printButtons) {
    onButton(button, [this, set = set] { openPrintDialog(set); });
  }
  onAction("m41", &MainWindow::showAbout);
  onAction("m42", &MainWindow::openHelpPage);
  onAction("D_M_Fast", [this] { m_state.downloadSlow = false; });
  onAction("D_M_Slow", [this] { m_state.downloadSlow = true; });
}

void MainWindow::connectViewChoices() {
  const char* setOptions[] = {"Option5", "Option6", "Option7"};
  for (int set = 0; set < kSetCount; ++set) {
    connect(named<QRadioButton>(setOptions[set]), &QRadioButton::clicked, this, [this, set] {
      if (set != m_state.currentSet) m_views->showView(set, m_state.viewMode);
    });
  }
  for (int mode : {0, 1}) {
    connect(named<QRadioButton>(mode == 0 ? "Option8" : "Option9"), &QRadioButton::clicked, this,
            [this, mode] {
              if (mode != m_state.viewMode) m_views->showView(m_state.currentSet, mode);
            });
  }
  for (const DisplayItem& item : kDisplayItems) {
    connect(named<QAction>(item.name), &QAction::triggered, this,
            [this, item] { m_views->showView(item.set, item.mode); });
  }
}

bool MainWindow::openCsvFile(const QString& path) {
  const int shown = m_views->shownSet();
  if (!openCsvIntoFileSet(m_state, *m_prompts, path)) return false;
  // The reader already made the file set current; the view still belongs to
  // the set shown before.
  m_state.currentSet = shown;
  m_views->setReplaced(kFileSet);
  m_views->showView(kFileSet, m_state.viewMode);
  return true;
}

void MainWindow::saveLogSet() {
  saveDataSetCsv(m_state, kLogSet, *m_prompts);
  refreshState();
}

void MainWindow::saveRealTimeSet() {
  saveDataSetCsv(m_state, kRealTimeSet, *m_prompts);
  refreshState();
}

void MainWindow::print() { openPrintDialog(m_state.currentSet); }

void MainWindow::openPrintDialog(int set) {
  if (!canPrint(m_state, set)) return;
  PrintSelection selection;
  selection.graphView = m_views->navigationOf(set);
  if (const QTableView* list = m_views->list(set)) selection.dumpRows = dumpListRows(*list);
  termika::openPrintDialog(this, m_state, set, m_state.viewMode, selection);
}

void MainWindow::showAbout() {
  // A version read from a logger that is no longer connected is not shown.
  const QString hardware = m_state.connected ? m_state.status.firmwareVersion : QString();
  auto* about = new AboutDialog(m_state.texts, m_state.modelName, hardware, this);
  about->setAttribute(Qt::WA_DeleteOnClose);
  about->exec();
}

void MainWindow::openHelpPage() {
  if (m_helpPage.isEmpty()) {
    m_prompts->info(m_state.modelName,
                    says("The help page %1 was not found.").arg(m_state.texts[TextId::HelpPage]));
    return;
  }
  const QUrl page = QUrl::fromLocalFile(m_helpPage);
  const bool opened = m_openUrl ? m_openUrl(page) : QDesktopServices::openUrl(page);
  // Without a desktop launcher the user can still open the page by hand.
  if (!opened) {
    m_prompts->info(m_state.modelName,
                    says("The help page could not be opened. Open this file in a web browser:") +
                        QStringLiteral("\r\r") + QDir::toNativeSeparators(m_helpPage));
  }
}

}  // namespace termika
