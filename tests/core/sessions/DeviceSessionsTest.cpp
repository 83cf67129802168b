#include <gtest/gtest.h>

#include <QFileInfo>
#include <QSignalSpy>
#include <vector>

#include "SessionTestSupport.h"
#include "core/data/Conversion.h"
#include "core/sessions/DeviceRequests.h"
#include "core/sessions/RealTimeMeasurement.h"

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
  const QList<bool> sent = {m_requests.startRecording(start, m_now).ok(),
                            m_requests.stopRecording().ok(),
                            m_requests.setLoggerName(QStringLiteral("AB12")).ok(),
                            m_requests.setClock(m_now).ok(),
                            m_requests.updateStatus().ok(),
                            m_requests.initAll().ok()};
  EXPECT_EQ(sent, QList<bool>(6, false));
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
  const LoggerStatus& status = m_bench.app.status;
  EXPECT_EQ(std::tuple(status.upperAlarm.limit, status.lowerAlarm.limit,
                       status.upperAlarm.enabled != 0, status.lowerAlarm.enabled != 0),
            std::tuple(26, -3, true, false));
  LogStartRequest r;
  r.name = QStringLiteral("ST01");
  r.model = QStringLiteral("QM120-RH");
  r.loop = true;
  r.intervalUnit = IntervalUnit::Seconds;
  r.intervalValue = 30;
  ASSERT_TRUE(m_requests.startRecording(r, m_now).ok());
  ASSERT_TRUE(m_bench.idle());
  const SimulatedLogger& logger = m_bench.port->logger();
  EXPECT_EQ(std::tuple(logger.recordingState(), logger.recordMode(),
                       logger.recordedIntervalSeconds(), logger.loggerName(), m_bench.app.runState),
            std::tuple(RecordingState::Recording, RecordMode::Loop, 30, QByteArray("ST01"),
                       RunState::Recording));
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
  EXPECT_EQ(static_cast<QList<QVariantList>>(connected), QList<QVariantList>{{5}});
  EXPECT_EQ(
      QStringLiteral("%1 %2 %3 %4 %5 %6")
          .arg(cleared.count())
          .arg(bench.app.portNumber)
          .arg(bench.app.modelName, bench.connection.devicePath(), bench.app.status.loggerName)
          .arg(bench.app.connected),
      QStringLiteral("1 5 QM120-RH /sim/tty5 CN01 1"));
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

constexpr char kIdle[] = R"({
  "model": "QM100-RH", "loggerName": "RT01", "clock": "2026-12-06 09:00:00",
  "sensor": {"seed": 5, "temperatureMean": 21, "humidityMean": 45}
})";

// An idle logger and a measurement session on it; `written` collects the requests sent.
class RealTime : public ::testing::Test {
 protected:
  RealTime() {
    QObject::connect(m_bench.pipe.get(), &PipeTransport::written,
                     [this](const QByteArray& b) { m_written << b; });
  }
  int count() const { return m_bench.app.set(kRealTimeSet).count; }
  int asks() const { return int(m_bench.prompts.callsOf(ScriptedPrompts::Kind::Ask).size()); }

  SessionBench m_bench{scenarioFrom(kIdle)};
  RealTimeMeasurement& m_rt = m_bench.realTime;
  QList<QByteArray> m_written;
};

TEST_F(RealTime, SpacingChoices) {
  const std::pair<int, bool> spacings[] = {{1, false}, {2, true}, {60, true}, {61, false}};
  for (const auto& [value, ok] : spacings)
    EXPECT_EQ(RealTimeMeasurement::isSpacingChoice(value), ok) << value;
  // A spacing outside the list starts nothing.
  EXPECT_FALSE(m_rt.startSeries(1, false));
  EXPECT_FALSE(m_rt.startSeries(61, true));
  EXPECT_FALSE(m_rt.running());
  EXPECT_TRUE(m_written.isEmpty());
}

