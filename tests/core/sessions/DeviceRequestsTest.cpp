#include <gtest/gtest.h>

#include "SessionTestSupport.h"
#include "core/data/Conversion.h"
#include "core/sessions/DeviceRequests.h"

namespace termika::testing {
namespace {

constexpr char kQm120[] = R"({
  "model": "QM120-RH", "loggerName": "DR01", "clock": "2026-12-06 09:00:00"
})";

TEST(DeviceRequests, EveryRequestIsRefusedWhileAnExchangeRuns) {
  SessionBench bench(scenarioFrom(kQm120));
  DeviceRequests& requests = bench.requests;
  ASSERT_TRUE(bench.exchange.start(commands::statusUpdateRows()));
  const CivilTime now{2026, 12, 6, 9, 0, 0};
  LogStartRequest start;  // one that would be sent when the link is free
  start.name = QStringLiteral("AB12");
  start.model = QStringLiteral("QM120-RH");
  EXPECT_FALSE(requests.startRecording(start, now).ok());
  EXPECT_FALSE(requests.stopRecording().ok());
  EXPECT_FALSE(requests.setLoggerName(QStringLiteral("AB12")).ok());
  EXPECT_FALSE(requests.setClock(now).ok());
  EXPECT_FALSE(requests.updateStatus().ok());
  EXPECT_FALSE(requests.initAll().ok());
  EXPECT_TRUE(bench.prompts.calls.empty());  // INITALL did not even ask
}

// The logger keeps two digits of the year: a clock outside 2000..2099 (an
// unset host clock says 1970) would set it a century off, so nothing is sent.
TEST(DeviceRequests, AClockOutsideTheLoggersCenturyIsNeverSent) {
  SessionBench bench(scenarioFrom(kQm120));
  DeviceRequests& requests = bench.requests;
  LogStartRequest start;
  start.model = QStringLiteral("QM120-RH");
  for (const CivilTime& now : {CivilTime{1970, 1, 1, 0, 0, 5}, CivilTime{1999, 12, 31, 23, 59, 0},
                               CivilTime{2100, 1, 1, 0, 0, 0}}) {
    const Result<void> clock = requests.setClock(now);
    ASSERT_FALSE(clock.ok()) << now.year;
    EXPECT_TRUE(clock.error().message.contains(QStringLiteral("2000"))) << now.year;
    EXPECT_FALSE(requests.startRecording(start, now).ok()) << now.year;
    EXPECT_FALSE(bench.exchange.isBusy()) << now.year;  // nothing sent
  }
  EXPECT_TRUE(requests.setClock({2099, 12, 31, 23, 59, 59}).ok());
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

TEST(DeviceRequests, StartingARecordingReachesTheLogger) {
  SessionBench bench(scenarioFrom(kQm120));
  DeviceRequests& requests = bench.requests;
  LogStartRequest r;
  r.name = QStringLiteral("ST01");
  r.model = QStringLiteral("QM120-RH");
  r.loop = true;
  r.intervalUnit = IntervalUnit::Seconds;
  r.intervalValue = 30;
  ASSERT_TRUE(requests.startRecording(r, {2026, 12, 6, 9, 0, 0}).ok());
  ASSERT_TRUE(waitUntil([&] { return !bench.exchange.isBusy(); }));
  EXPECT_EQ(bench.port->logger().recordingState(), RecordingState::Recording);
  EXPECT_EQ(bench.port->logger().recordMode(), RecordMode::Loop);
  EXPECT_EQ(bench.port->logger().recordedIntervalSeconds(), 30);
  EXPECT_EQ(bench.port->logger().loggerName(), QByteArray("ST01"));
  EXPECT_EQ(bench.app.runState, RunState::Recording);

  ASSERT_TRUE(requests.stopRecording().ok());
  ASSERT_TRUE(waitUntil([&] { return !bench.exchange.isBusy(); }));
  EXPECT_NE(bench.port->logger().recordingState(), RecordingState::Recording);
}

TEST(DeviceRequests, FactoryResetAsksFirstAndSendsOnlyOnYes) {
  SessionBench bench(scenarioFrom(kQm120));
  DeviceRequests& requests = bench.requests;
  QList<QByteArray> written;
  QObject::connect(bench.pipe.get(), &PipeTransport::written,
                   [&written](const QByteArray& b) { written << b; });
  bench.prompts.askAnswers = {false, true};
  const auto declined = requests.initAll();
  ASSERT_TRUE(declined.ok());
  EXPECT_FALSE(*declined);
  EXPECT_TRUE(written.isEmpty());
  const auto accepted = requests.initAll();
  ASSERT_TRUE(accepted.ok());
  EXPECT_TRUE(*accepted);
  ASSERT_EQ(written.size(), 1);
  EXPECT_EQ(written[0], QByteArray("INITALL\xFF"));
  EXPECT_EQ(bench.prompts.calls[0].message, bench.app.texts[TextId::StartLosesDataQuestion]);
}

TEST(DeviceRequests, AlarmLimitsReadBackAsWholeDegrees) {
  // The dispatcher's raw-to-temperature is wired by the requests object.
  SessionBench bench(scenarioFrom(R"({
    "model": "QM120-RH", "loggerName": "AL01", "clock": "2026-12-06 09:00:00",
    "interval": {"unit": "minutes", "value": 10},
    "alarms": {"upper": {"celsius": 26, "on": true}, "lower": {"celsius": -3, "on": false}}
  })"));
  DeviceRequests& requests = bench.requests;
  ASSERT_TRUE(requests.updateStatus().ok());
  ASSERT_TRUE(waitUntil([&] { return !bench.exchange.isBusy(); }));
  EXPECT_EQ(bench.app.status.upperAlarm.limit, 26);
  EXPECT_EQ(bench.app.status.lowerAlarm.limit, -3);
  EXPECT_NE(bench.app.status.upperAlarm.enabled, 0);
  EXPECT_EQ(bench.app.status.lowerAlarm.enabled, 0);
}

}  // namespace
}  // namespace termika::testing
