#include <gtest/gtest.h>

#include <QFileInfo>
#include <QSignalSpy>

#include "SessionTestSupport.h"
#include "core/data/Conversion.h"
#include "core/sessions/DeviceRequests.h"

namespace termika::testing {
namespace {

// A QM120-RH with alarm limits 26 (on) and -3 (off), and the requests on it.
class DeviceRequestsTest : public ::testing::Test {
 protected:
  SessionBench m_bench{scenarioFrom(R"({
    "model": "QM120-RH", "loggerName": "DR01", "clock": "2026-12-06 09:00:00",
    "interval": {"unit": "minutes", "value": 10},
    "alarms": {"upper": {"celsius": 26, "on": true}, "lower": {"celsius": -3, "on": false}}
  })")};
  DeviceRequests& m_requests = m_bench.requests;
  const CivilTime m_now{2026, 12, 6, 9, 0, 0};
};

TEST_F(DeviceRequestsTest, EveryRequestIsRefusedWhileAnExchangeRuns) {
  ASSERT_TRUE(m_bench.exchange.start(commands::statusUpdateRows()));
  LogStartRequest start;  // one that would be sent when the link is free
  start.name = QStringLiteral("AB12");
  start.model = QStringLiteral("QM120-RH");
  EXPECT_FALSE(m_requests.startRecording(start, m_now).ok());
  EXPECT_FALSE(m_requests.stopRecording().ok());
  EXPECT_FALSE(m_requests.setLoggerName(QStringLiteral("AB12")).ok());
  EXPECT_FALSE(m_requests.setClock(m_now).ok());
  EXPECT_FALSE(m_requests.updateStatus().ok());
  EXPECT_FALSE(m_requests.initAll().ok());
  EXPECT_TRUE(m_bench.prompts.calls.empty());  // INITALL did not even ask
}

// The logger keeps two digits of the year: a clock outside 2000..2099 (an
// unset host clock says 1970) would set it a century off, so nothing is sent.
TEST_F(DeviceRequestsTest, AClockOutsideTheLoggersCenturyIsNeverSent) {
  LogStartRequest start;
  start.model = QStringLiteral("QM120-RH");
  for (const CivilTime& now : {CivilTime{1970, 1, 1, 0, 0, 5}, CivilTime{1999, 12, 31, 23, 59, 0},
                               CivilTime{2100, 1, 1, 0, 0, 0}}) {
    const Result<void> clock = m_requests.setClock(now);
    ASSERT_FALSE(clock.ok()) << now.year;
    EXPECT_TRUE(clock.error().message.contains(QStringLiteral("2000"))) << now.year;
    EXPECT_FALSE(m_requests.startRecording(start, now).ok()) << now.year;
    EXPECT_FALSE(m_bench.exchange.isBusy()) << now.year;  // nothing sent
  }
  EXPECT_TRUE(m_requests.setClock({2099, 12, 31, 23, 59, 59}).ok());
}

// Limits go as counts of the resolution the interval records with: 2 s low, 3 s and more high.
TEST(DeviceRequests, AlarmLimitsAreSentAsCountsOfTheRecordingResolution) {
  ASSERT_NE(*temperatureToRaw(30, 2), *temperatureToRaw(30, 3));
  const struct {
    IntervalUnit unit;
    int value, mode;
  } cases[] = {
      {IntervalUnit::Seconds, 2, 2}, {IntervalUnit::Seconds, 3, 3}, {IntervalUnit::Minutes, 1, 3}};
  for (const auto& c : cases) {
    LogStartRequest r;
    r.intervalUnit = c.unit;
    r.intervalValue = c.value;
    r.upperLimit = 30;
    r.lowerLimit = -5;
    const auto s = DeviceRequests::settingsFor(r, {2026, 12, 6, 9, 0, 0});
    ASSERT_TRUE(s.ok());
    EXPECT_EQ(s->upperRaw, *temperatureToRaw(30, c.mode)) << c.value;
    EXPECT_EQ(s->lowerRaw, *temperatureToRaw(-5, c.mode)) << c.value;
  }
  LogStartRequest bad;
  bad.upperLimit = 90;
  EXPECT_FALSE(DeviceRequests::settingsFor(bad, {2026, 12, 6, 9, 0, 0}).ok());
}

// Start and stop reach the logger; its alarm limits read back as whole degrees.
TEST_F(DeviceRequestsTest, StartAndStopReachTheLoggerAndItsLimitsReadBack) {
  ASSERT_TRUE(m_requests.updateStatus().ok());
  ASSERT_TRUE(m_bench.idle());
  EXPECT_EQ(m_bench.app.status.upperAlarm.limit, 26);
  EXPECT_EQ(m_bench.app.status.lowerAlarm.limit, -3);
  EXPECT_NE(m_bench.app.status.upperAlarm.enabled, 0);
  EXPECT_EQ(m_bench.app.status.lowerAlarm.enabled, 0);
  LogStartRequest r;
  r.name = QStringLiteral("ST01");
  r.model = QStringLiteral("QM120-RH");
  r.loop = true;
  r.intervalUnit = IntervalUnit::Seconds;
  r.intervalValue = 30;
  ASSERT_TRUE(m_requests.startRecording(r, m_now).ok());
  ASSERT_TRUE(m_bench.idle());
  const SimulatedLogger& logger = m_bench.port->logger();
  EXPECT_EQ(logger.recordingState(), RecordingState::Recording);
  EXPECT_EQ(logger.recordMode(), RecordMode::Loop);
  EXPECT_EQ(logger.recordedIntervalSeconds(), 30);
  EXPECT_EQ(logger.loggerName(), QByteArray("ST01"));
  EXPECT_EQ(m_bench.app.runState, RunState::Recording);
  ASSERT_TRUE(m_requests.stopRecording().ok());
  ASSERT_TRUE(m_bench.idle());
  EXPECT_NE(logger.recordingState(), RecordingState::Recording);
}

TEST_F(DeviceRequestsTest, FactoryResetAsksFirstAndSendsOnlyOnYes) {
  QList<QByteArray> written;
  QObject::connect(m_bench.pipe.get(), &PipeTransport::written,
                   [&written](const QByteArray& b) { written << b; });
  m_bench.prompts.askAnswers = {false, true};
  for (const bool yes : {false, true}) {
    const auto sent = m_requests.initAll();
    ASSERT_TRUE(sent.ok());
    EXPECT_EQ(*sent, yes);
    EXPECT_EQ(written, yes ? QList<QByteArray>{"INITALL\xFF"} : QList<QByteArray>{});
  }
  EXPECT_EQ(m_bench.prompts.calls[0].message, m_bench.app.texts[TextId::StartLosesDataQuestion]);
}

constexpr char kLogger[] = R"({
  "model": "QM120-RH", "loggerName": "CN01", "clock": "2026-12-06 09:00:00"
})";

