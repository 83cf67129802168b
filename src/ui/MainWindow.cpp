#include "ui/MainWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "core/app/Preferences.h"
#include "core/app/ProgramFiles.h"
#include "core/app/Shutdown.h"
#include "core/app/StateRules.h"
#include "core/app/WindowLimits.h"
#include "core/data/Formats.h"
#include "core/data/LoggerModel.h"
#include "core/link/Exchange.h"
#include "core/link/Timings.h"
#include "core/model/AppState.h"
#include "core/sessions/Connection.h"
#include "core/sessions/DeviceRequests.h"
#include "core/sessions/Download.h"
#include "core/sessions/LinkLoss.h"
#include "core/sessions/RealTimeMeasurement.h"
#include "ui/ConnectPicture.h"
#include "ui/DataViews.h"
#include "ui/Lamp.h"
#include "ui/MainMenu.h"
#include "ui/MainWindowStateApplier.h"
#include "ui/MainWindowTips.h"
#include "ui/MessageBoxPrompts.h"
#include "ui/dialogs/ClockDialog.h"
#include "ui/dialogs/DownloadProgressDialog.h"
#include "ui/dialogs/LoggerNameDialog.h"
#include "ui/dialogs/PortSettingsDialog.h"
#include "ui/dialogs/RecordingSettingsDialog.h"
#include "ui/graph/GraphView.h"

