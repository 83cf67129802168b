#include <gtest/gtest.h>

#include <QFileInfo>
#include <QSignalSpy>

#include "SessionTestSupport.h"

namespace termika::testing {
namespace {

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
