#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <optional>

#include "PortFakes.h"
#include "core/link/PortDiscovery.h"

namespace termika {
namespace {

using std::chrono::milliseconds;
using testing::FakeBench;
using testing::FakeLogger;
using testing::RecordingPins;

const QString kProbeHex = QStringLiteral("0001009900000000ff");

// The six log lines of one pulse-and-probe attempt on a port that was open.
QStringList attemptLines(int port) {
  const QString n = QString::number(port);
  return {"close " + n, "pulse 255 mem" + n, "pulse 0 mem" + n,
          "open " + n,  "discard " + n,      "write " + n + " " + kProbeHex};
}

class DiscoveryTest : public ::testing::Test {
 protected:
  // 2 ms lead, 1 ms high, 2 ms trail, 5 ms answer wait, 20 ms for a port to return.
  Timings fast = Timings{}.scaled(100);

  FakeBench bench;
  RecordingPins pins{bench};
  std::unique_ptr<PortDiscovery> discovery;

  std::optional<int> foundPort;
  QString foundModel;
  std::unique_ptr<Transport> foundTransport;
  int notFoundCount = 0;
  QList<QPair<int, int>> progress;
  QList<int> skipped;
  QStringList notices;

  void make(const Timings& timings) {
    discovery = std::make_unique<PortDiscovery>(timings, pins, *PortMap::fromTemplate("mem%1"),
                                                bench.factory());
    QObject::connect(discovery.get(), &PortDiscovery::found,
                     [this](int port, const QString& model, Transport* transport) {
                       foundPort = port;
                       foundModel = model;
                       foundTransport.reset(transport);
                     });
    QObject::connect(discovery.get(), &PortDiscovery::notFound, [this] { ++notFoundCount; });
    QObject::connect(discovery.get(), &PortDiscovery::progress, [this](int port, int attempt) {
      progress.append({port, attempt});
    });
    QObject::connect(discovery.get(), &PortDiscovery::portSkipped,
                     [this](int port, const QString&) { skipped.append(port); });
    QObject::connect(discovery.get(), &PortDiscovery::notice,
                     [this](const QString& message) { notices << message; });
  }

  void runToEnd() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return foundPort || notFoundCount > 0; }, 20000));
    EXPECT_EQ(discovery->state(), PortDiscovery::State::Idle);
  }

  void TearDown() override {
    foundTransport.reset();
    discovery.reset();
    EXPECT_TRUE(bench.live.empty()) << "a port outlived the discovery";
    EXPECT_EQ(bench.pulsesWithPortOpen, 0) << "the pins were pulsed with the port open";
  }
};

TEST_F(DiscoveryTest, ScanFindsTheLoggerOnPort3AfterPorts16To4Fail) {
  // 16..13 have no device; 12 is the model we do not serve; 11 babbles; 10..4 are silent.
  bench.loggers[12] = FakeLogger::answering(QByteArray("\x00\x01QM200-RHA\xff", 12));
  bench.loggers[11] = FakeLogger::answering("\x12\x34\x56\xff");
  for (int port = 10; port >= 4; --port) bench.loggers[port] = FakeLogger::silent();
  bench.loggers[3] = FakeLogger::answering("noise QM120-RH ver\xff");
  bench.loggers[2] = FakeLogger::answering("QM100-RH");
  bench.loggers[1] = FakeLogger::answering("QM100-RH");
  make(fast);

  ASSERT_TRUE(discovery->scan());
  runToEnd();

  ASSERT_EQ(foundPort, 3);
  EXPECT_EQ(foundModel, "QM120-RH");
  EXPECT_EQ(notFoundCount, 0);
  ASSERT_TRUE(foundTransport);
  EXPECT_TRUE(foundTransport->isOpen());
  EXPECT_EQ(skipped, QList<int>({16, 15, 14, 13}));

  QList<QPair<int, int>> expectedProgress;
  for (int port = 12; port >= 4; --port) {
    for (int attempt = 0; attempt < 3; ++attempt) expectedProgress.append({port, attempt});
  }
  expectedProgress.append({3, 0});
  EXPECT_EQ(progress, expectedProgress);

  QStringList port12 = {"open 12"};
  for (int attempt = 0; attempt < 3; ++attempt) port12 += attemptLines(12);
  port12 << "close 12";
  EXPECT_EQ(bench.log.linesOf(12), port12);
  EXPECT_EQ(bench.log.linesOf(16), QStringList{"open 16 failed"});
  EXPECT_EQ(bench.log.linesOf(3), QStringList{"open 3"} + attemptLines(3));
  EXPECT_TRUE(bench.log.linesOf(2).isEmpty());
  EXPECT_TRUE(bench.log.linesOf(1).isEmpty());

  // The open port now belongs to the receiver and still reaches port 3.
  ASSERT_TRUE(foundTransport->write(QByteArray::fromHex("0001001600000000ff")).ok());
  EXPECT_EQ(bench.log.lines().last(), "write 3 0001001600000000ff");
}

