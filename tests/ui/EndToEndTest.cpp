// The whole window against the simulated logger, in process: connect, read
// the status, download, and find the logger's points in the dump list.
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QTableView>
#include <QTimer>

#include "EventWait.h"
#include "WindowTest.h"
#include "core/data/DayTime.h"
#include "core/link/Exchange.h"
#include "core/sessions/Download.h"
#include "sim/SimScenario.h"
#include "sim/SimulatedPort.h"
#include "ui/dialogs/DownloadProgressDialog.h"
#include "ui/graph/GraphView.h"

namespace termika {
namespace {

using testing::waitUntil;

constexpr int kScale = 10;

// A QM120-RH logger that recorded 25 points a minute apart from 07:00.
constexpr char kScenario[] = R"({
  "name": "window end to end", "model": "QM120-RH", "firmware": [1, 5], "loggerName": "E2E1",
  "clock": "2026-12-05 07:25:10", "state": "idle", "recordMode": "one-time",
  "interval": {"unit": "minutes", "value": 1},
  "alarms": {"upper": {"celsius": 30, "on": true}, "lower": {"celsius": 10, "on": false}},
  "battery": {"count": 940},
  "recording": {"blocks": [{"start": "2026-12-05 07:00:00", "points": 25}]},
  "sensor": {"seed": 7, "temperatureMean": 22, "temperatureSwing": 3, "humidityMean": 50,
             "humiditySwing": 10, "noise": 0.1}
})";

// With TERMIKA_SHOT_DIR set, the window is saved at each stage for a look.
void shoot(QWidget& window, const char* stage) {
  const QString folder = qEnvironmentVariable("TERMIKA_SHOT_DIR");
  if (!folder.isEmpty()) window.grab().save(folder + QLatin1Char('/') + QLatin1String(stage));
}

class EndToEndTest : public WindowTest {
 protected:
  virtual QByteArray scenarioJson() const { return kScenario; }
  void SetUp() override {
    Result<SimScenario> scenario = parseScenario(scenarioJson());
    ASSERT_TRUE(scenario.ok()) << scenario.error().message.toStdString();
    m_port = std::make_unique<SimulatedPort>(*scenario, kScale);
    Result<PortMap> map = PortMap::fromTemplate(QStringLiteral("/nonexistent/tty%1"));
    ASSERT_TRUE(map.ok());
    open(UiText::Language::Japanese, [&](MainWindow& window) {
      LoggerLinkParts link;
      link.pins = std::make_unique<NoAdapterPins>();
      link.map = *map;
      // Only port 1 has a logger behind it.
      link.factory = [this](int port) -> std::unique_ptr<Transport> {
        return port == 1 ? m_port->makeTransport() : nullptr;
      };
      link.timings = Timings{}.scaled(kScale);
      window.attachLink(std::move(link));
      // The window's clock is the logger's calendar, which runs kScale times faster.
      window.setClock([this, start = scenario->clockSeconds] {
        const CivilTime c = civilFromSeconds(start + m_port->virtualNow() / 1000);
        return QDateTime(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second));
      });
    });
    // No question is expected on this road; any message box that opens is
    // noted and answered No so the test fails instead of hanging.
    m_boxes.setInterval(5);
    QObject::connect(&m_boxes, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        m_messages << box->text();
        box->done(QMessageBox::No);
      }
    });
    m_boxes.start();
  }
  void TearDown() override {
    m_boxes.stop();
    WindowTest::TearDown();
  }
  // Runs until `done` holds and the link is idle.
  bool settle(const std::function<bool()>& done) {
    return waitUntil([&] { return done() && !m_window->exchange()->isBusy(); });
  }
  void connect() {
    QTest::mouseClick(ui().connectButton, Qt::LeftButton);
    ASSERT_TRUE(settle([this] { return m_state->connected; })) << said();
  }
  DownloadProgressDialog* progressDialog() const {
    return m_window->findChild<DownloadProgressDialog*>();
  }
  std::string said() const { return m_messages.join(QStringLiteral(" | ")).toStdString(); }
  QString cell(int row, int column) const {
    const QAbstractItemModel* model = find<QTableView>(Control::LogDumpList)->model();
    return model->data(model->index(row, column)).toString();
  }

  std::unique_ptr<SimulatedPort> m_port;
  QTimer m_boxes;
  QStringList m_messages;
};

