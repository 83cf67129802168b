// The main window's side of the logger sessions: connection, download,
// real-time measurement and the device dialogs.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "core/app/RecordingSettings.h"
#include "core/data/DayTime.h"
#include "core/data/SetRecords.h"
#include "core/link/Exchange.h"
#include "core/model/AppState.h"
#include "core/sessions/Connection.h"
#include "core/sessions/DeviceRequests.h"
#include "core/sessions/Download.h"
#include "core/sessions/LinkLoss.h"
#include "core/sessions/RealTimeMeasurement.h"
#include "ui/DataViews.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowStateApplier.h"
#include "ui/MessageBoxPrompts.h"
#include "ui/dialogs/ClockDialog.h"
#include "ui/dialogs/DownloadProgressDialog.h"
#include "ui/dialogs/LoggerNameDialog.h"
#include "ui/dialogs/PortSettingsDialog.h"
#include "ui/dialogs/RecordingSettingsDialog.h"

namespace termika {
namespace {

// A double click on a start/stop button is one command: the second click
// within this time of the first is dropped.
constexpr qint64 kRepeatClickMs = 500;
enum ToggleButton { kConnectButton, kRecordButton, kContinuousButton };

CivilTime civil(const QDateTime& t) {
  const QDate d = t.date();
  const QTime c = t.time();
  return CivilTime{d.year(), d.month(), d.day(), c.hour(), c.minute(), c.second()};
}

// A refused request has already been explained by the link, or happened
// because another exchange runs; the status bar is enough.
void note(QLabel& panel, const Result<void>& result) {
  if (!result) panel.setText(result.error().message);
}

}  // namespace

void MainWindow::attachLink(LoggerLinkParts parts) {
  m_link = std::make_unique<LoggerLink>(m_state, *m_prompts, *m_saveOffer, std::move(parts));
  m_downloadDialog = new DownloadProgressDialog(m_state.texts, this);
  m_downloadDialog->setObjectName(QStringLiteral("DownloadProgressDialog"));
  setLinkStopper([this] { m_link->stop(); });
  connectSessions();
  refreshState();
}

bool MainWindow::linkBusy() const { return m_link && m_link->exchange().isBusy(); }

void MainWindow::connectSessions() {
  QLabel* panel2 = m_ui.noticePanel;
  connect(&m_link->exchange(), &Exchange::exchangeEnded, this, &MainWindow::refreshState);
  connect(&m_link->exchange(), &Exchange::busyPointer, this, &MainWindow::setBusyPointer);

  connect(m_ui.connectButton, &QPushButton::clicked, this, [this] {
    if (firstClick(kConnectButton)) m_link->connection().connectOrDisconnect();
  });
  connect(&m_link->connection(), &Connection::stateChanged, this, &MainWindow::refreshState);
  connect(&m_link->connection(), &Connection::deviceViewsCleared, this, [this] {
    m_views->setCleared(kLogSet);
    m_views->setCleared(kRealTimeSet);
    // No refresh here: the connection is half made and says so when done.
    m_views->clearDeviceViews();
  });
  connect(&m_link->connection(), &Connection::notice, panel2, &QLabel::setText);
  // Notices about the ports that were skipped during the scan are stale once
  // a logger answers; the port list shows where it was found.
  connect(&m_link->connection(), &Connection::connected, this, [this, panel2](int port) {
    panel2->clear();
    m_state.chosenPort = port;
    m_ui.portCombo->setCurrentText(QString::number(port));
    saveSettings();
  });
  connect(m_ui.portSettingsItem, &QAction::triggered, this, &MainWindow::openPortSettings);

  connect(m_ui.downloadButton, &QPushButton::clicked, this, &MainWindow::startDownload);
  connect(&m_link->download(), &Download::started, this, &MainWindow::downloadStarted);
  connect(&m_link->download(), &Download::stateChanged, this, [this](Download::State state) {
    if (state == Download::State::Stopping)
      m_downloadDialog->showStopping(m_link->download().received());
    refreshState();
  });
  connect(&m_link->download(), &Download::draining, m_downloadDialog,
          &DownloadProgressDialog::showDraining);
  connect(&m_link->download(), &Download::progress, m_downloadDialog,
          &DownloadProgressDialog::showProgress);
  connect(&m_link->download(), &Download::finished, this, &MainWindow::downloadFinished);
  connect(m_downloadDialog, &DownloadProgressDialog::cancelRequested, this,
          [this] { m_link->download().cancel(); });

  connect(m_ui.measureOnceButton, &QPushButton::clicked, this,
          [this] { m_link->realTime().measureOnce(); });
  connect(m_ui.continuousButton, &QPushButton::clicked, this, [this] {
    if (firstClick(kContinuousButton)) startOrStopSeries();
  });
  connect(m_ui.spacingCombo, &QComboBox::activated, this, &MainWindow::spacingChanged);
  for (QRadioButton* unit : {m_ui.spacingSecondsRadio, m_ui.spacingMinutesRadio})
    connect(unit, &QRadioButton::clicked, this, &MainWindow::spacingChanged);
  connect(&m_link->realTime(), &RealTimeMeasurement::setCleared, this,
          [this] { m_views->setCleared(kRealTimeSet); });
  connect(&m_link->realTime(), &RealTimeMeasurement::pointAdded, this,
          &MainWindow::realTimePointAdded);
  connect(&m_link->realTime(), &RealTimeMeasurement::labelsChanged, this,
          [this](const QString& t, const QString& h, const QString& time) {
            m_ui.liveTemperature->setText(t);
            m_ui.liveHumidity->setText(h);
            m_ui.liveTime->setText(time);
          });
  connect(&m_link->realTime(), &RealTimeMeasurement::runningChanged, this, [this](bool running) {
    // A stopped series is fitted and both graphs drawn anew at the window's
    // size, before the save question.
    if (!running) m_views->fitToData();
    refreshState();
  });
  connect(&m_link->realTime(), &RealTimeMeasurement::redrawDue, this,
          [this] { m_views->drawGraphs(); });

  connect(m_ui.recordButton, &QPushButton::clicked, this, [this] {
    if (firstClick(kRecordButton)) startOrStopRecording();
  });
  connect(m_ui.statusUpdateButton, &QPushButton::clicked, this,
          [this, panel2] { note(*panel2, m_link->requests().updateStatus()); });
  connect(m_ui.initButton, &QPushButton::clicked, this, [this, panel2] {
    const Result<bool> sent = m_link->requests().initAll();
    if (!sent) panel2->setText(sent.error().message);
  });
  connect(m_ui.clockItem, &QAction::triggered, this, &MainWindow::openClockDialog);
  connect(m_ui.loggerNameItem, &QAction::triggered, this, &MainWindow::openNameDialog);
  connect(m_ui.nameButton, &QPushButton::clicked, this, &MainWindow::openNameDialog);
}

void MainWindow::startDownload() { m_link->download().start(); }

void MainWindow::downloadStarted() {
  m_views->setCleared(kLogSet);
  m_downloadDialog->startTransfer();
  m_downloadDialog->show();
  m_downloadDialog->raise();
}

void MainWindow::downloadFinished(Download::Outcome outcome) {
  m_downloadDialog->finishTransfer();
  m_downloadDialog->close();
  // The window holds a whole set, and closing offers to save it: the logger
  // may count its points as downloaded. A cancel's part never marks them.
  if (outcome == Download::Outcome::Complete) m_link->download().markDownloaded();
  if (m_state.set(kLogSet).count > 0 && outcome != Download::Outcome::Failed) {
    m_state.logSetDownloadedAt = m_clock();
    m_views->setReplaced(kLogSet);
    if (m_views->shownSet() != kLogSet) m_views->showView(kLogSet, m_state.viewMode);
  } else {
    m_views->setCleared(kLogSet);
  }
  refreshState();
}

void MainWindow::showPartialNote() {
  const QString note =
      m_state.currentSet == kLogSet ? partialNote(m_state.set(kLogSet)) : QString();
  m_ui.partialPanel->setText(note);
  m_ui.partialPanel->setVisible(!note.isEmpty());
}

void MainWindow::startOrStopSeries() {
  if (m_link->realTime().stopSeries()) return;
  bool ok = false;
  const int value = m_ui.spacingCombo->currentText().toInt(&ok);
  m_link->realTime().startSeries(ok ? value : RealTimeMeasurement::kDefaultSpacing,
                                 m_ui.spacingMinutesRadio->isChecked());
}

void MainWindow::spacingChanged() {
  bool ok = false;
  const int value = m_ui.spacingCombo->currentText().toInt(&ok);
  if (ok && RealTimeMeasurement::isSpacingChoice(value))
    m_link->realTime().setSpacing(value, m_ui.spacingMinutesRadio->isChecked());
}

void MainWindow::realTimePointAdded() {
  // A measured point brings its set on screen, fitted to the new point.
  if (m_views->shownSet() != kRealTimeSet) m_views->showView(kRealTimeSet, m_state.viewMode);
  m_views->pointAppended(kRealTimeSet);
  refreshState();
}

bool MainWindow::firstClick(int button) {
  QElapsedTimer& last = m_lastToggleClick.at(static_cast<size_t>(button));
  if (last.isValid() && last.elapsed() < kRepeatClickMs) return false;
  last.start();
  return true;
}

void MainWindow::readStatusWhenDue() {
  const QDateTime now = m_clock();
  if (!m_link || !m_state.connected || !m_statusWatch.due(now)) return;
  // Another exchange or an open dialog (which the refresh would close) goes
  // first; the next clock tick looks again.
  if (linkBusy() || QApplication::activeModalWidget() != nullptr) return;
  m_statusWatch.reading(now);
  note(*m_ui.noticePanel, m_link->requests().updateStatus());
}

void MainWindow::startOrStopRecording() {
  switch (decideRecordingButton(linkBusy(), m_state.runState, m_state.status)) {
    case RecordingButtonAction::Ignore:
      return;
    case RecordingButtonAction::Stop:
      note(*m_ui.noticePanel, m_link->requests().stopRecording());
      return;
    case RecordingButtonAction::RefuseBattery:
      m_prompts->info(m_state.modelName, m_state.texts[TextId::ChangeBattery]);
      return;
    case RecordingButtonAction::AskOverwrite:
      if (!m_prompts->ask(m_state.modelName, m_state.texts[TextId::UndownloadedData] +
                                                 QStringLiteral("\r\r") +
                                                 m_state.texts[TextId::StartLosesDataQuestion]))
        return;
      break;
    case RecordingButtonAction::OpenSettings:
      break;
  }
  openRecordingSettings();
}

// The dialogs are modal and closed by themselves or by the next state
// refresh; each is deleted once its exec() has returned.
void MainWindow::openRecordingSettings() {
  auto* dialog = new RecordingSettingsDialog(
      m_state.texts, RecordingPreset::fromStatus(m_state.status, m_state.modelName), *m_prompts, {},
      this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setLinkBusy(linkBusy());
  connect(dialog, &RecordingSettingsDialog::startRequested, this,
          [this](const LogStartRequest& request) {
            note(*m_ui.noticePanel,
                 m_link->requests().startRecording(request, civil(QDateTime::currentDateTime())));
          });
  dialog->exec();
}

void MainWindow::openNameDialog() {
  auto* dialog = new LoggerNameDialog(m_state.texts, m_state.status.loggerName, m_state.modelName,
                                      *m_prompts, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setLinkBusy(linkBusy());
  connect(dialog, &LoggerNameDialog::nameChosen, this, [this](const QString& name) {
    note(*m_ui.noticePanel, m_link->requests().setLoggerName(name));
  });
  dialog->exec();
}

void MainWindow::openClockDialog() {
  auto* dialog = new ClockDialog(m_state.texts, {}, Timings{}.clock, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setLinkBusy(linkBusy());
  connect(dialog, &ClockDialog::setClockRequested, this, [this] {
    // One reading of the clock for every field the logger receives.
    note(*m_ui.noticePanel, m_link->requests().setClock(civil(QDateTime::currentDateTime())));
  });
  dialog->exec();
}

void MainWindow::openPortSettings() {
  for (PortSettingsDialog* old : findChildren<PortSettingsDialog*>()) old->reject();
  auto* dialog = new PortSettingsDialog(m_state.texts, m_state.chosenPort,
                                        m_link->connection().isConnected(), this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &PortSettingsDialog::connectRequested, this, [this, dialog](int port) {
    if (!m_link->connection().connectOnce(port)) dialog->discoveryFinished(false);
  });
  connect(dialog, &PortSettingsDialog::disconnectRequested, this,
          [this] { m_link->connection().disconnect(); });
  connect(&m_link->connection(), &Connection::progress, dialog,
          &PortSettingsDialog::discoveryProgress);
  connect(&m_link->connection(), &Connection::connected, dialog,
          [dialog] { dialog->discoveryFinished(true); });
  connect(&m_link->connection(), &Connection::notFound, dialog,
          [dialog] { dialog->discoveryFinished(false); });
  connect(&m_link->connection(), &Connection::stateChanged, dialog, [this, dialog] {
    if (!m_link->connection().isConnecting())
      dialog->discoveryFinished(m_link->connection().isConnected());
  });
  dialog->exec();
}

}  // namespace termika