// A logger waiting on port `loggerPort` for the connection to find it.
struct ConnectionBench : SessionBench {
  explicit ConnectionBench(int loggerPort)
      : SessionBench(scenarioFrom(kLogger), kScale, loggerPort) {}

  void fillSet(int index, int count) {
    for (int i = 1; i <= count; ++i) {
      DataRecord r;
      r.recordNo = static_cast<std::int16_t>(i);
      r.dateTime = secondsToDaySerial(at(2026, 12, 1, 0, i, 0));
      (void)app.file(index).write(i, r);
    }
    app.set(index).count = count;
    app.set(index).unsaved = true;
  }

  // Connects to `n` directly and waits until the status read is over.
  bool connectTo(int n) {
    return connection.connectOnce(n) &&
           waitUntil([&] { return connection.isConnected() && !exchange.isBusy(); });
  }
};

TEST(Connection, ScanFindsTheLoggerOnItsPortAndReadsItsStatus) {
  ConnectionBench bench(5);
  QSignalSpy connected(&bench.connection, &Connection::connected);
  QSignalSpy cleared(&bench.connection, &Connection::deviceViewsCleared);
  ASSERT_TRUE(bench.connection.connectOrDisconnect());
  EXPECT_FALSE(bench.connection.connectOrDisconnect());  // the guard: a scan runs
  ASSERT_TRUE(
      waitUntil([&] { return bench.connection.isConnected() && !bench.exchange.isBusy(); }));
  ASSERT_EQ(connected.count(), 1);
  EXPECT_EQ(connected.first().at(0).toInt(), 5);
  EXPECT_EQ(cleared.count(), 1);
  EXPECT_EQ(bench.app.portNumber, 5);
  EXPECT_EQ(bench.app.modelName, QStringLiteral("QM120-RH"));
  EXPECT_EQ(bench.connection.devicePath(), QStringLiteral("/sim/tty5"));
  EXPECT_EQ(bench.app.status.loggerName, QStringLiteral("CN01"));
  EXPECT_TRUE(bench.app.connected);
  EXPECT_TRUE(bench.prompts.calls.empty());  // nothing to save, nothing asked
}