namespace termika {
namespace {

template <typename W>
W* make(const char* name, QWidget* parent = nullptr) {
  auto* widget = new W(parent);
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* label(const char* name, const QString& text = {}) {
  QLabel* l = make<QLabel>(name);
  l->setText(text);
  return l;
}

// A value label: framed so an empty value still shows where it goes.
QLabel* value(const char* name) {
  QLabel* l = label(name);
  l->setFrameShape(QFrame::StyledPanel);
  l->setFrameShadow(QFrame::Sunken);
  l->setMinimumWidth(48);
  l->setAutoFillBackground(true);
  return l;
}

QPushButton* button(const char* name, const QString& text) {
  QPushButton* b = make<QPushButton>(name);
  b->setText(text);
  b->setAutoDefault(false);
  return b;
}

QToolButton* smallButton(const QString& text) {
  auto* b = new QToolButton;
  b->setText(text);
  b->setFixedSize(24, 22);
  return b;
}

QRadioButton* option(const char* name, const QString& text) {
  QRadioButton* r = make<QRadioButton>(name);
  r->setText(text);
  return r;
}

QGroupBox* groupBox(const char* name, const QString& title) {
  QGroupBox* g = make<QGroupBox>(name);
  g->setTitle(title);
  return g;
}

template <typename Layout>
Layout* tight(Layout* layout) {
  layout->setContentsMargins(6, 4, 6, 4);
  layout->setSpacing(4);
  return layout;
}

}  // namespace

MainWindow::MainWindow(AppState& state, Settings settings, ProgramFiles& files, QWidget* parent)
    : QMainWindow(parent),
      m_state(state),
      m_settings(std::move(settings)),
      m_files(files),
      m_prompts(std::make_unique<MessageBoxPrompts>(this, state)),
      m_saveOffer(std::make_unique<CsvSaveOffer>(state, *m_prompts)),
      m_preferences(std::make_unique<Preferences>(QFileInfo(m_settings.path()).absolutePath())) {
  setObjectName(QStringLiteral("MainWindow"));
  setUpWindow();
}

MainWindow::~MainWindow() = default;

UserPrompts& MainWindow::prompts() { return *m_prompts; }

void MainWindow::setLinkStopper(std::function<void()> stop) { m_stopLink = std::move(stop); }

// Start-up: the texts are loaded with the state; the record files are open
// before the window exists (a failure there ends the program with a message).
void MainWindow::setUpWindow() {
  buildWindow();  // menus (download mode: fast), captions, title
  m_clockTimer.setInterval(Timings{}.clock);
  connect(&m_clockTimer, &QTimer::timeout, this, &MainWindow::updateClock);
  m_clockTimer.start();
  updateClock();

  fillLists();
  m_state.set(kRealTimeSet).count = 0;
  m_state.currentSet = kLogSet;

  Result<SettingsValues> values = m_settings.load();
  if (!values) qWarning("%s", qUtf8Printable(values.error().message));
  applySettings(m_state, values ? *values : m_settings.defaults());
  m_ui.portCombo->setCurrentText(QString::number(m_state.chosenPort));

  m_views = new DataViews(m_state, *this, m_ui);
  m_prompts->setNoticeBoard(
      [panel = m_ui.noticePanel](const QString& text) { panel->setText(text); });
  // A desktop without a documents folder starts in the home folder instead.
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  m_prompts->setUnchosenFolder(m_settings.defaults().workingFolder,
                               QFileInfo(documents).isDir() ? documents : QDir::homePath());
  m_recent = RecentFiles::loadFrom(*m_preferences);
  recentFilesChanged();
  m_views->setRefresh([this] { refreshState(); });
  connectActions();
  connectViewChoices();

  refreshState();
  m_ui.setRadios[kLogSet]->setChecked(true);
  m_ui.graphRadio->setChecked(true);
  sizeToScreen();
}

void MainWindow::buildWindow() {
  const UiText& texts = m_state.texts;
  setWindowTitle(texts[TextId::WindowTitle]);
  buildMainMenu(*menuBar(), texts, m_ui);
  connect(m_ui.exitItem, &QAction::triggered, this, &QWidget::close);

  // The panels keep their order down a column of their own, which scrolls on
  // a short screen; the graphs or the dump take everything the window gains.
  auto* panels = make<QWidget>("panels");
  auto* column = tight(new QVBoxLayout(panels));
  column->addWidget(buildTopRow());
  column->addWidget(buildStatusPanel());
  column->addWidget(buildCommandColumn());
  column->addWidget(buildMeasureFrame());
  column->addWidget(buildFileFrame());
  column->addStretch(1);

  auto* scroller = make<QScrollArea>("panelScroller");
  scroller->setWidgetResizable(true);
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroller->setWidget(panels);
  scroller->setMinimumWidth(panels->sizeHint().width() +
                            scroller->verticalScrollBar()->sizeHint().width());

  auto* views = make<QWidget>("views");
  auto* viewColumn = tight(new QVBoxLayout(views));
  viewColumn->addWidget(buildDisplayFrames());
  viewColumn->addWidget(buildViewArea(), 1);

  QSplitter* split = m_ui.viewSplit = make<QSplitter>("viewSplit");
  split->addWidget(scroller);
  split->addWidget(views);
  split->setChildrenCollapsible(false);
  split->setStretchFactor(0, 0);
  split->setStretchFactor(1, 1);
  setCentralWidget(split);
  buildStatusBar();
  setToolTips(m_ui);
}

QWidget* MainWindow::buildTopRow() {
  const UiText& texts = m_state.texts;
  auto* row = new QWidget;
  auto* layout = tight(new QHBoxLayout(row));
  layout->setContentsMargins(0, 0, 0, 0);
  m_ui.lamp = make<Lamp>("lamp");
  layout->addWidget(m_ui.lamp);
  m_ui.connectionText = label("connectionText");
  // Wide enough for either state's text, so the row never cuts it off.
  const QFontMetrics metrics = m_ui.connectionText->fontMetrics();
  m_ui.connectionText->setMinimumWidth(
      std::max(metrics.horizontalAdvance(texts[TextId::NotConnected]),
               metrics.horizontalAdvance(texts[TextId::Communicating])) +
      4);
  layout->addWidget(m_ui.connectionText);
  m_ui.connectButton = button("connectButton", QString());
  m_ui.connectButton->setIconSize(QSize(24, 24));
  m_ui.connectButton->setFixedSize(36, 30);
  layout->addWidget(m_ui.connectButton);
  layout->addSpacing(8);
  layout->addWidget(label("portCaption", texts[TextId::PortNumber]));
  layout->addWidget(m_ui.portCombo = make<QComboBox>("portCombo"));
  layout->addWidget(m_ui.baudCombo = make<QComboBox>("baudCombo"));
  layout->addWidget(m_ui.modelCombo = make<QComboBox>("modelCombo"));
  layout->addWidget(m_ui.initButton = button("initButton", QStringLiteral("INIT")));
  layout->addStretch(1);
  layout->addWidget(m_ui.loggerClock = label("loggerClock"));
  return row;
}

QWidget* MainWindow::buildStatusPanel() {
  const UiText& texts = m_state.texts;
  QGroupBox* box = groupBox("statusPanel", texts[TextId::StatusFrame]);
  auto* grid = tight(new QGridLayout(box));
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  grid->addWidget(label("recordingStateCaption", texts[TextId::StatusOperation]), 0, 0);
  grid->addWidget(m_ui.recordingState = value("recordingState"), 0, 1);
  grid->addWidget(label("batteryVoltageCaption", texts[TextId::StatusBattery]), 0, 2);
  grid->addWidget(m_ui.batteryVoltage = value("batteryVoltage"), 0, 3);

  grid->addWidget(label("recordingStartCaption", texts[TextId::StatusStartTime]), 1, 0);
  m_ui.recordingStart = value("recordingStart");
  m_ui.recordingStart->setMinimumWidth(130);
  grid->addWidget(m_ui.recordingStart, 1, 1);
  grid->addWidget(label("recordingModeCaption", texts[TextId::StatusRecordMode]), 1, 2);
  grid->addWidget(m_ui.recordingMode = value("recordingMode"), 1, 3);

  grid->addWidget(label("recordedPointsCaption", texts[TextId::StatusRecordedPoints]), 2, 0);
  grid->addWidget(m_ui.recordedPoints = value("recordedPoints"), 2, 1);
  grid->addWidget(label("intervalCaption", texts[TextId::StatusRecordInterval]), 2, 2);
  auto* interval = new QHBoxLayout;
  interval->setSpacing(4);
  interval->addWidget(m_ui.intervalText = value("intervalText"), 1);
  m_ui.intervalSeconds = value("intervalSeconds");
  m_ui.intervalSeconds->setMinimumWidth(40);
  interval->addWidget(m_ui.intervalSeconds);
  grid->addLayout(interval, 2, 3);

  // The English alarm captions are long: they wrap rather than widen the panel.
  m_ui.upperAlarmCaption = label("upperAlarmCaption", texts[TextId::StatusUpperLimit]);
  m_ui.upperAlarmCaption->setWordWrap(true);
  grid->addWidget(m_ui.upperAlarmCaption, 3, 0);
  grid->addWidget(m_ui.upperAlarm = value("upperAlarm"), 3, 1);
  m_ui.lowerAlarmCaption = label("lowerAlarmCaption", texts[TextId::StatusLowerLimit]);
  m_ui.lowerAlarmCaption->setWordWrap(true);
  grid->addWidget(m_ui.lowerAlarmCaption, 3, 2);
  grid->addWidget(m_ui.lowerAlarm = value("lowerAlarm"), 3, 3);

  grid->addWidget(label("loggerNameCaption", texts[TextId::PanelLoggerName]), 4, 0);
  auto* name = new QHBoxLayout;
  name->setSpacing(4);
  name->addWidget(m_ui.loggerName = value("loggerName"), 1);
  m_ui.nameButton = button("nameButton", texts[TextId::NameSetButton]);
  m_ui.nameButton->setMaximumHeight(24);
  name->addWidget(m_ui.nameButton);
  grid->addLayout(name, 4, 1);
  m_ui.stopNotice = value("stopNotice");
  m_ui.stopNotice->setFrameShape(QFrame::NoFrame);
  grid->addWidget(m_ui.stopNotice, 4, 2, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  return box;
}

QWidget* MainWindow::buildCommandColumn() {
  const UiText& texts = m_state.texts;
  QGroupBox* box = groupBox("commandColumn", QString());
  // Two columns under the status panel, read row by row in the old order.
  auto* layout = tight(new QGridLayout(box));
  layout->addWidget(
      m_ui.statusUpdateButton = button("statusUpdateButton", texts[TextId::UpdateButton]), 0, 0);
  layout->addWidget(m_ui.downloadButton = button("downloadButton", texts[TextId::DownloadButton]),
                    0, 1);
  QLabel* recording = label("recordingCaption", texts[TextId::RecordingCaption]);
  recording->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  layout->addWidget(recording, 1, 0);
  layout->addWidget(m_ui.recordButton = button("recordButton", texts[TextId::RecordButton]), 1, 1);
  auto* data = new QHBoxLayout;
  data->addWidget(label("logDataCaption", texts[TextId::LogDataCaption]));
  m_ui.saveLogButton = button("saveLogButton", texts[TextId::SaveLogButton]);
  m_ui.printLogButton = button("printLogButton", texts[TextId::PrintLogButton]);
  for (QPushButton* b : {m_ui.saveLogButton, m_ui.printLogButton}) {
    b->setMinimumWidth(0);
    b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    data->addWidget(b);
  }
  layout->addLayout(data, 2, 0, 1, 2);
  return box;
}

QWidget* MainWindow::buildMeasureFrame() {
  const UiText& texts = m_state.texts;
  QGroupBox* box = groupBox("measurementFrame", texts[TextId::MeasureFrame]);
  auto* grid = tight(new QGridLayout(box));
  grid->setVerticalSpacing(3);

  auto* requests = new QHBoxLayout;
  requests->addWidget(m_ui.measureOnceButton =
                          button("measureOnceButton", texts[TextId::MeasureOnceButton]));
  requests->addWidget(m_ui.continuousButton =
                          button("continuousButton", texts[TextId::MeasureContinuouslyButton]));
  requests->addSpacing(8);
  requests->addWidget(label("spacingCaption", texts[TextId::SpacingCaption]));
  requests->addWidget(m_ui.spacingCombo = make<QComboBox>("spacingCombo"));
  auto* unit = make<QWidget>("spacingUnit");
  auto* unitLayout = new QHBoxLayout(unit);
  unitLayout->setContentsMargins(0, 0, 0, 0);
  unitLayout->addWidget(m_ui.spacingSecondsRadio =
                            option("spacingSecondsRadio", texts[TextId::SpacingSeconds]));
  unitLayout->addWidget(m_ui.spacingMinutesRadio =
                            option("spacingMinutesRadio", texts[TextId::SpacingMinutes]));
  requests->addWidget(unit);
  requests->addStretch(1);
  grid->addLayout(requests, 0, 0, 1, 8);

  grid->addWidget(label("measurementsCaption", texts[TextId::MeasuredValues]), 1, 0);
  grid->addWidget(label("liveTimeCaption", texts[TextId::MeasuredDate]), 1, 1, Qt::AlignRight);
  m_ui.liveTime = value("liveTime");
  m_ui.liveTime->setMinimumWidth(130);
  grid->addWidget(m_ui.liveTime, 1, 2, 1, 3);
  grid->addWidget(label("batteryIndicatorCaption", texts[TextId::StatusBattery]), 1, 5,
                  Qt::AlignRight);
  grid->addWidget(m_ui.batteryIndicator = value("batteryIndicator"), 1, 6);
  grid->addWidget(label("liveTemperatureCaption", texts[TextId::MeasuredTemperature]), 2, 1,
                  Qt::AlignRight);
  grid->addWidget(m_ui.liveTemperature = value("liveTemperature"), 2, 2);
  grid->addWidget(label("liveHumidityCaption", texts[TextId::MeasuredHumidity]), 2, 3,
                  Qt::AlignRight);
  grid->addWidget(m_ui.liveHumidity = value("liveHumidity"), 2, 4);

  auto* data = new QHBoxLayout;
  data->addWidget(label("realTimeDataCaption", texts[TextId::RealTimeDataCaption]));
  data->addWidget(m_ui.saveRealTimeButton =
                      button("saveRealTimeButton", texts[TextId::SaveRealTimeButton]));
  data->addWidget(m_ui.printRealTimeButton =
                      button("printRealTimeButton", texts[TextId::PrintRealTimeButton]));
  data->addStretch(1);
  grid->addLayout(data, 2, 5, 1, 3);
  grid->setColumnStretch(7, 1);
  return box;
}

QWidget* MainWindow::buildFileFrame() {
  const UiText& texts = m_state.texts;
  QGroupBox* box = groupBox("fileDataFrame", texts[TextId::FileDataFrame]);
  auto* layout = tight(new QVBoxLayout(box));
  layout->addWidget(label("fileDataCaption", texts[TextId::FileDataCaption]));
  layout->addWidget(m_ui.openCsvButton = button("openCsvButton", texts[TextId::OpenFileButton]));
  layout->addWidget(m_ui.printFileButton =
                        button("printFileButton", texts[TextId::PrintFileButton]));
  m_ui.fileNameLabel = label("fileNameLabel");
  m_ui.fileNameLabel->setMaximumWidth(180);
  layout->addWidget(m_ui.fileNameLabel);
  layout->addStretch(1);
  return box;
}

QWidget* MainWindow::buildDisplayFrames() {
  const UiText& texts = m_state.texts;
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  m_ui.setChoice = groupBox("setChoice", texts[TextId::PanelShownSet]);
  auto* setLayout = tight(new QHBoxLayout(m_ui.setChoice));
  m_ui.setRadios = {option("logSetRadio", texts[TextId::PanelLogSet]),
                    option("realTimeSetRadio", texts[TextId::PanelRealTimeSet]),
                    option("fileSetRadio", texts[TextId::PanelFileSet])};
  for (QRadioButton* radio : m_ui.setRadios) setLayout->addWidget(radio);
  layout->addWidget(m_ui.setChoice);
  m_ui.viewChoice = groupBox("viewChoice", QString());
  auto* viewLayout = tight(new QHBoxLayout(m_ui.viewChoice));
  viewLayout->addWidget(m_ui.graphRadio = option("graphRadio", texts[TextId::PanelGraph]));
  viewLayout->addWidget(m_ui.dumpRadio = option("dumpRadio", texts[TextId::PanelDump]));
  layout->addWidget(m_ui.viewChoice, 0, Qt::AlignBottom);
  QLabel* shown = m_ui.shownSetCaption = label("shownSetCaption");
  QFont bold = shown->font();
  bold.setBold(true);
  shown->setFont(bold);
  layout->addSpacing(8);
  layout->addWidget(shown, 0, Qt::AlignBottom);
  layout->addStretch(1);
  return row;
}

GraphView* MainWindow::buildGraph(QGridLayout& grid, int firstRow, const char* graphName,
                                  const GraphBars& bars) {
  GraphView* graph = make<GraphView>(graphName);
  // Below this the labels crowd the curve.
  graph->setMinimumSize(240, 120);
  grid.addWidget(graph, firstRow, 0, 3, 1);

  const auto bar = [this](Bar which, Qt::Orientation orientation) {
    auto* scrollBar = new QScrollBar(orientation);
    m_ui.bars[static_cast<size_t>(which)] = scrollBar;
    return scrollBar;
  };
  const auto zoom = [this](ZoomButton which, const QString& text) {
    QToolButton* b = smallButton(text);
    m_ui.zoomButtons[static_cast<size_t>(which)] = b;
    return b;
  };
  grid.addWidget(bar(bars.halfSpan, Qt::Vertical), firstRow, 1, 3, 1);
  grid.addWidget(bar(bars.centre, Qt::Vertical), firstRow, 2, 3, 1);
  grid.addWidget(zoom(bars.narrower, QStringLiteral("+")), firstRow, 3);
  grid.addWidget(zoom(bars.wider, QStringLiteral("\u2212")), firstRow + 1, 3);
  grid.addWidget(bar(bars.width, Qt::Horizontal), firstRow + 3, 0);
  grid.addWidget(bar(bars.offset, Qt::Horizontal), firstRow + 4, 0);
  grid.setRowStretch(firstRow + 2, 1);
  return graph;
}

QWidget* MainWindow::buildViewArea() {
  auto* stack = m_ui.viewStack = make<QStackedWidget>("viewStack");

  // One grid holds both graphs, so they always share one width and the same
  // time sits at the same x in both, whichever controls are shown beside them.
  auto* graphs = make<QWidget>("graphPage");
  auto* grid = new QGridLayout(graphs);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  grid->setColumnStretch(0, 1);  // the graphs take the room the hidden bars leave
  constexpr int kHumidityRow = 6;
  m_ui.temperatureGraph =
      buildGraph(*grid, 0, "temperatureGraph",
                 {TemperatureHalfSpan, TemperatureCentre, TemperatureWidth, TemperatureOffset,
                  ZoomButton::TemperatureSpanNarrower, ZoomButton::TemperatureSpanWider});
  // Only the temperature graph carries the time buttons; they move both graphs.
  m_ui.fitButton = smallButton(QStringLiteral("\u25CE"));
  grid->addWidget(m_ui.fitButton, 2, 3, Qt::AlignTop);
  // Halving the time width magnifies, like the value zoom's "+".
  m_ui.zoomButtons[static_cast<size_t>(ZoomButton::TimeZoomIn)] = smallButton(QStringLiteral("+"));
  m_ui.zoomButtons[static_cast<size_t>(ZoomButton::TimeZoomOut)] =
      smallButton(QStringLiteral("\u2212"));
  grid->addWidget(m_ui.zoomButtons[static_cast<size_t>(ZoomButton::TimeZoomIn)], 3, 1, 1, 2);
  grid->addWidget(m_ui.zoomButtons[static_cast<size_t>(ZoomButton::TimeZoomOut)], 4, 1, 1, 2);
  grid->setRowMinimumHeight(kHumidityRow - 1, 6);
  m_ui.humidityGraph =
      buildGraph(*grid, kHumidityRow, "humidityGraph",
                 {HumidityHalfSpan, HumidityCentre, HumidityWidth, HumidityOffset,
                  ZoomButton::HumiditySpanNarrower, ZoomButton::HumiditySpanWider});
  stack->addWidget(graphs);

  // The state table shows the list of the current set and hides the others.
  auto* dumps = make<QWidget>("dumpPage");
  auto* dumpLayout = new QVBoxLayout(dumps);
  dumpLayout->setContentsMargins(0, 0, 0, 0);
  for (QTableView*& list : m_ui.dumpLists) {
    list = new QTableView;
    list->setMinimumHeight(200);
    dumpLayout->addWidget(list);
  }
  stack->addWidget(dumps);
  return stack;
}

void MainWindow::buildStatusBar() {
  QStatusBar* bar = statusBar();
  m_ui.connectionPanel = label("connectionPanel");
  m_ui.connectionPanel->setMinimumWidth(150);
  bar->addWidget(m_ui.connectionPanel);
  bar->addWidget(m_ui.noticePanel = label("noticePanel"), 1);
  bar->addPermanentWidget(m_ui.partialPanel = label("partialPanel"));
  m_ui.partialPanel->setStyleSheet(QStringLiteral("font-weight: bold"));
  bar->addPermanentWidget(m_ui.clockPanel = label("clockPanel"));
}

void MainWindow::fillLists() {
  QComboBox* baud = m_ui.baudCombo;
  baud->addItems({QStringLiteral("9600"), QStringLiteral("14400"), QStringLiteral("19200"),
                  QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("115200")});
  baud->setCurrentText(m_state.baudSetting);
  connect(baud, &QComboBox::activated, this, &MainWindow::baudRateChosen);

  QComboBox* model = m_ui.modelCombo;
  model->addItems({kModelWithoutAlarms, kModelWithAlarms, kModelTreatedAsAbsent});
  connect(model, &QComboBox::activated, this, &MainWindow::modelChosen);

  QComboBox* interval = m_ui.spacingCombo;
  for (int i = 2; i <= 60; ++i) interval->addItem(QString::number(i));
  interval->setCurrentText(QStringLiteral("5"));
  m_ui.spacingSecondsRadio->setChecked(true);

  QComboBox* port = m_ui.portCombo;
  for (int i = Settings::kLowestPort; i <= Settings::kHighestPort; ++i)
    port->addItem(QString::number(i));
  port->setMaxVisibleItems(16);
  connect(port, &QComboBox::activated, this, &MainWindow::portChosen);
}

void MainWindow::sizeToScreen() {
  const QScreen* screen = this->screen();
  if (!screen) return;
  const WindowLimits limits = windowLimits(screen->logicalDotsPerInch());
  setMinimumSize(limits.minimum);
  resize(initialWindowSize(screen->availableGeometry().size(), limits));
  // Where the last run left the window and its split; the first run fills
  // the screen, frame included.
  if (!restoreGeometry(m_preferences->windowGeometry()))
    setWindowState(windowState() | Qt::WindowMaximized);
  m_ui.viewSplit->restoreState(m_preferences->splitState());
}

void MainWindow::saveWindowLayout() {
  m_preferences->setWindowGeometry(saveGeometry());
  m_preferences->setSplitState(m_ui.viewSplit->saveState());
  if (Result<void> saved = m_preferences->save(); !saved) {
    qWarning("%s", qUtf8Printable(saved.error().message));
  }
}

namespace {

template <typename Dialog>
void rejectOpen(const QWidget& window) {
  for (Dialog* dialog : window.findChildren<Dialog*>()) {
    if (dialog->isVisible()) dialog->reject();
  }
}

}  // namespace

// The dialogs that edit the logger: a state change makes what they show stale.
void MainWindow::closeRefreshedDialogs() {
  rejectOpen<RecordingSettingsDialog>(*this);
  rejectOpen<LoggerNameDialog>(*this);
  rejectOpen<PortSettingsDialog>(*this);
  rejectOpen<ClockDialog>(*this);
}

void MainWindow::refreshState() {
  // Stopping the link below may end an exchange, which asks for a refresh.
  if (m_refreshing) return;
  m_refreshing = true;
  closeRefreshedDialogs();
  // The about box must not show the version of a logger no longer there.
  if (!m_state.connected) m_state.status.firmwareVersion.clear();
  StateInputs inputs = StateInputs::from(m_state);
  inputs.downloading = m_link && m_link->download().running();
  const MainWindowState s = mainWindowStateFor(inputs);
  m_state.modelName = s.modelName;
  applyMainWindowState(*this, m_ui, s);
  m_ui.connectionPanel->setText(s.statusBarText);
  if (m_connectPictureOn != static_cast<int>(s.connectPictureOn)) {
    m_connectPictureOn = static_cast<int>(s.connectPictureOn);
    m_ui.connectButton->setIcon(connectPicture(s.connectPictureOn));
  }
  const ControlState& lamp = s.of(Control::Lamp);
  if (lamp.background) m_ui.lamp->setColor(toColor(*lamp.background, *this));
  QComboBox* model = m_ui.modelCombo;
  model->setPlaceholderText(m_state.modelName);
  model->setCurrentIndex(model->findText(m_state.modelName));
  if (s.stopLink) {
    if (m_link) m_link->exchange().stopLink();
    setBusyPointer(false);
    if (m_downloadDialog != nullptr) m_downloadDialog->close();
  }
  m_ui.viewStack->setCurrentIndex(m_state.viewMode == 0 ? 0 : 1);
  m_ui.setRadios.at(static_cast<size_t>(m_state.currentSet))->setChecked(true);
  (m_state.viewMode == 0 ? m_ui.graphRadio : m_ui.dumpRadio)->setChecked(true);
  QLabel* fileName = m_ui.fileNameLabel;
  fileName->setText(inputs.fileSetFile);
  fileName->setToolTip(QDir::toNativeSeparators(m_state.fileSetFile));
  syncMenuItems(m_ui, m_state.currentSet, m_state.viewMode == 0);
  m_statusWatch.update(m_state.connected && m_link, m_state.runState, m_state.status, m_clock());
  showPartialNote();
  m_refreshing = false;
}

void MainWindow::setBusyPointer(bool busy) {
  if (busy == m_busyPointer) return;
  m_busyPointer = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void MainWindow::baudRateChosen() { m_state.baudSetting = m_ui.baudCombo->currentText(); }

void MainWindow::modelChosen() {
  m_state.modelName = m_ui.modelCombo->currentText();
  setWindowTitle(m_state.texts[TextId::WindowTitle] + m_state.modelName);
}

void MainWindow::portChosen() {
  bool ok = false;
  const int port = m_ui.portCombo->currentText().toInt(&ok);
  if (!ok) return;
  m_state.chosenPort = port;
  saveSettings();
}

void MainWindow::saveSettings() {
  if (Result<void> saved = termika::saveSettings(m_settings, m_state); !saved) {
    qWarning("%s", qUtf8Printable(saved.error().message));
  }
}

void MainWindow::updateClock() {
  m_ui.clockPanel->setText(fmt::dateTime(m_clock()));
  readStatusWhenDue();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!m_closing) {
    if (!offerToSaveBeforeClosing()) {
      event->ignore();
      return;
    }
    shutDown();
  }
  event->accept();
}

bool MainWindow::offerToSaveBeforeClosing() {
  ShutdownSteps steps;
  steps.ask = [this](int set, const QString& prompt) -> std::optional<CloseChoice> {
    const DataSet& data = m_state.set(set);
    if (!data.unsaved || data.count < 1) return std::nullopt;
    return m_prompts->askSaveDiscardCancel(m_state.modelName, prompt);
  };
  steps.save = [this](int set) {
    const bool saved = saveDataSetCsv(m_state, set, *m_prompts) == SaveOutcome::Saved;
    refreshState();
    return saved;
  };
  steps.stopLink = m_stopLink;
  steps.closeFiles = [this] { m_files.close(m_state); };
  steps.saveSettings = [this] { saveSettings(); };
  steps.deleteRecordFiles = [this] {
    const QStringList failed = m_files.remove();
    if (!failed.isEmpty())
      qWarning("Could not delete %s", qUtf8Printable(failed.join(QStringLiteral(", "))));
  };
  return runShutdown(m_state.texts, steps);
}

void MainWindow::shutDown() {
  m_closing = true;
  saveWindowLayout();
  m_clockTimer.stop();
  // Every other window goes with the main window.
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window != this && window->isVisible()) window->close();
  }
}

}  // namespace termika
