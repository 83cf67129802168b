// The whole window against the simulated logger, in process: connect, read
// the status, download, and find the logger's points in the dump list.

#include "SessionTestSupport.h"
#include "UiTestSupport.h"
#include "core/sessions/Download.h"

namespace termika {
namespace {

using testing::kScale;
using testing::waitUntil;

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

class EndToEndTest : public WindowTest {
 protected:
  virtual SimScenario scenario() const { return testing::scenarioFrom(kScenario); }
  void SetUp() override {
    const SimScenario scenario = this->scenario();
    m_port = std::make_unique<SimulatedPort>(scenario, kScale);
    // Port 1 reaches the simulated logger, every timing kScale times shorter.
    open(UiText::Language::Japanese, [&](MainWindow& window) {
      LoggerLinkParts link;
      link.pins = std::make_unique<NoAdapterPins>();
      link.map = *PortMap::fromTemplate(QStringLiteral("/nonexistent/tty%1"));
      link.factory = [this](int n) { return n == 1 ? m_port->makeTransport() : nullptr; };
      link.timings = Timings{}.scaled(kScale);
      window.attachLink(std::move(link));
      // The window's clock is the logger's calendar, which runs kScale times faster.
      window.setClock([this, start = scenario.clockSeconds] {
        const CivilTime c = civilFromSeconds(start + m_port->virtualNow() / 1000);
        return QDateTime(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second));
      });
    });
    // Every message box that opens is noted, for the tests to compare with what they expect, and
    // answered No so that none hangs.
    m_boxes.setInterval(5);
    QObject::connect(&m_boxes, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        m_messages << box->text();
        box->done(QMessageBox::No);
      }
    });
    m_boxes.start();
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

  std::unique_ptr<SimulatedPort> m_port;
  QTimer m_boxes;
  QStringList m_messages;
};

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

// The port list shows where the scan found the logger and the panel the status read at the
// connect. A single measurement shows the real-time set; a double click on Continuous starts one
// series, listed newest first. A download locks the choices (a widget, a menu and an item here;
// the whole lock is StateRulesTest's) and blanks the live values until it ends with the logger's
// points in the dump list; disconnecting keeps them.
TEST_F(EndToEndTest, ConnectMeasureAndDownloadIntoTheDumpList) {
  QTest::keyClick(find<QComboBox>(Control::PortCombo), Qt::Key_7);
  connect();
  EXPECT_EQ(text({Control::PortCombo, Control::BatteryIndicator, Control::ConnectionText,
                  Control::LoggerName, Control::RecordingState, Control::RecordedPoints,
                  Control::UpperAlarm, Control::LowerAlarm}) +
                ' ' + m_state->modelName + QStringLiteral(" %1").arg(m_state->chosenPort),
            QStringLiteral("1|正常|通信中|E2E1|記録停止|25 点|30 ℃|OFF QM120-RH 1"));
  click(Control::MeasureOnceButton);
  ASSERT_TRUE(settle([this] { return m_state->set(kRealTimeSet).count == 1; })) << said();
  EXPECT_EQ(checks({Control::RealTimeSetRadio}), QStringLiteral("1"));  // the set shown
  EXPECT_FALSE(text({Control::LiveTemperature, Control::LiveHumidity, Control::LiveTime})
                   .split(u'|')
                   .contains(QString()));
  EXPECT_EQ(m_messages, QStringList());

  // A series (the one-time point is not kept) lists its newest point first.
  find<QComboBox>(Control::SpacingCombo)->setCurrentIndex(0);  // a point every 2 s
  click(Control::ContinuousButton);
  click(Control::ContinuousButton);
  EXPECT_EQ(m_state->runState, RunState::Continuous);
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
  ASSERT_TRUE(settle([this] { return m_state->runState == RunState::Idle; })) << said();
  EXPECT_TRUE(waitUntil(shared, 2000)) << axes();
  const int widthBefore = t.width();
  m_window->resize(m_window->minimumSize());
  EXPECT_TRUE(waitUntil([&] { return t.width() != widthBefore && shared(); }, 2000)) << axes();

  // Every step the progress window shows: the bar's value and maximum.
  m_messages.clear();  // the series' save questions, answered No
  std::vector<std::pair<int, int>> steps;
  auto* bar = progressDialog()->findChild<QProgressBar*>();
  QObject::connect(bar, &QProgressBar::valueChanged,
                   [&](int value) { steps.emplace_back(value, bar->maximum()); });
  click(Control::DownloadButton);
  ASSERT_TRUE(m_window->download()->running());
  EXPECT_EQ(notEnabled({Control::RealTimeSetRadio, Control::DisplayMenu, Control::SlowDownloadItem},
                       false),
            ControlList());
  EXPECT_EQ(text({Control::LiveTemperature, Control::LiveHumidity, Control::LiveTime}),
            QStringLiteral("||"));
  ASSERT_TRUE(settle([this] { return m_state->set(kLogSet).count == 25; })) << said();
  EXPECT_EQ(m_messages, QStringList());
  EXPECT_EQ(notEnabled({Control::SlowDownloadItem, Control::RealTimeSetRadio}, true),
            ControlList());
  // The bar never steps back and ends full.
  EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()) && !steps.empty() &&
              steps.back() == std::pair(25, 25))
      << steps.size();
  // The list holds every point, oldest first, a minute apart (their marks: DumpModelTest).
  const QAbstractItemModel* log = find<QTableView>(Control::LogDumpList)->model();
  ASSERT_EQ(log->rowCount(), 25);
  EXPECT_EQ(log->index(0, 0).data().toString() + ' ' + log->index(24, 0).data().toString() + ' ' +
                log->index(24, 1).data().toString(),
            QStringLiteral("00001 00025 2026/12/05 07:24:00"));
  // The log set is shown and drawn.
  EXPECT_FALSE(m_state->currentSet != kLogSet || t.image().isNull());
  EXPECT_FALSE(progressDialog()->isVisible());
  EXPECT_TRUE(m_port->logger().downloaded());  // the window holds the set

  // Disconnecting keeps the downloaded set (a plug click right after the
  // connecting one would be taken for a double click).
  QTest::qWait(550);
  QTest::mouseClick(ui().connectButton, Qt::LeftButton);
  ASSERT_TRUE(waitUntil([this] { return !m_state->connected; }));
  EXPECT_EQ(text({Control::ConnectionText}) + ' ' + m_state->set(kLogSet).model +
                QStringLiteral(" %1").arg(m_state->set(kLogSet).count),
            QStringLiteral("未接続 QM120-RH 25"));
}

