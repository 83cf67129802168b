#include <gtest/gtest.h>

#include <QSignalSpy>
#include <vector>

#include "SessionTestSupport.h"
#include "core/data/Conversion.h"
#include "core/sessions/RealTimeMeasurement.h"

namespace termika::testing {
namespace {

constexpr char kIdle[] = R"({
  "model": "QM100-RH", "loggerName": "RT01", "clock": "2026-12-06 09:00:00",
  "sensor": {"seed": 5, "temperatureMean": 21, "humidityMean": 45}
})";

// An idle logger and a measurement session on it; `written` collects the requests sent.
class RealTime : public ::testing::Test {
 protected:
  RealTime() {
    QObject::connect(bench.pipe.get(), &PipeTransport::written,
                     [this](const QByteArray& b) { written << b; });
  }

  std::vector<DataRecord> records() const {
    std::vector<DataRecord> out;
    for (int i = 1; i <= bench.app.set(kRealTimeSet).Count; ++i)
      out.push_back(bench.app.file(kRealTimeSet).read(i).value());
    return out;
  }
  int count() const { return bench.app.set(kRealTimeSet).Count; }
  bool idle() {
    return waitUntil([&] { return !bench.exchange.isBusy(); });
  }

  SessionBench bench{scenarioFrom(kIdle)};
  RealTimeMeasurement rt{bench.app, bench.prompts, bench.saveOffer, bench.exchange, bench.timings};
  QList<QByteArray> written;
};

TEST_F(RealTime, SpacingChoices) {
  const std::pair<int, bool> spacings[] = {{1, false}, {2, true},   {5, true},
                                           {60, true}, {61, false}, {0, false}};
  for (const auto& [value, ok] : spacings)
    EXPECT_EQ(RealTimeMeasurement::isSpacingChoice(value), ok) << value;
  // A spacing outside the list starts nothing.
  EXPECT_FALSE(rt.startSeries(1, false));
  EXPECT_FALSE(rt.startSeries(61, true));
  EXPECT_FALSE(rt.running());
  EXPECT_FALSE(bench.exchange.isBusy());
  EXPECT_TRUE(written.isEmpty());
}

TEST_F(RealTime, OneTimeMeasurementLeavesOnePoint) {
  const qint64 t0 = at(2026, 12, 6, 9, 30, 0);
  rt.setClock([t0] { return t0; });
  QSignalSpy added(&rt, &RealTimeMeasurement::pointAdded);
  ASSERT_TRUE(rt.measureOnce());
  EXPECT_FALSE(rt.measureOnce());  // the exchange is running
  ASSERT_TRUE(idle());
  ASSERT_EQ(added.count(), 1);
  ASSERT_EQ(records().size(), 1u);
  const DataRecord r = records()[0];
  EXPECT_EQ(r.DateTime, secondsToDaySerial(t0));
  EXPECT_EQ(r.RecordNo, 1);
  EXPECT_EQ(r.Segment, 1.0f);
  // Converted with the one-time mode (high resolution) from its own raw counts.
  EXPECT_FLOAT_EQ(r.Temperature, RawToTemperature(r.rawTemperature(), 10));
  EXPECT_TRUE(bench.app.set(kRealTimeSet).Unsaved);
  EXPECT_EQ(bench.app.CurrentSet, kRealTimeSet);
  EXPECT_EQ(rt.liveTime(), QStringLiteral("2026/12/06 09:30:00"));
  EXPECT_TRUE(rt.liveTemperature().endsWith(QStringLiteral(" ℃")));
  EXPECT_TRUE(rt.liveHumidity().endsWith(QStringLiteral(" %RH")));
  EXPECT_EQ(bench.app.set(kRealTimeSet).LoggerName, bench.app.Status.LoggerName);

  // A second one-time measurement replaces the point (the user declines saving).
  ASSERT_TRUE(rt.measureOnce());
  ASSERT_TRUE(idle());
  EXPECT_EQ(count(), 1);
  ASSERT_EQ(bench.prompts.callsOf(ScriptedPrompts::Kind::Ask).size(), 1u);
}

