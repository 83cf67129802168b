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
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

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
#include "ui/MessageBoxPrompts.h"
#include "ui/dialogs/DownloadProgressDialog.h"
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

QToolButton* smallButton(const char* name, const QString& text) {
  QToolButton* b = make<QToolButton>(name);
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
      m_saveOffer(std::make_unique<CsvSaveOffer>(state, *m_prompts)) {
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
  named<QComboBox>("Combo4")->setCurrentText(QString::number(m_state.chosenPort));

  m_views = new DataViews(m_state, *this, *named<QLabel>("StatusBar1_2"));
  m_prompts->setNoticeBoard(
      [panel = named<QLabel>("StatusBar1_2")](const QString& text) { panel->setText(text); });
  // A desktop without a documents folder starts in the home folder instead.
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  m_prompts->setUnchosenFolder(m_settings.defaults().workingFolder,
                               QFileInfo(documents).isDir() ? documents : QDir::homePath());
  m_reservationTimer.setSingleShot(true);
  connect(&m_reservationTimer, &QTimer::timeout, this, &MainWindow::reservationDue);
  m_views->setRefresh([this] { refreshState(); });
  connectActions();
  connectViewChoices();

  refreshState();
  named<QRadioButton>("Option5")->setChecked(true);
  named<QRadioButton>("Option8")->setChecked(true);
  sizeToScreen();
}

void MainWindow::buildWindow() {
  const UiText& texts = m_state.texts;
  setWindowTitle(texts[TextId::WindowTitle]);
  menuBar()->setObjectName(QStringLiteral("MenuBar"));
  buildMainMenu(*menuBar(), texts);
  connect(named<QAction>("m14"), &QAction::triggered, this, &QWidget::close);

  auto* content = make<QWidget>("Main_Picture");
  auto* column = tight(new QVBoxLayout(content));
  column->addWidget(buildTopRow());

  auto* panelRow = new QHBoxLayout;
  panelRow->addWidget(buildStatusPanel(), 1);
  panelRow->addWidget(buildCommandColumn());
  column->addLayout(panelRow);

  auto* dataRow = new QHBoxLayout;
  dataRow->addWidget(buildMeasureFrame(), 1);
  dataRow->addWidget(buildFileFrame());
  column->addLayout(dataRow);
  column->addWidget(buildDisplayFrames());
  column->addWidget(buildViewArea(), 1);

  auto* scroller = make<QScrollArea>("MainFramePicture");
  scroller->setWidgetResizable(true);
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidget(content);
  setCentralWidget(scroller);
  buildStatusBar();
}

QWidget* MainWindow::buildTopRow() {
  const UiText& texts = m_state.texts;
  auto* row = new QWidget;
  auto* layout = tight(new QHBoxLayout(row));
  layout->setContentsMargins(0, 0, 0, 0);
  auto* lamp = make<Lamp>("Shape1");
  layout->addWidget(lamp);
  QLabel* connection = label("Label49");
  connection->setMinimumWidth(90);
  layout->addWidget(connection);
  QPushButton* connectButton = button("Command20", QString());
  connectButton->setIconSize(QSize(24, 24));
  connectButton->setFixedSize(36, 30);
  layout->addWidget(connectButton);
  layout->addSpacing(8);
  layout->addWidget(label("Caption270", texts[TextId::PortNumber]));
  layout->addWidget(make<QComboBox>("Combo4"));
  layout->addWidget(make<QComboBox>("Combo1"));
  layout->addWidget(make<QComboBox>("Combo3"));
  layout->addWidget(button("Command27", QStringLiteral("INIT")));
  layout->addStretch(1);
  layout->addWidget(label("Label24"));
  return row;
}

QWidget* MainWindow::buildStatusPanel() {
  const UiText& texts = m_state.texts;
  QGroupBox* box = groupBox("StatusFrame", texts[TextId::StatusFrame]);
  auto* grid = tight(new QGridLayout(box));
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  grid->addWidget(label("Caption101", texts[TextId::StatusOperation]), 0, 0);
  grid->addWidget(value("Label16"), 0, 1);
  grid->addWidget(label("Caption102", texts[TextId::StatusBattery]), 0, 2);
  grid->addWidget(value("Label7"), 0, 3);

  grid->addWidget(label("Caption103", texts[TextId::StatusStartTime]), 1, 0);
  QLabel* start = value("Label26");
  start->setMinimumWidth(130);
  grid->addWidget(start, 1, 1);
  grid->addWidget(label("Caption106", texts[TextId::StatusRecordMode]), 1, 2);
  grid->addWidget(value("Label48"), 1, 3);

  grid->addWidget(label("Caption104", texts[TextId::StatusRecordedPoints]), 2, 0);
  grid->addWidget(value("Label21"), 2, 1);
  grid->addWidget(label("Caption105", texts[TextId::StatusRecordInterval]), 2, 2);
  auto* interval = new QHBoxLayout;
  interval->setSpacing(4);
  interval->addWidget(value("Label6"), 1);
  QLabel* seconds = value("Label19");
  seconds->setMinimumWidth(40);
  interval->addWidget(seconds);
  grid->addLayout(interval, 2, 3);

  // The English alarm captions are long: they wrap rather than widen the panel.
  QLabel* upper = label("Label31", texts[TextId::StatusUpperLimit]);
  upper->setWordWrap(true);
  grid->addWidget(upper, 3, 0);
  grid->addWidget(value("Label29"), 3, 1);
  QLabel* lower = label("Label32", texts[TextId::StatusLowerLimit]);
  lower->setWordWrap(true);
  grid->addWidget(lower, 3, 2);
  grid->addWidget(value("Label46"), 3, 3);

  grid->addWidget(label("Caption50", texts[TextId::PanelLoggerName]), 4, 0);
  auto* name = new QHBoxLayout;
  name->setSpacing(4);
  name->addWidget(value("Label14"), 1);
  QPushButton* setName = button("Command13", texts[TextId::NameSetButton]);
  setName->setMaximumHeight(24);
  name->addWidget(setName);
  grid->addLayout(name, 4, 1);
  QLabel* notice = value("Label8");
  notice->setFrameShape(QFrame::NoFrame);
  grid->addWidget(notice, 4, 2, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  return box;
}

QWidget* MainWindow::buildCommandColumn() {
  const UiText& texts = m_state.texts;
  QGroupBox* box = groupBox("CommandFrame", QString());
  auto* layout = tight(new QVBoxLayout(box));
  layout->addWidget(button("Command11", texts[TextId::UpdateButton]));
  layout->addWidget(button("Command5", texts[TextId::DownloadButton]));
  QLabel* recording = label("Caption111", texts[TextId::RecordingCaption]);
  recording->setAlignment(Qt::AlignHCenter);
  layout->addWidget(recording);
  layout->addWidget(button("Command4", texts[TextId::RecordButton]));
  auto* data = new QHBoxLayout;
  data->addWidget(label("Caption113", texts[TextId::LogDataCaption]));
  for (QPushButton* b : {button("Command21", texts[TextId::SaveLogButton]),
                         button("Command24", texts[TextId::PrintLogButton])}) {
    b->setMinimumWidth(0);
    b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    data->addWidget(b);
  }
  layout->addLayout(data);
  layout->addStretch(1);
  return box;
}

QWidget* MainWindow::buildMeasureFrame() {
  const UiText& texts = m_state.texts;
  QGroupBox* box = groupBox("MeasureFrame", texts[TextId::MeasureFrame]);
  auto* grid = tight(new QGridLayout(box));
  grid->setVerticalSpacing(3);

  auto* requests = new QHBoxLayout;
  requests->addWidget(button("Command1", texts[TextId::MeasureOnceButton]));
  requests->addWidget(button("Command2", texts[TextId::MeasureContinuouslyButton]));
  requests->addSpacing(8);
  requests->addWidget(label("Caption153", texts[TextId::SpacingCaption]));
  requests->addWidget(make<QComboBox>("Combo5"));
  auto* unit = make<QWidget>("IntervalUnit");
  auto* unitLayout = new QHBoxLayout(unit);
  unitLayout->setContentsMargins(0, 0, 0, 0);
  unitLayout->addWidget(option("Option3", texts[TextId::SpacingSeconds]));
  unitLayout->addWidget(option("Option4", texts[TextId::SpacingMinutes]));
  requests->addWidget(unit);
  requests->addStretch(1);
  grid->addLayout(requests, 0, 0, 1, 8);

  grid->addWidget(label("Caption157", texts[TextId::MeasuredValues]), 1, 0);
  grid->addWidget(label("Caption158", texts[TextId::MeasuredDate]), 1, 1, Qt::AlignRight);
  QLabel* time = value("Label10");
  time->setMinimumWidth(130);
  grid->addWidget(time, 1, 2, 1, 3);
  grid->addWidget(label("Caption102b", texts[TextId::StatusBattery]), 1, 5, Qt::AlignRight);
  grid->addWidget(value("Label39"), 1, 6);
  grid->addWidget(label("Caption159", texts[TextId::MeasuredTemperature]), 2, 1, Qt::AlignRight);
  grid->addWidget(value("Label2"), 2, 2);
  grid->addWidget(label("Caption160", texts[TextId::MeasuredHumidity]), 2, 3, Qt::AlignRight);
  grid->addWidget(value("Label4"), 2, 4);

  auto* data = new QHBoxLayout;
  data->addWidget(label("Caption161", texts[TextId::RealTimeDataCaption]));
  data->addWidget(button("Command22", texts[TextId::SaveRealTimeButton]));
  data->addWidget(button("Command23", texts[TextId::PrintRealTimeButton]));
  data->addStretch(1);
  grid->addLayout(data, 2, 5, 1, 3);
  grid->setColumnStretch(7, 1);
  return box;
}

QWidget* MainWindow::buildFileFrame() {
  const UiText& texts = m_state.texts;
  QGroupBox* box = groupBox("FileDataFrame", texts[TextId::FileDataFrame]);
  auto* layout = tight(new QVBoxLayout(box));
  layout->addWidget(label("Caption207", texts[TextId::FileDataCaption]));
  layout->addWidget(button("Command14", texts[TextId::OpenFileButton]));
  layout->addWidget(button("Command25", texts[TextId::PrintFileButton]));
  QLabel* fileName = label("FileNameLabel");
  fileName->setMaximumWidth(180);
  layout->addWidget(fileName);
  layout->addStretch(1);
  return box;
}

QWidget* MainWindow::buildDisplayFrames() {
  const UiText& texts = m_state.texts;
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  QGroupBox* sets = groupBox("Frame8", texts[TextId::PanelShownSet]);
  auto* setLayout = tight(new QHBoxLayout(sets));
  setLayout->addWidget(option("Option5", texts[TextId::PanelLogSet]));
  setLayout->addWidget(option("Option6", texts[TextId::PanelRealTimeSet]));
  setLayout->addWidget(option("Option7", texts[TextId::PanelFileSet]));
  layout->addWidget(sets);
  QGroupBox* views = groupBox("Frame11", QString());
  auto* viewLayout = tight(new QHBoxLayout(views));
  viewLayout->addWidget(option("Option8", texts[TextId::PanelGraph]));
  viewLayout->addWidget(option("Option9", texts[TextId::PanelDump]));
  layout->addWidget(views, 0, Qt::AlignBottom);
  QLabel* shown = label("Label3");
  QFont bold = shown->font();
  bold.setBold(true);
  shown->setFont(bold);
  layout->addSpacing(8);
  layout->addWidget(shown, 0, Qt::AlignBottom);
  layout->addStretch(1);
  return row;
}

void MainWindow::buildGraph(QGridLayout& grid, int firstRow, const char* graphName, int firstScroll,
                            const char* zoomOut, const char* zoomIn, bool withTimeButtons) {
  GraphView* graph = make<GraphView>(graphName);
  // Below this the labels crowd the curve; the content area scrolls instead.
  graph->setMinimumSize(240, 200);
  grid.addWidget(graph, firstRow, 0, 3, 1);

  const QByteArray span = "VScroll" + QByteArray::number(firstScroll);
  const QByteArray centre = "VScroll" + QByteArray::number(firstScroll + 1);
  const QByteArray width = "HScroll" + QByteArray::number(firstScroll);
  const QByteArray offset = "HScroll" + QByteArray::number(firstScroll + 1);
  auto* spanBar = make<QScrollBar>(span.constData());
  spanBar->setOrientation(Qt::Vertical);
  auto* centreBar = make<QScrollBar>(centre.constData());
  centreBar->setOrientation(Qt::Vertical);
  grid.addWidget(spanBar, firstRow, 1, 3, 1);
  grid.addWidget(centreBar, firstRow, 2, 3, 1);
  grid.addWidget(smallButton(zoomIn, QStringLiteral("+")), firstRow, 3);
  grid.addWidget(smallButton(zoomOut, QStringLiteral("\u2212")), firstRow + 1, 3);
  if (withTimeButtons)
    grid.addWidget(smallButton("Command12", QStringLiteral("\u25CE")), firstRow + 2, 3,
                   Qt::AlignTop);

  auto* widthBar = make<QScrollBar>(width.constData());
  widthBar->setOrientation(Qt::Horizontal);
  auto* offsetBar = make<QScrollBar>(offset.constData());
  offsetBar->setOrientation(Qt::Horizontal);
  grid.addWidget(widthBar, firstRow + 3, 0);
  grid.addWidget(offsetBar, firstRow + 4, 0);
  if (withTimeButtons) {
    // Halving the time width magnifies, like the value zoom's "+".
    grid.addWidget(smallButton("Command17", QStringLiteral("+")), firstRow + 3, 1, 1, 2);
    grid.addWidget(smallButton("Command18", QStringLiteral("\u2212")), firstRow + 4, 1, 1, 2);
  }
  grid.setRowStretch(firstRow + 2, 1);
}

QWidget* MainWindow::buildViewArea() {
  auto* stack = make<QStackedWidget>("ViewStack");

  // One grid holds both graphs, so they always share one width and the same
  // time sits at the same x in both, whichever controls are shown beside them.
  auto* graphs = make<QWidget>("GraphPage");
  auto* grid = new QGridLayout(graphs);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);
  grid->setColumnStretch(0, 1);  // the graphs take the room the hidden bars leave
  constexpr int kHumidityRow = 6;
  buildGraph(*grid, 0, "ondo", 1, "Command10", "Command3", true);
  grid->setRowMinimumHeight(kHumidityRow - 1, 6);
  buildGraph(*grid, kHumidityRow, "situdo", 3, "Command15", "Command16", false);
  stack->addWidget(graphs);

  // The state table shows the list of the current set and hides the others.
  auto* dumps = make<QWidget>("DumpPage");
  auto* dumpLayout = new QVBoxLayout(dumps);
  dumpLayout->setContentsMargins(0, 0, 0, 0);
  for (const char* name : {"ListView1_0", "ListView1_1", "ListView1_2"}) {
    QTableView* list = make<QTableView>(name);
    list->setMinimumHeight(200);
    dumpLayout->addWidget(list);
  }
  stack->addWidget(dumps);
  return stack;
}

void MainWindow::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar1"));
  QLabel* connection = label("StatusBar1_1");
  connection->setMinimumWidth(150);
  bar->addWidget(connection);
  bar->addWidget(label("StatusBar1_2"), 1);
  bar->addPermanentWidget(label("StatusBar1_3"));
}