TEST_F(DiscoveryTest, PulsesHighThenLowWithTheTimingOfTheProbe) {
  // Scaled by 4: 62 ms lead, 25 ms high, 62 ms trail, 125 ms answer wait.
  const Timings timings = Timings{}.scaled(4);
  bench.loggers[1] = FakeLogger::answering("QM100-RH").ignoring(2);
  make(timings);

  ASSERT_TRUE(discovery->Port_Set_Once(1));
  runToEnd();
  ASSERT_EQ(foundPort, 1);
  EXPECT_EQ(foundModel, "QM100-RH");

  // Every attempt: close, lead wait, pins high, high time, pins low, trail wait, open.
  const auto& entries = bench.log.entries();
  const qint64 slack = 35;
  int attempts = 0;
  for (std::size_t i = 0; i + 4 < entries.size(); ++i) {
    if (entries[i].what != "close 1") continue;
    ++attempts;
    ASSERT_EQ(entries[i + 1].what, "pulse 255 mem1");
    ASSERT_EQ(entries[i + 2].what, "pulse 0 mem1");
    ASSERT_EQ(entries[i + 3].what, "open 1");
    const qint64 lead = entries[i + 1].ms - entries[i].ms;
    const qint64 high = entries[i + 2].ms - entries[i + 1].ms;
    const qint64 trail = entries[i + 3].ms - entries[i + 2].ms;
    EXPECT_GE(lead, 62);
    EXPECT_LE(lead, 62 + slack);
    EXPECT_GE(high, 25);
    EXPECT_LE(high, 25 + slack);
    EXPECT_GE(trail, 62);
    EXPECT_LE(trail, 62 + slack);
  }
  EXPECT_EQ(attempts, 3);

  // A failed attempt waits the full answer time after its request before closing.
  for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
    if (entries[i].what.startsWith("write 1") && entries[i + 1].what == "close 1") {
      EXPECT_GE(entries[i + 1].ms - entries[i].ms, 125);
    }
  }
}

TEST_F(DiscoveryTest, AnAnswerSlowerThanTheWaitCountsAsNone) {
  struct Case {
    int delayMs;
    bool found;
  };
  // The answer wait is 40 ms here.
  const Case cases[] = {{3, true}, {20, true}, {90, false}, {200, false}};
  Timings timings = fast;
  timings.probeAnswer = milliseconds{40};
  for (const Case& c : cases) {
    bench.loggers[7] = FakeLogger::answering("QM120-RH").after(c.delayMs);
    foundPort.reset();
    foundTransport.reset();
    notFoundCount = 0;
    make(timings);
    ASSERT_TRUE(discovery->Port_Set_Once(7));
    runToEnd();
    EXPECT_EQ(foundPort.has_value(), c.found) << c.delayMs << " ms";
    EXPECT_EQ(notFoundCount, c.found ? 0 : 1) << c.delayMs << " ms";
  }
}

TEST_F(DiscoveryTest, AnAnswerArrivingInPiecesIsPutTogether) {
  bench.loggers[4] = FakeLogger::silent();
  Timings timings = fast;
  timings.probeAnswer = milliseconds{60};
  make(timings);
  QObject::connect(discovery.get(), &PortDiscovery::stateChanged, [this](auto state) {
    if (state != PortDiscovery::State::AwaitingAnswer) return;
    auto* port = static_cast<testing::MemoryPort*>(*bench.live.begin());
    port->push("xxQM1");
    QTimer::singleShot(5, port, [port] { port->push("20-RH\xff"); });
  });

  ASSERT_TRUE(discovery->Port_Set_Once(4));
  runToEnd();
  EXPECT_EQ(foundPort, 4);
  EXPECT_EQ(foundModel, "QM120-RH");
}

TEST_F(DiscoveryTest, WithoutAnAdapterNoPortIsTouched) {
  pins.answer = AdapterPresence::Absent;
  bench.loggers[3] = FakeLogger::answering("QM120-RH");
  make(fast);

  ASSERT_TRUE(discovery->scan());
  runToEnd();

  EXPECT_EQ(notFoundCount, 1);
  EXPECT_TRUE(bench.log.lines().isEmpty());
  EXPECT_TRUE(progress.isEmpty());
  EXPECT_EQ(pins.presenceAsked, QStringList{QString()});
}

TEST_F(DiscoveryTest, UnreachablePinsAreReportedOnceAndTheProbeGoesOn) {
  pins.answer = AdapterPresence::Unavailable;
  pins.pulsesFail = true;
  bench.loggers[2] = FakeLogger::answering("QM100-RH").ignoring(1);
  make(fast);

  ASSERT_TRUE(discovery->Port_Set_Once(2));
  runToEnd();

  EXPECT_EQ(foundPort, 2);
  EXPECT_EQ(notices.size(), 1);
}