// A reservation 20 s (2 s at kScale) after the logger's clock starts by itself: the panel
// follows without a click.
class SelfStartTest : public EndToEndTest {
 protected:
  SimScenario scenario() const override {
    return testing::scenarioFrom(R"({"model": "QM120-RH", "clock": "2026-12-05 07:25:40",
        "state": "reserved", "reservation": {"day": 5, "hour": 7, "minute": 26}})");
  }
};

TEST_F(SelfStartTest, TheStatusIsReadAgainWhenTheReservedRecordingStarts) {
  connect();
  const auto shown = [this] { return text({Control::RecordingState, Control::RecordedPoints}); };
  EXPECT_EQ(shown(), QStringLiteral("予約中|0 点"));
  EXPECT_TRUE(waitUntil([&] { return shown().startsWith(QStringLiteral("記録中|")); }, 15000))
      << shown().toStdString();
  EXPECT_EQ(m_messages, QStringList());
  press(Qt::Key_F5);  // the status update button's read
  EXPECT_TRUE(m_window->exchange()->isBusy());
}

// Cancelling a slow download from the progress window of a logger holding 204 points.
class DownloadCancelTest : public EndToEndTest {
 protected:
  SimScenario scenario() const override { return testing::scenarioFile(testing::kThreeBlocks); }
};

TEST_F(DownloadCancelTest, CancelKeepsAPartialSetThatIsSavedAndReopenedWithItsCount) {
  connect();
  ui().slowDownloadItem->trigger();
  click(Control::DownloadButton);
  const DataSet& log = m_state->set(kLogSet);
  ASSERT_TRUE(waitUntil([&] { return log.count >= 20; }));
  DownloadProgressDialog* dialog = progressDialog();
  ASSERT_TRUE(dialog->isVisible() && dialog->controls().cancelButton->isEnabled());
  QTest::mouseClick(dialog->controls().cancelButton, Qt::LeftButton);
  ASSERT_TRUE(settle([this] { return !m_window->download()->running(); }));
  const int kept = log.count;
  EXPECT_TRUE(kept >= 20 && kept < 204) << kept;
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_FALSE(m_port->logger().downloaded());
  EXPECT_EQ(ui().partialPanel->isVisible() ? ui().partialPanel->text() : QString(),
            QStringLiteral("partial: %1 of 204 points").arg(kept));

  // The saved file's header announces the points it holds.
  const QString path = m_dir.filePath(QStringLiteral("part.csv"));
  ASSERT_TRUE(writeCsvFile(path, log, m_state->file(kLogSet), m_state->texts).ok());
  ASSERT_TRUE(m_window->openCsvFile(path));
  EXPECT_EQ(std::pair(m_state->set(kFileSet).announcedCount, m_state->set(kFileSet).count),
            std::pair(kept, kept));
  EXPECT_FALSE(ui().partialPanel->isVisible());  // the file set is shown
}

}  // namespace
}  // namespace termika