void MainWindow::fillLists() {
  auto* baud = named<QComboBox>("Combo1");
  baud->addItems({QStringLiteral("9600"), QStringLiteral("14400"), QStringLiteral("19200"),
                  QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("115200")});
  baud->setCurrentText(m_state.baudSetting);
  connect(baud, &QComboBox::activated, this, &MainWindow::baudRateChosen);

  auto* model = named<QComboBox>("Combo3");
  model->addItems({kModelWithoutAlarms, kModelWithAlarms, kModelTreatedAsAbsent});
  connect(model, &QComboBox::activated, this, &MainWindow::modelChosen);

  auto* interval = named<QComboBox>("Combo5");
  for (int i = 2; i <= 60; ++i) interval->addItem(QString::number(i));
  interval->setCurrentText(QStringLiteral("5"));
  named<QRadioButton>("Option3")->setChecked(true);

  auto* port = named<QComboBox>("Combo4");
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
  setMaximumSize(limits.maximum);
  resize(initialWindowSize(screen->availableGeometry().size(), limits));
}

void MainWindow::closeRefreshedDialogs() {
  for (const QString& name : dialogsClosedOnRefresh()) {
    for (QDialog* dialog : findChildren<QDialog*>(name)) {
      if (dialog->isVisible()) dialog->reject();
    }
  }
}