// A second one-time measurement replaces the point once the user declines saving; Yes with a
// cancelled save keeps it and starts no series.
TEST_F(RealTime, OneTimeMeasurementLeavesOnePoint) {
  const qint64 t0 = at(2026, 12, 6, 9, 30, 0);
  m_rt.setClock([t0] { return t0; });
  QSignalSpy added(&m_rt, &RealTimeMeasurement::pointAdded);
  ASSERT_TRUE(m_bench.readStatus());  // the set takes the logger's name
  ASSERT_TRUE(m_rt.measureOnce());
  EXPECT_FALSE(m_rt.measureOnce());  // the exchange is running
  ASSERT_TRUE(m_bench.idle());
  ASSERT_EQ(added.count(), 1);
  const auto got = records(m_bench.app, kRealTimeSet);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_TRUE(got[0].dateTime == secondsToDaySerial(t0) && got[0].recordNo == 1 &&
              got[0].segment == 1.0f);
  // Converted with the one-time mode (high resolution) from its own raw counts.
  EXPECT_FLOAT_EQ(got[0].temperature, rawToTemperature(got[0].rawTemperature(), 10));
  const DataSet& set = m_bench.app.set(kRealTimeSet);
  EXPECT_EQ(QStringList({m_rt.liveTime(), m_rt.liveTemperature().right(2),
                         m_rt.liveHumidity().right(4), set.loggerName, QString::number(set.unsaved),
                         QString::number(m_bench.app.currentSet)})
                .join(u'|'),
            QStringLiteral("2026/12/06 09:30:00| ℃| %RH|RT01|1|%1").arg(kRealTimeSet));

  ASSERT_TRUE(m_rt.measureOnce());
  ASSERT_TRUE(m_bench.idle());
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(asks(), 1);
  m_bench.prompts.askAnswers = {true};
  m_bench.prompts.saveFiles = {std::nullopt};
  EXPECT_FALSE(m_rt.startSeries(5, false));
  EXPECT_TRUE(count() == 1 && set.unsaved);
}

// Two seconds set the resolution flag and convert in mode 2; two minutes neither. Answers in
// flight after the stop are dropped, and the stop asks to save the series.
TEST_F(RealTime, ContinuousSeriesAddsPointsWithIncreasingTimes) {
  for (const bool minutes : {false, true}) {
    SCOPED_TRACE(minutes);
    m_written.clear();
    m_bench.prompts.calls.clear();
    m_bench.app.set(kRealTimeSet).unsaved = false;  // the first series was saved
    m_rt.setClock([now = at(2026, 12, 6, 10, 0, 0)]() mutable { return now++; });
    ASSERT_TRUE(m_rt.startSeries(2, minutes));
    EXPECT_EQ(
        std::tuple(m_bench.app.runState, m_bench.app.set(kRealTimeSet).interval, m_written.first()),
        std::tuple(RunState::Continuous, minutes ? 120 : 2,
                   frame::encode({1, 25, !minutes, !minutes})));
    ASSERT_TRUE(waitUntil([&] { return count() >= (minutes ? 1 : 3); }));
    ASSERT_TRUE(m_rt.stopSeries());
    EXPECT_TRUE(!m_rt.running() && m_bench.app.runState == RunState::Idle);
    const int before = count();
    runFor(minutes ? 0 : 400);
    EXPECT_EQ(count(), before);
    const auto got = records(m_bench.app, kRealTimeSet);
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].recordNo, static_cast<int>(i) + 1);
      EXPECT_FLOAT_EQ(got[i].temperature,
                      rawToTemperature(got[i].rawTemperature(), minutes ? 3 : 2));
      EXPECT_TRUE(i == 0 || got[i].dateTime > got[i - 1].dateTime);
    }
    const auto asked = m_bench.prompts.callsOf(ScriptedPrompts::Kind::Ask);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].message, QStringLiteral("測定データを保存しますか？"));
  }
}

// A lost link (its message first), a disconnect between points and the point limit (with a
// message naming it) each end the series and ask to save it.
TEST_F(RealTime, SeriesEndsOnALostLinkADisconnectOrThePointLimit) {
  enum End { Lost, Disconnect, Limit };
  for (const End end : {Lost, Disconnect, Limit}) {
    SCOPED_TRACE(end);
    SessionBench bench{scenarioFrom(kIdle)};
    RealTimeMeasurement& rt = bench.realTime;
    QSignalSpy running(&rt, &RealTimeMeasurement::runningChanged);
    if (end == Limit) rt.setPointLimit(3);
    ASSERT_TRUE(rt.startSeries(end == Disconnect ? 5 : 2, false));
    ASSERT_TRUE(waitUntil(
        [&] { return bench.app.set(kRealTimeSet).count >= 1 && !bench.exchange.isBusy(); }));
    if (end == Lost) bench.port->logger().faults().silentRequests = 1000;
    if (end == Disconnect) bench.app.connected = false;
    ASSERT_TRUE(waitUntil([&] { return !rt.running(); }));
    runFor(300);
    EXPECT_EQ(bench.app.runState, RunState::Idle);
    EXPECT_EQ(static_cast<QList<QVariantList>>(running), (QList<QVariantList>{{true}, {false}}));
    const auto& calls = bench.prompts.calls;
    ASSERT_EQ(calls.size(), end == Disconnect ? 1u : 2u);
    EXPECT_TRUE(calls.back().kind == ScriptedPrompts::Kind::Ask &&
                calls.back().message == QStringLiteral("測定データを保存しますか？"));
    EXPECT_TRUE(end != Limit || calls[0].message.contains(QStringLiteral("3")))
        << calls[0].message.toStdString();
    EXPECT_EQ(bench.app.set(kRealTimeSet).count, end == Limit ? 3 : 1);
  }
}

}  // namespace
}  // namespace termika::testing
