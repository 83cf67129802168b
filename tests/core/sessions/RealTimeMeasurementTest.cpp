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
  int count() const { return m_bench.app.set(kRealTimeSet).count; }
  int asks() const { return int(m_bench.prompts.callsOf(ScriptedPrompts::Kind::Ask).size()); }

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
    EXPECT_EQ(m_bench.app.runState, RunState::Continuous);
    EXPECT_EQ(m_bench.app.set(kRealTimeSet).interval, minutes ? 120 : 2);
    EXPECT_EQ(m_written.first(), frame::encode({1, 25, !minutes, !minutes}));
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
    ASSERT_EQ(running.count(), 2);
    EXPECT_FALSE(running.last().at(0).toBool());
    const auto& calls = bench.prompts.calls;
    ASSERT_EQ(calls.size(), end == Disconnect ? 1u : 2u);
    EXPECT_EQ(calls.back().kind, ScriptedPrompts::Kind::Ask);
    EXPECT_EQ(calls.back().message, QStringLiteral("測定データを保存しますか？"));
    if (end == Limit) {
      EXPECT_TRUE(calls[0].message.contains(QStringLiteral("3"))) << calls[0].message.toStdString();
    }
    EXPECT_EQ(bench.app.set(kRealTimeSet).count, end == Limit ? 3 : 1);
  }
}

}  // namespace
}  // namespace termika::testing
