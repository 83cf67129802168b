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
    QObject::connect(m_bench.pipe.get(), &PipeTransport::written,
                     [this](const QByteArray& b) { m_written << b; });
  }

  std::vector<DataRecord> records() const {
    std::vector<DataRecord> out;
    for (int i = 1; i <= m_bench.app.set(kRealTimeSet).count; ++i)
      out.push_back(m_bench.app.file(kRealTimeSet).read(i).value());
    return out;
  }
  int count() const { return m_bench.app.set(kRealTimeSet).count; }
  bool idle() {
    return waitUntil([&] { return !m_bench.exchange.isBusy(); });
  }

  SessionBench m_bench{scenarioFrom(kIdle)};
  RealTimeMeasurement& m_rt = m_bench.realTime;
  QList<QByteArray> m_written;
};

TEST_F(RealTime, SpacingChoices) {
  const std::pair<int, bool> spacings[] = {{1, false}, {2, true},   {5, true},
                                           {60, true}, {61, false}, {0, false}};
  for (const auto& [value, ok] : spacings)
    EXPECT_EQ(RealTimeMeasurement::isSpacingChoice(value), ok) << value;
  // A spacing outside the list starts nothing.
  EXPECT_FALSE(m_rt.startSeries(1, false));
  EXPECT_FALSE(m_rt.startSeries(61, true));
  EXPECT_FALSE(m_rt.running());
  EXPECT_FALSE(m_bench.exchange.isBusy());
  EXPECT_TRUE(m_written.isEmpty());
}

TEST_F(RealTime, OneTimeMeasurementLeavesOnePoint) {
  const qint64 t0 = at(2026, 12, 6, 9, 30, 0);
  m_rt.setClock([t0] { return t0; });
  QSignalSpy added(&m_rt, &RealTimeMeasurement::pointAdded);
  ASSERT_TRUE(m_rt.measureOnce());
  EXPECT_FALSE(m_rt.measureOnce());  // the exchange is running
  ASSERT_TRUE(idle());
  ASSERT_EQ(added.count(), 1);
  ASSERT_EQ(records().size(), 1u);
  const DataRecord r = records()[0];
  EXPECT_EQ(r.dateTime, secondsToDaySerial(t0));
  EXPECT_EQ(r.recordNo, 1);
  EXPECT_EQ(r.segment, 1.0f);
  // Converted with the one-time mode (high resolution) from its own raw counts.
  EXPECT_FLOAT_EQ(r.temperature, rawToTemperature(r.rawTemperature(), 10));
  EXPECT_TRUE(m_bench.app.set(kRealTimeSet).unsaved);
  EXPECT_EQ(m_bench.app.currentSet, kRealTimeSet);
  EXPECT_EQ(m_rt.liveTime(), QStringLiteral("2026/12/06 09:30:00"));
  EXPECT_TRUE(m_rt.liveTemperature().endsWith(QStringLiteral(" ℃")));
  EXPECT_TRUE(m_rt.liveHumidity().endsWith(QStringLiteral(" %RH")));
  EXPECT_EQ(m_bench.app.set(kRealTimeSet).loggerName, m_bench.app.status.loggerName);

  // A second one-time measurement replaces the point (the user declines saving).
  ASSERT_TRUE(m_rt.measureOnce());
  ASSERT_TRUE(idle());
  EXPECT_EQ(count(), 1);
  ASSERT_EQ(m_bench.prompts.callsOf(ScriptedPrompts::Kind::Ask).size(), 1u);
}

TEST_F(RealTime, ContinuousSeriesAddsPointsWithIncreasingTimes) {
  m_rt.setClock([now = at(2026, 12, 6, 10, 0, 0)]() mutable { return now++; });  // 1 s a reading
  ASSERT_TRUE(m_rt.startSeries(2, false));
  EXPECT_EQ(m_bench.app.runState, RunState::Continuous);
  EXPECT_EQ(m_bench.app.set(kRealTimeSet).interval, 2);
  // Two seconds: the resolution flag is set.
  EXPECT_EQ(m_written.first(), frame::encode({1, 25, 1, 1}));
  ASSERT_TRUE(waitUntil([&] { return count() >= 3; }));
  ASSERT_TRUE(m_rt.stopSeries());
  EXPECT_FALSE(m_rt.running());
  EXPECT_TRUE(m_bench.app.runState == RunState::Idle);
  const int before = count();
  runFor(400);  // answers in flight after the stop are dropped, no new requests
  EXPECT_EQ(count(), before);

  const auto got = records();
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].recordNo, static_cast<int>(i) + 1);
    EXPECT_FLOAT_EQ(got[i].temperature, rawToTemperature(got[i].rawTemperature(), 2));
    if (i > 0) {
      EXPECT_GT(got[i].dateTime, got[i - 1].dateTime);
    }
  }
  // The stop asked to save the series (text `SaveMeasurementsQuestion`).
  const auto asks = m_bench.prompts.callsOf(ScriptedPrompts::Kind::Ask);
  ASSERT_EQ(asks.size(), 1u);
  EXPECT_EQ(asks[0].message, QStringLiteral("測定データを保存しますか？"));
}

