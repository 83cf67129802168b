// The main window's menu items, data buttons and view choices.
#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

#include "core/app/CsvActions.h"
#include "core/app/Preferences.h"
#include "core/app/StateRules.h"
#include "core/base/Says.h"
#include "core/model/AppState.h"
#include "ui/DataViews.h"
#include "ui/GraphPicture.h"
#include "ui/MainMenu.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxPrompts.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/print/PrintActions.h"

namespace termika {

void MainWindow::connectActions() {
  const auto onAction = [this](QAction* action, auto handler) {
    connect(action, &QAction::triggered, this, handler);
  };
  const auto onButton = [this](QPushButton* button, auto handler) {
    connect(button, &QPushButton::clicked, this, handler);
  };
  onAction(m_ui.openCsvItem, [this] { openCsvFile(); });
  onButton(m_ui.openCsvButton, [this] { openCsvFile(); });
  onAction(m_ui.saveLogItem, &MainWindow::saveLogSet);
  onButton(m_ui.saveLogButton, &MainWindow::saveLogSet);
  onAction(m_ui.saveRealTimeItem, &MainWindow::saveRealTimeSet);
  onButton(m_ui.saveRealTimeButton, &MainWindow::saveRealTimeSet);
  onAction(m_ui.saveShownItem, &MainWindow::saveShownSet);
  onAction(m_ui.saveGraphItem, &MainWindow::saveShownGraph);
  onAction(m_ui.copyGraphItem, &MainWindow::copyShownGraph);
  // The same click as the button's, so the item cannot do anything else.
  onAction(m_ui.statusReadItem, [this] { m_ui.statusUpdateButton->click(); });
  onAction(m_ui.downloadItem, [this] { m_ui.downloadButton->click(); });
  onAction(m_ui.printItem, &MainWindow::print);
  onAction(m_ui.reportItem, &MainWindow::showReport);
  // Each data area's print button prints its own set, leaving the shown one on screen.
  const std::pair<QPushButton*, int> printButtons[] = {{m_ui.printLogButton, kLogSet},
                                                       {m_ui.printRealTimeButton, kRealTimeSet},
                                                       {m_ui.printFileButton, kFileSet}};
  for (const auto& [button, set] : printButtons) {
    onButton(button, [this, set = set] { openPrintDialog(set); });
  }
  onAction(m_ui.aboutItem, &MainWindow::showAbout);
  onAction(m_ui.helpItem, &MainWindow::openHelpPage);
  onAction(m_ui.fastDownloadItem, [this] { m_state.downloadSlow = false; });
  onAction(m_ui.slowDownloadItem, [this] { m_state.downloadSlow = true; });
}

void MainWindow::connectViewChoices() {
  for (int set = 0; set < kSetCount; ++set) {
    const auto at = static_cast<size_t>(set);
    connect(m_ui.setRadios[at], &QRadioButton::clicked, this, [this, set] {
      if (set != m_state.currentSet) m_views->showView(set, m_state.viewMode);
    });
    connect(m_ui.graphItems[at], &QAction::triggered, this,
            [this, set] { m_views->showView(set, 0); });
    connect(m_ui.dumpItems[at], &QAction::triggered, this,
            [this, set] { m_views->showView(set, 1); });
  }
  for (int mode : {0, 1}) {
    connect(mode == 0 ? m_ui.graphRadio : m_ui.dumpRadio, &QRadioButton::clicked, this,
            [this, mode] {
              if (mode != m_state.viewMode) m_views->showView(m_state.currentSet, mode);
            });
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
  m_recent.add(m_state.fileSetFile);
  recentFilesChanged();
  return true;
}

void MainWindow::openRecentFile(const QString& path) {
  if (QFileInfo(path).isFile()) {
    openCsvFile(path);
    return;
  }
  m_recent.remove(path);
  recentFilesChanged();
  m_ui.noticePanel->setText(says("%1 no longer exists and was taken off the recent files.")
                                .arg(QDir::toNativeSeparators(path)));
}

void MainWindow::recentFilesChanged() {
  m_recent.storeIn(*m_preferences);
  if (Result<void> saved = m_preferences->save(); !saved) {
    m_ui.noticePanel->setText(saved.error().message);
  }
  fillRecentMenu(*m_ui.recentMenu, m_recent.files(),
                 [this](const QString& file) { openRecentFile(file); });
}

void MainWindow::saveLogSet() {
  saveDataSetCsv(m_state, kLogSet, *m_prompts);
  refreshState();
}

void MainWindow::saveRealTimeSet() {
  saveDataSetCsv(m_state, kRealTimeSet, *m_prompts);
  refreshState();
}

void MainWindow::saveShownSet() {
  if (m_state.currentSet == kLogSet) saveLogSet();
  if (m_state.currentSet == kRealTimeSet) saveRealTimeSet();
}

void MainWindow::saveShownGraph() {
  const std::vector<GraphGeometry> graphs = shownGraphs(m_ui);
  if (graphs.empty()) return;
  const int set = m_state.currentSet;
  const std::optional<DataRecord> first = m_state.file(set).read(1);
  const QString name = set == kFileSet ? m_state.fileSetName : m_state.set(set).loggerName;
  const QString filter = says("PNG image") + QStringLiteral("|*.png|") + says("SVG drawing") +
                         QStringLiteral("|*.svg");
  const std::optional<UserPrompts::SaveChoice> chosen =
      m_prompts->chooseSaveFileOfType(proposedCsvName(name, first ? first->dateTime : 0.0), filter);
  if (!chosen || chosen->path.isEmpty()) return;
  // A name typed with either suffix keeps it, whatever type the list shows.
  QString path = chosen->path;
  const QString typed = QFileInfo(path).suffix().toLower();
  if (typed != QStringLiteral("png") && typed != QStringLiteral("svg")) {
    path += chosen->type == 1 ? QStringLiteral(".svg") : QStringLiteral(".png");
  }
  if (Result<void> saved = saveGraphPicture(path, graphs); !saved) {
    m_prompts->info(m_state.modelName, saved.error().message);
    return;
  }
  m_ui.noticePanel->setText(says("Graph saved to %1").arg(QDir::toNativeSeparators(path)));
}

bool MainWindow::copyShownGraph() {
  const QImage image = graphImage(shownGraphs(m_ui));
  if (image.isNull()) return false;
  QGuiApplication::clipboard()->setImage(image);
  m_ui.noticePanel->setText(says("The graph was copied to the clipboard."));
  return true;
}

void MainWindow::print() { openPrintDialog(m_state.currentSet); }

void MainWindow::openPrintDialog(int set) {
  if (!canPrint(m_state, set)) return;
  PrintSelection selection;
  selection.graphView = m_views->navigationOf(set);
  if (const QTableView* list = m_views->list(set)) selection.dumpRows = dumpListRows(*list);
  termika::openPrintDialog(this, m_state, set, m_state.viewMode, selection);
}

// The summary report of the shown set, previewed before printing or saving.
void MainWindow::showReport() { openReportPreview(this, m_state, m_state.currentSet); }

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