TEST_F(RealTime, ContinuousSeriesAddsPointsWithIncreasingTimes) {
  rt.setClock([now = at(2026, 12, 6, 10, 0, 0)]() mutable { return now++; });  // 1 s a reading
  ASSERT_TRUE(rt.startSeries(2, false));
  EXPECT_EQ(bench.app.runState, RunState::Continuous);
  EXPECT_EQ(bench.app.set(kRealTimeSet).Interval, 2);
  // Two seconds: the resolution flag is set.
  EXPECT_EQ(written.first(), frame::encode({1, 25, 1, 1}));
  ASSERT_TRUE(waitUntil([&] { return count() >= 3; }));
  ASSERT_TRUE(rt.stopSeries());
  EXPECT_FALSE(rt.running());
  EXPECT_TRUE(bench.app.runState == RunState::Idle);
  const int before = count();
  runFor(400);  // answers in flight after the stop are dropped, no new requests
  EXPECT_EQ(count(), before);

  const auto got = records();
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].RecordNo, static_cast<int>(i) + 1);
    EXPECT_FLOAT_EQ(got[i].Temperature, RawToTemperature(got[i].rawTemperature(), 2));
    if (i > 0) {
      EXPECT_GT(got[i].DateTime, got[i - 1].DateTime);
    }
  }
  // The stop asked to save the series (text 1065).
  const auto asks = bench.prompts.callsOf(ScriptedPrompts::Kind::Ask);
  ASSERT_EQ(asks.size(), 1u);
  EXPECT_EQ(asks[0].message, QStringLiteral("測定データを保存しますか？"));
}

TEST_F(RealTime, MinutesGiveHighResolutionAndTheirInterval) {
  ASSERT_TRUE(rt.startSeries(2, true));
  ASSERT_TRUE(waitUntil([&] { return count() == 1; }));
  EXPECT_EQ(bench.app.set(kRealTimeSet).Interval, 120);
  EXPECT_EQ(written.first(), frame::encode({1, 25, 0, 0}));
  ASSERT_TRUE(rt.stopSeries());
  EXPECT_FALSE(rt.running());
}

TEST_F(RealTime, LinkFailureEndsTheSeriesAndAsksToSave) {
  QSignalSpy running(&rt, &RealTimeMeasurement::runningChanged);
  ASSERT_TRUE(rt.startSeries(2, false));
  ASSERT_TRUE(waitUntil([&] { return count() >= 1; }));
  bench.port->logger().faults().silentRequests = 1000;
  ASSERT_TRUE(waitUntil([&] { return !rt.running(); }));
  runFor(50);
  EXPECT_TRUE(bench.app.runState == RunState::Idle);
  ASSERT_EQ(running.count(), 2);
  EXPECT_FALSE(running.last().at(0).toBool());
  // First the link's time-out message, then the save question.
  ASSERT_GE(bench.prompts.calls.size(), 2u);
  EXPECT_EQ(bench.prompts.calls[0].kind, ScriptedPrompts::Kind::Info);
  EXPECT_EQ(bench.prompts.calls.back().kind, ScriptedPrompts::Kind::Ask);
  EXPECT_EQ(bench.prompts.calls.back().message, QStringLiteral("測定データを保存しますか？"));
  EXPECT_GE(count(), 1);
}

TEST_F(RealTime, YesWithACancelledSaveKeepsTheSeriesAtANewStart) {
  ASSERT_TRUE(rt.measureOnce());
  ASSERT_TRUE(idle());
  bench.prompts.askAnswers = {true};
  bench.prompts.saveFiles = {std::nullopt};
  EXPECT_FALSE(rt.startSeries(5, false));
  EXPECT_EQ(count(), 1);
  EXPECT_TRUE(bench.app.set(kRealTimeSet).Unsaved);
}

TEST_F(RealTime, DisconnectBetweenPointsEndsTheSeries) {
  ASSERT_TRUE(rt.startSeries(5, false));
  ASSERT_TRUE(waitUntil([&] { return count() == 1 && !bench.exchange.isBusy(); }));
  bench.app.Connected = false;
  ASSERT_TRUE(waitUntil([&] { return !rt.running(); }, 2000));
  EXPECT_TRUE(bench.app.runState == RunState::Idle);
  ASSERT_EQ(bench.prompts.callsOf(ScriptedPrompts::Kind::Ask).size(), 1u);
  EXPECT_EQ(count(), 1);
}

TEST_F(RealTime, SeriesStopsAtThePointLimitWithAMessage) {
  rt.setPointLimit(3);
  ASSERT_TRUE(rt.startSeries(2, false));
  ASSERT_TRUE(waitUntil([&] { return !rt.running(); }));
  runFor(300);
  EXPECT_EQ(count(), 3);
  EXPECT_TRUE(bench.app.runState == RunState::Idle);
  const auto infos = bench.prompts.callsOf(ScriptedPrompts::Kind::Info);
  ASSERT_EQ(infos.size(), 1u);
  EXPECT_TRUE(infos[0].message.contains(QStringLiteral("3")));
  EXPECT_EQ(bench.prompts.callsOf(ScriptedPrompts::Kind::Ask).size(), 1u);
}

}  // namespace
}  // namespace termika::testing