TEST_F(EndToEndTest, ConnectsReadsTheStatusAndDownloadsIntoTheDumpList) {
  connect();
  EXPECT_EQ(m_state->modelName, QStringLiteral("QM120-RH"));
  EXPECT_EQ(text({Control::ConnectionText, Control::LoggerName, Control::RecordingState,
                  Control::RecordedPoints, Control::UpperAlarm, Control::LowerAlarm}),
            QStringLiteral("通信中|E2E1|記録停止|25 点|30 ℃|OFF"));
  EXPECT_TRUE(find<QAbstractButton>(Control::DownloadButton)->isEnabled());
  shoot(*m_window, "connected.png");

  // Every step the progress window shows: the bar's value and maximum.
  std::vector<std::pair<int, int>> steps;
  auto* bar = progressDialog()->findChild<QProgressBar*>();
  QObject::connect(bar, &QProgressBar::valueChanged,
                   [&](int value) { steps.emplace_back(value, bar->maximum()); });
  click(Control::DownloadButton);
  ASSERT_TRUE(settle([this] { return m_state->set(kLogSet).count == 25; })) << said();
  EXPECT_EQ(m_messages, QStringList());
  EXPECT_TRUE(m_port->logger().downloaded());  // the window holds the set
  // The bar never steps back, and its total is set once.
  ASSERT_FALSE(steps.empty());
  EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end())) << steps.size();
  EXPECT_EQ(steps.back(), std::pair(25, 25));
  EXPECT_TRUE(std::all_of(steps.begin(), steps.end(),
                          [](const auto& s) { return s.first == 0 || s.second == 25; }));
  // The list holds every point, oldest first, a minute apart.
  ASSERT_EQ(find<QTableView>(Control::LogDumpList)->model()->rowCount(), 25);
  EXPECT_EQ(cell(0, 0) + ' ' + cell(0, 1), QStringLiteral("00001 2026/12/05 07:00:00"));
  EXPECT_EQ(cell(24, 0) + ' ' + cell(24, 1), QStringLiteral("00025 2026/12/05 07:24:00"));
  // Each extreme is marked once, on one row.
  for (const char* mark : {"最高温度", "最低温度", "最高湿度", "最低湿度"}) {
    int seen = 0;
    for (int row = 0; row < 25; ++row) seen += cell(row, 4).count(QString::fromUtf8(mark));
    EXPECT_EQ(seen, 1) << mark;
  }
  // The log set is shown and drawn.
  EXPECT_EQ(m_state->currentSet, kLogSet);
  EXPECT_FALSE(find<GraphView>(Control::TemperatureGraph)->image().isNull());
  EXPECT_TRUE(find<QAbstractButton>(Control::SaveLogButton)->isEnabled());  // something to save
  EXPECT_FALSE(progressDialog()->isVisible());
  EXPECT_TRUE(m_port->logger().downloaded());  // the window holds the set
  shoot(*m_window, "downloaded.png");
  click(Control::DumpRadio);
  EXPECT_TRUE(find<QTableView>(Control::LogDumpList)->isVisible());
  shoot(*m_window, "dump.png");

  // Disconnecting keeps the downloaded set (a plug click right after the
  // connecting one would be taken for a double click).
  QTest::qWait(550);
  QTest::mouseClick(ui().connectButton, Qt::LeftButton);
  ASSERT_TRUE(waitUntil([this] { return !m_state->connected; }));
  EXPECT_EQ(text({Control::ConnectionText}), QStringLiteral("未接続"));
  EXPECT_EQ(m_state->set(kLogSet).count, 25);
  EXPECT_EQ(m_state->set(kLogSet).model, QStringLiteral("QM120-RH"));
}