void MainWindow::refreshState() {
  // Stopping the link below may end an exchange, which asks for a refresh.
  if (m_refreshing) return;
  m_refreshing = true;
  closeRefreshedDialogs();
  // The about box must not show the version of a logger no longer there.
  if (!m_state.connected) m_state.status.firmwareVersion.clear();
  StateInputs inputs = StateInputs::from(m_state);
  inputs.downloading = m_download && m_download->running();
  const MainWindowState s = mainWindowStateFor(inputs);
  m_state.modelName = s.modelName;
  applyMainWindowState(*this, s);
  named<QLabel>("StatusBar1_1")->setText(s.statusBarText);
  if (m_connectPictureOn != static_cast<int>(s.connectPictureOn)) {
    m_connectPictureOn = static_cast<int>(s.connectPictureOn);
    named<QPushButton>("Command20")->setIcon(connectPicture(s.connectPictureOn));
  }
  const ControlState lamp = s.of(QStringLiteral("Shape1"));
  if (lamp.background) named<Lamp>("Shape1")->setColor(toColor(*lamp.background, *this));
  auto* model = named<QComboBox>("Combo3");
  model->setPlaceholderText(m_state.modelName);
  model->setCurrentIndex(model->findText(m_state.modelName));
  if (s.stopLink) {
    if (m_exchange) m_exchange->stopLink();
    setBusyPointer(false);
    if (m_downloadDialog != nullptr) m_downloadDialog->close();
  }
  named<QStackedWidget>("ViewStack")->setCurrentIndex(m_state.viewMode == 0 ? 0 : 1);
  const char* setOptions[] = {"Option5", "Option6", "Option7"};
  named<QRadioButton>(setOptions[m_state.currentSet])->setChecked(true);
  named<QRadioButton>(m_state.viewMode == 0 ? "Option8" : "Option9")->setChecked(true);
  QLabel* fileName = named<QLabel>("FileNameLabel");
  fileName->setText(inputs.fileSetFile);
  fileName->setToolTip(QDir::toNativeSeparators(m_state.fileSetFile));
  watchReservation();
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

void MainWindow::baudRateChosen() {
  m_state.baudSetting = named<QComboBox>("Combo1")->currentText();
}

void MainWindow::modelChosen() {
  m_state.modelName = named<QComboBox>("Combo3")->currentText();
  setWindowTitle(m_state.texts[TextId::WindowTitle] + m_state.modelName);
}

void MainWindow::portChosen() {
  bool ok = false;
  const int port = named<QComboBox>("Combo4")->currentText().toInt(&ok);
  if (!ok) return;
  m_state.chosenPort = port;
  saveSettings();
}

void MainWindow::saveSettings() {
  if (Result<void> saved = termika::saveSettings(m_settings, m_state); !saved) {
    qWarning("%s", qUtf8Printable(saved.error().message));
  }
}

void MainWindow::updateClock() { named<QLabel>("StatusBar1_3")->setText(fmt::dateTime(m_clock())); }

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
  m_clockTimer.stop();
  // Every other window goes with the main window.
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window != this && window->isVisible()) window->close();
  }
}

}  // namespace termika