TEST_F(RealTime, MinutesGiveHighResolutionAndTheirInterval) {
  ASSERT_TRUE(m_rt.startSeries(2, true));
  ASSERT_TRUE(waitUntil([&] { return count() == 1; }));
  EXPECT_EQ(m_bench.app.set(kRealTimeSet).interval, 120);
  EXPECT_EQ(m_written.first(), frame::encode({1, 25, 0, 0}));
  ASSERT_TRUE(m_rt.stopSeries());
  EXPECT_FALSE(m_rt.running());
}

TEST_F(RealTime, LinkFailureEndsTheSeriesAndAsksToSave) {
  QSignalSpy running(&m_rt, &RealTimeMeasurement::runningChanged);
  ASSERT_TRUE(m_rt.startSeries(2, false));
  ASSERT_TRUE(waitUntil([&] { return count() >= 1; }));
  m_bench.port->logger().faults().silentRequests = 1000;
  ASSERT_TRUE(waitUntil([&] { return !m_rt.running(); }));
  runFor(50);
  EXPECT_TRUE(m_bench.app.runState == RunState::Idle);
  ASSERT_EQ(running.count(), 2);
  EXPECT_FALSE(running.last().at(0).toBool());
  // First the link's time-out message, then the save question.
  ASSERT_GE(m_bench.prompts.calls.size(), 2u);
  EXPECT_EQ(m_bench.prompts.calls[0].kind, ScriptedPrompts::Kind::Info);
  EXPECT_EQ(m_bench.prompts.calls.back().kind, ScriptedPrompts::Kind::Ask);
  EXPECT_EQ(m_bench.prompts.calls.back().message, QStringLiteral("測定データを保存しますか？"));
  EXPECT_GE(count(), 1);
}

TEST_F(RealTime, YesWithACancelledSaveKeepsTheSeriesAtANewStart) {
  ASSERT_TRUE(m_rt.measureOnce());
  ASSERT_TRUE(idle());
  m_bench.prompts.askAnswers = {true};
  m_bench.prompts.saveFiles = {std::nullopt};
  EXPECT_FALSE(m_rt.startSeries(5, false));
  EXPECT_EQ(count(), 1);
  EXPECT_TRUE(m_bench.app.set(kRealTimeSet).unsaved);
}

TEST_F(RealTime, DisconnectBetweenPointsEndsTheSeries) {
  ASSERT_TRUE(m_rt.startSeries(5, false));
  ASSERT_TRUE(waitUntil([&] { return count() == 1 && !m_bench.exchange.isBusy(); }));
  m_bench.app.connected = false;
  ASSERT_TRUE(waitUntil([&] { return !m_rt.running(); }, 2000));
  EXPECT_TRUE(m_bench.app.runState == RunState::Idle);
  ASSERT_EQ(m_bench.prompts.callsOf(ScriptedPrompts::Kind::Ask).size(), 1u);
  EXPECT_EQ(count(), 1);
}

TEST_F(RealTime, SeriesStopsAtThePointLimitWithAMessage) {
  m_rt.setPointLimit(3);
  ASSERT_TRUE(m_rt.startSeries(2, false));
  ASSERT_TRUE(waitUntil([&] { return !m_rt.running(); }));
  runFor(300);
  EXPECT_EQ(count(), 3);
  EXPECT_TRUE(m_bench.app.runState == RunState::Idle);
  const auto infos = m_bench.prompts.callsOf(ScriptedPrompts::Kind::Info);
  ASSERT_EQ(infos.size(), 1u);
  EXPECT_TRUE(infos[0].message.contains(QStringLiteral("3")));
  EXPECT_EQ(m_bench.prompts.callsOf(ScriptedPrompts::Kind::Ask).size(), 1u);
}

}  // namespace
}  // namespace termika::testing