TEST_F(DiscoveryTest, WaitsABoundedTimeForThePortToComeBackAfterThePulse) {
  bench.loggers[2] = FakeLogger::answering("QM100-RH").away(3);
  bench.loggers[3] = FakeLogger::answering("QM100-RH").away(-1);
  make(fast);

  ASSERT_TRUE(discovery->Port_Set_Once(2));
  runToEnd();
  ASSERT_EQ(foundPort, 2);
  const QStringList expected = {
      "open 2",        "close 2",       "pulse 255 mem2", "pulse 0 mem2", "open 2 failed",
      "open 2 failed", "open 2 failed", "open 2",         "discard 2",    "write 2 " + kProbeHex};
  EXPECT_EQ(bench.log.linesOf(2), expected);

  foundTransport.reset();
  foundPort.reset();
  ASSERT_TRUE(discovery->Port_Set_Once(3));  // never comes back
  runToEnd();
  EXPECT_EQ(notFoundCount, 1);
  // Per attempt: the first try after the trail wait and 20 more while waiting.
  EXPECT_EQ(bench.log.linesOf(3).filter("open 3 failed").size(), 3 * 21);
  EXPECT_TRUE(bench.log.linesOf(3).filter("write").isEmpty());
}

TEST_F(DiscoveryTest, OneSearchAtATimeAndAbortFromAProgressReceiverStopsIt) {
  for (int port = 16; port >= 1; --port) bench.loggers[port] = FakeLogger::silent();
  make(fast);
  qsizetype linesAtAbort = -1;
  QObject::connect(discovery.get(), &PortDiscovery::progress, [&](int port, int attempt) {
    if (port == 10 && attempt == 1) {
      discovery->abort();
      linesAtAbort = bench.log.lines().size();
    }
  });

  ASSERT_TRUE(discovery->scan());
  EXPECT_FALSE(discovery->scan());  // one search at a time
  EXPECT_FALSE(discovery->Port_Set_Once(3));
  ASSERT_TRUE(QTest::qWaitFor([&] { return linesAtAbort >= 0; }, 20000));
  QTest::qWait(50);

  EXPECT_EQ(discovery->state(), PortDiscovery::State::Idle);
  EXPECT_FALSE(foundPort);
  EXPECT_EQ(notFoundCount, 0);
  EXPECT_TRUE(bench.live.empty());
  EXPECT_EQ(bench.log.lines().size(), linesAtAbort);
  EXPECT_TRUE(bench.log.linesOf(9).isEmpty());
  ASSERT_TRUE(discovery->Port_Set_Once(3));  // and a new one may start
  runToEnd();
  EXPECT_EQ(notFoundCount, 1);
}

TEST_F(DiscoveryTest, AbortWhileAwaitingAnAnswerClosesThePort) {
  for (int port = 16; port >= 1; --port) bench.loggers[port] = FakeLogger::silent();
  bench.loggers[14] = FakeLogger::answering("QM120-RH").after(3);
  make(fast);
  bool aborted = false;
  QObject::connect(discovery.get(), &PortDiscovery::stateChanged, [&](auto state) {
    if (state == PortDiscovery::State::AwaitingAnswer && !aborted) {
      aborted = true;
      QTimer::singleShot(0, discovery.get(), [&] { discovery->abort(); });
    }
  });

  ASSERT_TRUE(discovery->scan());
  ASSERT_TRUE(QTest::qWaitFor([&] { return aborted && !discovery->busy(); }, 20000));
  QTest::qWait(30);

  EXPECT_FALSE(foundPort);
  EXPECT_EQ(notFoundCount, 0);
  EXPECT_TRUE(bench.live.empty());
  EXPECT_EQ(bench.log.lines().last(), "close 16");
}

TEST(PortDiscoveryProbe, AsksForTheModelAndRecognisesTheServedOnes) {
  EXPECT_EQ(PortDiscovery::probeFrame().toHex(), kProbeHex.toLatin1());
  struct Case {
    QByteArray answer;
    std::optional<QString> model;
  };
  const Case cases[] = {
      {"QM120-RH", QStringLiteral("QM120-RH")},
      {"QM100-RH", QStringLiteral("QM100-RH")},
      {QByteArray("\x00\x02QM100-RH\x00\xff", 12), QStringLiteral("QM100-RH")},
      {"QM200-RHA", std::nullopt},
      {"QM200-RHA QM120-RH", std::nullopt},  // the unserved model wins
      {"QM120-RHA", QStringLiteral("QM120-RH")},
      {"QM120-R", std::nullopt},
      {"qm120-rh", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PortDiscovery::recogniseModel(c.answer), c.model) << c.answer.toHex().constData();
  }
}

}  // namespace
}  // namespace termika
