#include <gtest/gtest.h>

#include <QFileInfo>
#include <QSignalSpy>

#include "SessionTestSupport.h"
#include "core/link/AdapterPins.h"
#include "core/sessions/Connection.h"
#include "core/sessions/LinkLoss.h"

namespace termika::testing {
namespace {

// Pins whose adapter can be pulled out by the test.
class PullablePins final : public AdapterPins {
 public:
  Result<void> pulse(const QString&, std::uint8_t) override { return {}; }
  AdapterPresence presence(const QString&) override {
    return plugged ? AdapterPresence::Present : AdapterPresence::Absent;
  }
  QString description() const override { return QStringLiteral("test pins"); }
  bool plugged = true;
};

constexpr char kLogger[] = R"({
  "model": "QM120-RH", "loggerName": "CN01", "clock": "2026-12-06 09:00:00"
})";

// A logger on port `loggerPort`; every other port number has no device.
class ConnectionBench {
 public:
  explicit ConnectionBench(int loggerPort)
      : port(scenarioFrom(kLogger), kScale), link(app, prompts, saveOffer, parts(loggerPort)) {
    for (int i = 0; i < kSetCount; ++i) {
      (void)app.file(i).open(dir.filePath(QStringLiteral("set%1.rand").arg(i)));
    }
  }

  void fillSet(int index, int count) {
    for (int i = 1; i <= count; ++i) {
      DataRecord r;
      r.recordNo = static_cast<std::int16_t>(i);
      r.dateTime = secondsToDaySerial(at(2026, 12, 1, 0, i, 0));
      (void)app.file(index).write(i, r);
    }
    app.set(index).count = count;
    app.set(index).interval = 60;
    app.set(index).unsaved = true;
  }

  // Connects to `n` directly and waits until the status read is over.
  bool connectTo(int n) {
    return connection.connectOnce(n) &&
           waitUntil([&] { return connection.isConnected() && !exchange.isBusy(); });
  }

  QTemporaryDir dir;
  AppState app;
  ScriptedPrompts prompts;
  CsvSaveOffer saveOffer{app, prompts};
  SimulatedPort port;
  std::vector<PipeTransport*> pipes;
  LoggerLink link;
  PullablePins& pins = static_cast<PullablePins&>(link.pins());
  Exchange& exchange = link.exchange();
  Connection& connection = link.connection();

 private:
  LoggerLinkParts parts(int loggerPort) {
    LoggerLinkParts parts;
    parts.timings = Timings{}.scaled(kScale);
    parts.pins = std::make_unique<PullablePins>();
    parts.map = *PortMap::fromTemplate(QStringLiteral("/sim/tty%1"));
    parts.factory = [this, loggerPort](int n) -> std::unique_ptr<Transport> {
      if (n != loggerPort) return nullptr;
      auto pipe = port.makeTransport();
      pipes.push_back(pipe.get());
      return pipe;
    };
    return parts;
  }
};

TEST(Connection, ScanFindsTheLoggerOnItsPortAndReadsItsStatus) {
  ConnectionBench bench(5);
  QSignalSpy connected(&bench.connection, &Connection::connected);
  QSignalSpy cleared(&bench.connection, &Connection::deviceViewsCleared);
  QSignalSpy progress(&bench.connection, &Connection::progress);
  ASSERT_TRUE(bench.connection.connectOrDisconnect());
  EXPECT_FALSE(bench.connection.connectOrDisconnect());  // the guard: a scan runs
  ASSERT_TRUE(waitUntil([&] { return bench.connection.isConnected(); }));
  ASSERT_EQ(connected.count(), 1);
  EXPECT_EQ(connected.first().at(0).toInt(), 5);
  EXPECT_EQ(cleared.count(), 1);
  EXPECT_EQ(bench.app.portNumber, 5);
  EXPECT_EQ(bench.app.modelName, QStringLiteral("QM120-RH"));
  EXPECT_EQ(bench.connection.devicePath(), QStringLiteral("/sim/tty5"));
  ASSERT_FALSE(progress.isEmpty());
  EXPECT_EQ(progress.last().at(0).toInt(), 5);
  ASSERT_TRUE(waitUntil([&] { return !bench.exchange.isBusy(); }));
  EXPECT_EQ(bench.app.status.loggerName, QStringLiteral("CN01"));
  EXPECT_TRUE(bench.app.connected);
  EXPECT_TRUE(bench.prompts.calls.empty());  // nothing to save, nothing asked
}

TEST(Connection, NoLoggerOrNoAdapterGivesTheNotConnectedMessage) {
  for (const bool adapter : {true, false}) {
    ConnectionBench bench(adapter ? 0 : 5);  // with an adapter, no port has a device
    bench.pins.plugged = adapter;
    bench.app.modelName = QStringLiteral("QM100-RH");
    QSignalSpy notFound(&bench.connection, &Connection::notFound);
    ASSERT_TRUE(bench.connection.connectOrDisconnect());
    ASSERT_TRUE(waitUntil([&] { return notFound.count() == 1; })) << adapter;
    EXPECT_EQ(bench.connection.state(), Connection::State::Disconnected);
    ASSERT_EQ(bench.prompts.calls.size(), 1u);
    EXPECT_EQ(bench.prompts.calls[0].title, QStringLiteral("QM100-RH"));
    EXPECT_EQ(bench.prompts.calls[0].message, QStringLiteral("QM100-RHが接続されていません"));
    EXPECT_TRUE(bench.pipes.empty());  // without an adapter no port is even probed
  }
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
  // Both device sets are empty once the connection stands.
  for (const int set : {kLogSet, kRealTimeSet}) {
    EXPECT_EQ(bench.app.set(set).count, 0) << set;
    EXPECT_FALSE(bench.app.set(set).unsaved) << set;
  }
}

TEST(Connection, ConnectButtonWhileConnectedDisconnectsWithoutTraffic) {
  ConnectionBench bench(2);
  ASSERT_TRUE(bench.connectTo(2));
  ASSERT_FALSE(bench.app.status.firmwareVersion.isEmpty());
  int writes = 0;
  QObject::connect(bench.pipes.back(), &PipeTransport::written, [&writes] { ++writes; });
  QSignalSpy disconnected(&bench.connection, &Connection::disconnected);
  ASSERT_TRUE(bench.connection.connectOrDisconnect());
  EXPECT_EQ(disconnected.count(), 1);
  EXPECT_EQ(writes, 0);
  EXPECT_FALSE(bench.app.connected);
  EXPECT_TRUE(bench.app.status.firmwareVersion.isEmpty());
  EXPECT_TRUE(bench.app.status.loggerName.isEmpty());
  EXPECT_EQ(bench.exchange.transport(), nullptr);
}

// A port lost in the middle of an exchange is the fault suite's, over a real pseudo-terminal.
TEST(Connection, PulledAdapterDisconnects) {
  ConnectionBench bench(2);
  ASSERT_TRUE(bench.connectTo(2));
  QSignalSpy disconnected(&bench.connection, &Connection::disconnected);
  bench.pins.plugged = false;
  ASSERT_TRUE(waitUntil([&] { return disconnected.count() == 1; }, 2000));
  EXPECT_EQ(bench.connection.state(), Connection::State::Disconnected);
  EXPECT_FALSE(bench.app.connected);
  EXPECT_FALSE(bench.exchange.isBusy());
}

}  // namespace
}  // namespace termika::testing
