// The whole window against the simulated logger, in process: connect, read
// the status, download, and find the logger's points in the dump list.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "core/app/AppState.h"
#include "core/app/ProgramFiles.h"
#include "core/link/Exchange.h"
#include "core/sim/SimScenario.h"
#include "core/sim/SimulatedPort.h"
#include "ui/MainWindow.h"
#include "ui/graph/GraphView.h"

namespace termika {
namespace {

constexpr int kScale = 10;

// A QM120-RH logger that recorded 25 points a minute apart from 07:00.
constexpr char kScenario[] = R"({
  "name": "window end to end",
  "model": "QM120-RH",
  "firmware": [1, 5],
  "loggerName": "E2E1",
  "clock": "2026-12-05 07:25:10",
  "state": "idle",
  "recordMode": "one-time",
  "interval": {"unit": "minutes", "value": 1},
  "alarms": {"upper": {"celsius": 30, "on": true}, "lower": {"celsius": 10, "on": false}},
  "battery": {"count": 940},
  "recording": {"blocks": [{"start": "2026-12-05 07:00:00", "points": 25}]},
  "sensor": {"seed": 7, "temperatureMean": 22, "temperatureSwing": 3, "humidityMean": 50,
             "humiditySwing": 10, "noise": 0.1}
})";

bool waitUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

// With TERMIKA_SHOT_DIR set, the window is saved at each stage for a look.
void shoot(QWidget& window, const char* stage) {
  const QString folder = qEnvironmentVariable("TERMIKA_SHOT_DIR");
  if (!folder.isEmpty()) window.grab().save(folder + QLatin1Char('/') + QLatin1String(stage));
}

class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    Result<SimScenario> scenario = parseScenario(QByteArray(kScenario));
    ASSERT_TRUE(scenario.ok()) << scenario.error().message.toStdString();
    m_port = std::make_unique<SimulatedPort>(*scenario, kScale);
    m_files = std::make_unique<ProgramFiles>(m_dir.path());
    ASSERT_TRUE(m_files->open(m_state).ok());
    m_window =
        std::make_unique<MainWindow>(m_state, Settings(m_dir.path(), m_dir.path()), *m_files);

    LinkParts link;
    link.pins = std::make_unique<NoAdapterPins>();
    Result<PortMap> map = PortMap::fromTemplate(QStringLiteral("/nonexistent/tty%1"));
    ASSERT_TRUE(map.ok());
    link.map = *map;
    // Only port 1 has a logger behind it.
    link.factory = [this](int port) -> std::unique_ptr<Transport> {
      if (port != 1) return nullptr;
      return m_port->makeTransport();
    };
    link.timings = Timings{}.scaled(kScale);
    m_window->attachLink(std::move(link));
    m_window->resize(1200, 900);
    m_window->show();

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
    m_window.reset();
    m_files->close(m_state);
  }
  template <typename T>
  T* find(const char* name) const {
    return m_window->findChild<T*>(QString::fromLatin1(name));
  }
  QString cell(int row, int column) const {
    const QAbstractItemModel* model = find<QTableView>("ListView1_0")->model();
    return model->data(model->index(row, column)).toString();
  }

  QTemporaryDir m_dir;
  AppState m_state;
  std::unique_ptr<SimulatedPort> m_port;
  std::unique_ptr<ProgramFiles> m_files;
  std::unique_ptr<MainWindow> m_window;
  QTimer m_boxes;
  QStringList m_messages;
};