TEST(Connection, YesWithACancelledSaveAsksAgainBeforeAnythingIsLost) {
  ConnectionBench bench(3);
  bench.fillSet(kLogSet, 2);
  bench.fillSet(kRealTimeSet, 1);
  const QString csv = bench.dir.filePath(QStringLiteral("kept.csv"));
  bench.prompts.askAnswers = {true, true, false};
  bench.prompts.saveFiles = {std::nullopt, csv};
  ASSERT_TRUE(bench.connectTo(3));
  const auto asks = bench.prompts.callsOf(ScriptedPrompts::Kind::Ask);
  ASSERT_EQ(asks.size(), 3u);
  const QString log =
      bench.app.texts.joined(TextId::CommunicationLosesDownload, TextId::SaveLogQuestion);
  EXPECT_EQ((QStringList{asks[0].message, asks[1].message, asks[2].message}),
            (QStringList{log, log,
                         bench.app.texts.joined(TextId::CommunicationLosesMeasurements,
                                                TextId::SaveRealTimeQuestion)}));
  EXPECT_GT(QFileInfo(csv).size(), 0);
  for (const int set : {kLogSet, kRealTimeSet}) {  // both empty once the connection stands
    EXPECT_EQ(bench.app.set(set).count, 0) << set;
    EXPECT_FALSE(bench.app.set(set).unsaved) << set;
  }
}

// The connect button disconnects without a word to the logger; a pulled adapter disconnects too.
// A port lost in the middle of an exchange is the fault suite's, over a real pseudo-terminal.
TEST(Connection, ButtonOrPulledAdapterDisconnects) {
  for (const bool pull : {false, true}) {
    ConnectionBench bench(2);
    ASSERT_TRUE(bench.connectTo(2));
    ASSERT_FALSE(bench.app.status.firmwareVersion.isEmpty());
    int writes = 0;
    QObject::connect(bench.lastPipe, &PipeTransport::written, [&writes] { ++writes; });
    QSignalSpy disconnected(&bench.connection, &Connection::disconnected);
    if (pull) {
      bench.pins.plugged = false;
    } else {
      ASSERT_TRUE(bench.connection.connectOrDisconnect());
    }
    ASSERT_TRUE(waitUntil([&] { return disconnected.count() == 1; }, 2000)) << pull;
    EXPECT_EQ(writes, 0);
    EXPECT_FALSE(bench.app.connected);
    EXPECT_TRUE(bench.app.status.loggerName.isEmpty() || pull);
    EXPECT_EQ(bench.exchange.transport(), nullptr);
  }
}

}  // namespace
}  // namespace termika::testing