// One graph's time axis (plot sides, window width) and whether its picture
// has the widget's size.
QString timeAxis(const GraphView& v) {
  const GraphGeometry& g = v.geometry();
  return QStringLiteral("%1..%2 of %3s %4")
      .arg(g.plotBox.left())
      .arg(g.plotBox.right())
      .arg(g.userLeft)
      .arg(v.image().size() == v.size() ? "fresh" : "stale");
}

TEST_F(EndToEndTest, MeasurementsShowTheRealTimeSetNewestFirstOnOneTimeAxis) {
  connect();
  click(Control::MeasureOnceButton);
  ASSERT_TRUE(settle([this] { return m_state->set(kRealTimeSet).count == 1; })) << said();
  EXPECT_EQ(m_state->currentSet, kRealTimeSet);
  EXPECT_TRUE(find<QAbstractButton>(Control::RealTimeSetRadio)->isChecked());
  EXPECT_FALSE(text({Control::LiveTemperature}).isEmpty() ||
               text({Control::LiveHumidity}).isEmpty() || text({Control::LiveTime}).isEmpty());
  EXPECT_EQ(text({Control::BatteryIndicator}), QStringLiteral("正常"));  // battery fine
  EXPECT_TRUE(
      find<QAbstractButton>(Control::SaveRealTimeButton)->isEnabled());  // something to save
  EXPECT_EQ(m_messages, QStringList());

  // A series (the one-time point is not kept) lists its newest point first.
  find<QComboBox>(Control::SpacingCombo)->setCurrentIndex(0);  // a point every 2 s
  click(Control::ContinuousButton);
  ASSERT_TRUE(waitUntil([this] { return m_state->set(kRealTimeSet).count >= 3; })) << said();
  const QTableView* list = find<QTableView>(Control::RealTimeDumpList);
  EXPECT_EQ(list->model()->index(0, 0).data().toString(),
            QStringLiteral("%1").arg(m_state->set(kRealTimeSet).count, 5, 10, QLatin1Char('0')));
  EXPECT_EQ(list->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

  const GraphView& t = *find<GraphView>(Control::TemperatureGraph);
  const GraphView& h = *find<GraphView>(Control::HumidityGraph);
  const auto shared = [&] {
    return timeAxis(t) == timeAxis(h) && timeAxis(t).endsWith(QStringLiteral("fresh"));
  };
  const auto axes = [&] { return (timeAxis(t) + " | " + timeAxis(h)).toStdString(); };
  EXPECT_TRUE(waitUntil(shared, 2000)) << axes();
  // Stopping (the save question is answered No) and resizing the window
  // redraw both graphs at their new size, on one time axis. The pause keeps
  // the stop click from counting as a double click.
  QTest::qWait(550);
  click(Control::ContinuousButton);
  ASSERT_TRUE(waitUntil([this] { return m_state->runState == RunState::Idle; })) << said();
  EXPECT_TRUE(waitUntil(shared, 2000)) << axes();
  const int widthBefore = t.width();
  m_window->resize(m_window->minimumSize());
  EXPECT_TRUE(waitUntil([&] { return t.width() != widthBefore && shared(); }, 2000)) << axes();
}

// The port list shows where the scan found the logger and the battery answer of the connect
// is on the panel; a double click on Continuous starts one series; a download locks every
// set, view, print, open and speed choice and blanks the live values until it ends.
TEST_F(EndToEndTest, PanelAfterConnectDoubleClicksAndTheDownloadLock) {
  QTest::keyClick(find<QComboBox>(Control::PortCombo), Qt::Key_7);
  connect();
  EXPECT_EQ(text({Control::PortCombo, Control::BatteryIndicator}), QStringLiteral("1|正常"));
  EXPECT_EQ(m_state->chosenPort, 1);

  click(Control::ContinuousButton);
  click(Control::ContinuousButton);
  EXPECT_EQ(m_state->runState, RunState::Continuous);
  ASSERT_TRUE(settle([this] { return m_state->set(kRealTimeSet).count >= 1; })) << said();
  QTest::qWait(550);
  click(Control::ContinuousButton);
  ASSERT_TRUE(settle([this] { return m_state->runState == RunState::Idle; })) << said();
  EXPECT_FALSE(text({Control::LiveTemperature}).isEmpty());

  click(Control::DownloadButton);
  ASSERT_TRUE(m_window->download()->running());
  ControlList enabled;
  for (Control control :
       {Control::LogSetRadio, Control::RealTimeSetRadio, Control::FileSetRadio, Control::GraphRadio,
        Control::DumpRadio, Control::DisplayMenu, Control::PrintItem, Control::OpenCsvItem,
        Control::SaveMenu, Control::OpenCsvButton, Control::SaveRealTimeButton,
        Control::PrintRealTimeButton, Control::PrintFileButton, Control::FastDownloadItem,
        Control::SlowDownloadItem, Control::MeasureOnceButton, Control::ContinuousButton,
        Control::RecordButton}) {
    if (ui().object(control)->property("enabled").toBool()) enabled.push_back(control);
  }
  EXPECT_EQ(enabled, ControlList());
  EXPECT_EQ(text({Control::LiveTemperature, Control::LiveHumidity, Control::LiveTime}),
            QStringLiteral("||"));
  ASSERT_TRUE(settle([this] { return m_state->set(kLogSet).count == 25; })) << said();
  EXPECT_TRUE(find<QAction>(Control::SlowDownloadItem)->isEnabled());
  EXPECT_TRUE(find<QAbstractButton>(Control::RealTimeSetRadio)->isEnabled());
}

// The logger changes by itself: the panel follows without a click.
struct SelfChange {
  const char* name;
  const char* json;
  const char* before;  // how the recording state and points start
  const char* after;   // and how they start once it happened
};

class SelfChangeTest : public EndToEndTest, public ::testing::WithParamInterface<SelfChange> {
 protected:
  QByteArray scenarioJson() const override { return GetParam().json; }
};

TEST_P(SelfChangeTest, TheStatusIsReadAgainWhenItHappens) {
  connect();
  const auto shown = [this] { return text({Control::RecordingState, Control::RecordedPoints}); };
  EXPECT_TRUE(shown().startsWith(QString::fromUtf8(GetParam().before))) << shown().toStdString();
  EXPECT_TRUE(
      waitUntil([&] { return shown().startsWith(QString::fromUtf8(GetParam().after)); }, 15000))
      << shown().toStdString();
  EXPECT_EQ(m_messages, QStringList());
  press(Qt::Key_F5);  // the status update button's read
  EXPECT_TRUE(m_window->exchange()->isBusy());
}

// A reservation 20 s (2 s at kScale) after the logger's clock; a one-time
// recording two seconds apart whose 15000th point is 19 s away.
INSTANTIATE_TEST_SUITE_P(
    Logger, SelfChangeTest,
    ::testing::Values(SelfChange{"ReservedStart",
                                 R"({"model": "QM120-RH", "clock": "2026-12-05 07:25:40",
            "state": "reserved", "reservation": {"day": 5, "hour": 7, "minute": 26}})",
                                 "予約中|0 点", "記録中|"},
                      SelfChange{"MemoryFull",
                                 R"({"model": "QM120-RH", "clock": "2026-12-05 15:19:39",
            "state": "recording", "recordMode": "one-time", "interval": {"unit": "seconds",
            "value": 2}, "recording": {"blocks": [{"start": "2026-12-05 07:00:00", "points": 14990}]}})",
                                 "記録中|", "記録停止|15000 点"}),
    [](const ::testing::TestParamInfo<SelfChange>& info) { return info.param.name; });

}  // namespace
}  // namespace termika