TEST_F(EndToEndTest, ConnectsReadsTheStatusAndDownloadsIntoTheDumpList) {
  QTest::mouseClick(find<QAbstractButton>("Command20"), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([this] { return m_state.Connected && !m_window->exchange()->isBusy(); }))
      << m_messages.join(QStringLiteral(" | ")).toStdString();
  EXPECT_EQ(m_state.ModelName, QStringLiteral("QM120-RH"));
  EXPECT_EQ(find<QLabel>("Label49")->text(), QStringLiteral("通信中"));
  EXPECT_EQ(find<QLabel>("Label14")->text(), QStringLiteral("E2E1"));
  EXPECT_EQ(find<QLabel>("Label16")->text(), QStringLiteral("記録停止"));
  EXPECT_EQ(find<QLabel>("Label21")->text(), QStringLiteral("25 点"));
  EXPECT_EQ(find<QLabel>("Label29")->text(), QStringLiteral("30 ℃"));
  EXPECT_EQ(find<QLabel>("Label46")->text(), QStringLiteral("OFF"));
  EXPECT_TRUE(find<QAbstractButton>("Command5")->isEnabled());
  shoot(*m_window, "connected.png");

  QTest::mouseClick(find<QAbstractButton>("Command5"), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([this] {
    return m_state.set(kLogSet).Count == 25 && !m_window->exchange()->isBusy();
  })) << m_messages.join(QStringLiteral(" | ")).toStdString();
  EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral(" | ")).toStdString();

  // The list holds every point, oldest first, a minute apart.
  ASSERT_EQ(find<QTableView>("ListView1_0")->model()->rowCount(), 25);
  EXPECT_EQ(cell(0, 0), QStringLiteral("00001"));
  EXPECT_EQ(cell(0, 1), QStringLiteral("2026/12/05 07:00:00"));
  EXPECT_EQ(cell(24, 0), QStringLiteral("00025"));
  EXPECT_EQ(cell(24, 1), QStringLiteral("2026/12/05 07:24:00"));
  // Each extreme is marked once, on one row.
  for (const QString& mark : {QStringLiteral("最高温度"), QStringLiteral("最低温度"),
                              QStringLiteral("最高湿度"), QStringLiteral("最低湿度")}) {
    int seen = 0;
    for (int row = 0; row < 25; ++row) seen += cell(row, 4).count(mark);
    EXPECT_EQ(seen, 1) << mark.toStdString();
  }
  // The log set is shown and drawn.
  EXPECT_EQ(m_state.CurrentSet, kLogSet);
  EXPECT_FALSE(find<GraphView>("ondo")->image().isNull());
  EXPECT_TRUE(find<QAbstractButton>("Command21")->isEnabled());  // something to save
  EXPECT_FALSE(find<QWidget>("Form3")->isVisible());
  shoot(*m_window, "downloaded.png");
  QTest::mouseClick(find<QAbstractButton>("Option9"), Qt::LeftButton);
  EXPECT_TRUE(find<QTableView>("ListView1_0")->isVisible());
  shoot(*m_window, "dump.png");
  QTest::mouseClick(find<QAbstractButton>("Option8"), Qt::LeftButton);
  QTest::mouseClick(find<QAbstractButton>("Command17"), Qt::LeftButton);
  QTest::mouseClick(find<QAbstractButton>("Command3"), Qt::LeftButton);
  shoot(*m_window, "zoomed.png");

  // Disconnecting keeps the downloaded set.
  QTest::mouseClick(find<QAbstractButton>("Command20"), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([this] { return !m_state.Connected; }));
  EXPECT_EQ(find<QLabel>("Label49")->text(), QStringLiteral("未接続"));
  EXPECT_EQ(m_state.set(kLogSet).Count, 25);
  EXPECT_EQ(m_state.set(kLogSet).Model, QStringLiteral("QM120-RH"));
}

TEST_F(EndToEndTest, ASingleMeasurementShowsTheRealTimeSet) {
  QTest::mouseClick(find<QAbstractButton>("Command20"), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([this] { return m_state.Connected && !m_window->exchange()->isBusy(); }));
  QTest::mouseClick(find<QAbstractButton>("Command1"), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([this] {
    return m_state.set(kRealTimeSet).Count == 1 && !m_window->exchange()->isBusy();
  })) << m_messages.join(QStringLiteral(" | ")).toStdString();
  EXPECT_EQ(m_state.CurrentSet, kRealTimeSet);
  EXPECT_TRUE(find<QRadioButton>("Option6")->isChecked());
  EXPECT_EQ(find<QTableView>("ListView1_1")->model()->rowCount(), 1);
  EXPECT_FALSE(find<QLabel>("Label2")->text().isEmpty());
  EXPECT_FALSE(find<QLabel>("Label4")->text().isEmpty());
  EXPECT_FALSE(find<QLabel>("Label10")->text().isEmpty());
  EXPECT_EQ(find<QLabel>("Label39")->text(), QStringLiteral("正常"));  // battery fine
  EXPECT_TRUE(find<QAbstractButton>("Command22")->isEnabled());        // something to save
  EXPECT_TRUE(m_messages.isEmpty()) << m_messages.join(QStringLiteral(" | ")).toStdString();
}

}  // namespace
}  // namespace termika
