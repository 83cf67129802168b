#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "core/link/AdapterPins.h"
#include "core/link/AdapterWatch.h"
#include "core/link/PortDiscovery.h"
#include "core/link/PortFactory.h"
#include "core/link/Transport.h"

namespace termika {
namespace {

// What sits behind one port number.
struct FakeLogger {
  bool exists = true;      // false: the port will not open
  QByteArray answer{};     // reply to the identify request; empty = silent
  int delayMs = 0;         // how long the reply takes
  int silentProbes = 0;    // identify requests ignored before replying
  int awayAfterPulse = 0;  // opens that fail after each low pulse (-1: never back)
  int firstPiece = 0;      // > 0: the reply comes in two pieces, this long and the rest
};

class MemoryPort;

// In-memory ports behind the port numbers and adapter pins that answer
// presence as told: every open, close, pulse and write lands in one ordered
// log with its time.
class FakeBench final : public AdapterPins {
 public:
  struct Entry {
    qint64 ms;
    QString what;
  };
  FakeBench() { m_clock.start(); }

  void add(const QString& what) { entries.push_back({m_clock.elapsed(), what}); }
  // Every line, or those that mention port `port` ("open 3", "pulse 255 mem3", ...).
  QStringList lines(int port = 0) const {
    const QString tag = QString::number(port);
    QStringList out;
    for (const auto& e : entries) {
      const QStringList words = e.what.split(u' ');
      if (port == 0 || words.contains(tag) || words.contains("mem" + tag)) out << e.what;
    }
    return out;
  }
  TransportFactory factory();

  Result<void> pulse(const QString& portPath, std::uint8_t levels) override;
  AdapterPresence presence(const QString& portPath) override {
    presenceAsked << portPath;
    return answer;
  }
  QString description() const override { return QStringLiteral("recording pins"); }

  std::map<int, FakeLogger> loggers;  // a port not listed does not exist
  std::vector<Entry> entries;
  std::set<MemoryPort*> live;
  int pulsesWithPortOpen = 0;
  AdapterPresence answer = AdapterPresence::Present;
  bool pulsesFail = false;
  QStringList presenceAsked;  // the port path of every presence call

 private:
  QElapsedTimer m_clock;
};

class MemoryPort final : public Transport {
 public:
  MemoryPort(int port, FakeBench& bench) : m_port(port), m_bench(bench) {
    m_bench.live.insert(this);
  }
  ~MemoryPort() override { m_bench.live.erase(this); }

  Result<void> open() override {
    const bool away = m_away != 0;
    if (m_away > 0) --m_away;
    if (!logger().exists || away) {
      log("open %1 failed");
      return Error{QStringLiteral("Port %1 not found.").arg(m_port)};
    }
    log("open %1");
    m_open = true;
    ++m_opens;
    return {};
  }
  void close() override {
    if (m_open) log("close %1");
    m_open = false;
  }
  bool isOpen() const override { return m_open; }
  Result<void> write(const QByteArray& bytes) override {
    if (!m_open) return Error{QStringLiteral("closed")};
    log("write %1 " + QString::fromLatin1(bytes.toHex()));
    if (logger().answer.isEmpty() || m_probes++ < logger().silentProbes) return {};
    const int cut = logger().firstPiece > 0 ? logger().firstPiece : int(logger().answer.size());
    push(logger().answer.left(cut), logger().delayMs);
    if (cut < logger().answer.size()) push(logger().answer.mid(cut), logger().delayMs + 5);
    return {};
  }
  QByteArray readAll() override { return std::exchange(m_input, {}); }
  void discardInput() override {
    log("discard %1");
    m_input.clear();
  }
  QString description() const override { return QStringLiteral("mem%1").arg(m_port); }

  // The adapter was pulsed: a real port leaves for a moment.
  void pulsedLow() { m_away = logger().awayAfterPulse; }

 private:
  const FakeLogger& logger() const {
    return m_bench.loggers.try_emplace(m_port, FakeLogger{false}).first->second;
  }
  void log(const QString& pattern) { m_bench.add(pattern.arg(m_port)); }
  // Bytes the logger sends after `delayMs`; a port closed meanwhile loses them.
  void push(const QByteArray& bytes, int delayMs) {
    QTimer::singleShot(delayMs, this, [this, bytes, opens = m_opens] {
      if (!m_open || opens != m_opens) return;
      m_input += bytes;
      Q_EMIT readyRead();
    });
  }

  int m_port;
  FakeBench& m_bench;
  bool m_open = false;
  int m_opens = 0;
  int m_away = 0;
  int m_probes = 0;
  QByteArray m_input;
};

TransportFactory FakeBench::factory() {
  return [this](int port) { return std::make_unique<MemoryPort>(port, *this); };
}

Result<void> FakeBench::pulse(const QString& portPath, std::uint8_t levels) {
  add(QStringLiteral("pulse %1 %2").arg(levels).arg(portPath));
  for (MemoryPort* port : live) {
    if (port->isOpen()) ++pulsesWithPortOpen;
    if (levels == 0) port->pulsedLow();
  }
  if (pulsesFail) return Error{QStringLiteral("pins unreachable")};
  return {};
}

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
  Timings m_fast = Timings{}.scaled(100);

  FakeBench m_bench;
  std::unique_ptr<PortDiscovery> m_discovery;

  std::optional<int> m_foundPort;
  QString m_foundModel;
  std::unique_ptr<Transport> m_foundTransport;
  int m_notFoundCount = 0;
  QList<QPair<int, int>> m_progress;
  QList<int> m_skipped;
  QStringList m_notices;

  void make(const Timings& timings) {
    m_foundPort.reset();
    m_foundModel.clear();
    m_foundTransport.reset();
    m_notFoundCount = 0;
    m_discovery = std::make_unique<PortDiscovery>(timings, m_bench, *PortMap::fromTemplate("mem%1"),
                                                  m_bench.factory());
    PortDiscovery* d = m_discovery.get();
    QObject::connect(d, &PortDiscovery::found,
                     [this](int port, const QString& model, Transport* t) {
                       m_foundPort = port;
                       m_foundModel = model;
                       m_foundTransport.reset(t);
                     });
    QObject::connect(d, &PortDiscovery::notFound, [this] { ++m_notFoundCount; });
    QObject::connect(d, &PortDiscovery::progress, [this](int port, int attempt) {
      m_progress.append({port, attempt});
    });
    QObject::connect(d, &PortDiscovery::portSkipped,
                     [this](int port, const QString&) { m_skipped.append(port); });
    QObject::connect(d, &PortDiscovery::notice, [this](const QString& m) { m_notices << m; });
  }
  // Port and model found (0 and "" for none), and how often nothing was found.
  auto result() const { return std::tuple(m_foundPort.value_or(0), m_foundModel, m_notFoundCount); }
  void allSilent() {
    for (int port = 16; port >= 1; --port) m_bench.loggers[port] = {};
  }
  void runToEnd() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_foundPort || m_notFoundCount > 0; }, 20000));
    EXPECT_EQ(m_discovery->state(), PortDiscovery::State::Idle);
  }

  void TearDown() override {
    m_foundTransport.reset();
    m_discovery.reset();
    EXPECT_TRUE(m_bench.live.empty()) << "a port outlived the discovery";
    EXPECT_EQ(m_bench.pulsesWithPortOpen, 0) << "the pins were pulsed with the port open";
  }
};

TEST_F(DiscoveryTest, ScanFindsTheLoggerOnPort3AfterPorts16To4Fail) {
  // 16..13 have no device; 12 is the model we do not serve; 11 babbles; 10..4 are silent.
  allSilent();
  for (int port = 16; port >= 13; --port) m_bench.loggers.erase(port);
  m_bench.loggers[12].answer = QByteArray("\x00\x01QM200-RHA\xff", 12);
  m_bench.loggers[11].answer = "\x12\x34\x56\xff";
  m_bench.loggers[3].answer = "noise QM120-RH ver\xff";
  m_bench.loggers[2].answer = m_bench.loggers[1].answer = "QM100-RH";
  make(m_fast);

  ASSERT_TRUE(m_discovery->scan());
  runToEnd();
  ASSERT_EQ(result(), std::tuple(3, QString("QM120-RH"), 0));
  EXPECT_EQ(m_skipped, QList<int>({16, 15, 14, 13}));
  QList<QPair<int, int>> expectedProgress;
  for (int port = 12; port >= 4; --port) {
    for (int attempt = 0; attempt < 3; ++attempt) expectedProgress.append({port, attempt});
  }
  expectedProgress.append({3, 0});
  EXPECT_EQ(m_progress, expectedProgress);

  QStringList port12 = {"open 12"};
  for (int attempt = 0; attempt < 3; ++attempt) port12 += attemptLines(12);
  EXPECT_EQ(m_bench.lines(12), port12 << "close 12");
  EXPECT_EQ(m_bench.lines(16), QStringList{"open 16 failed"});
  EXPECT_EQ(m_bench.lines(3), QStringList{"open 3"} + attemptLines(3));
  EXPECT_TRUE((m_bench.lines(2) + m_bench.lines(1)).isEmpty());
  // The port stays open for the receiver: the connection's status read goes through it.
  EXPECT_TRUE(m_foundTransport && m_foundTransport->isOpen());

  // Without the loggers on 3..1 the most telling cause is the unserved model on 12.
  for (const int port : {3, 2, 1}) m_bench.loggers.erase(port);
  make(m_fast);
  ASSERT_TRUE(m_discovery->scan());
  runToEnd();
  EXPECT_EQ(m_notFoundCount, 1);
  EXPECT_EQ(m_discovery->fault(), ProbeFault::Unsupported);
}

TEST_F(DiscoveryTest, PulsesHighThenLowWithTheTimingOfTheProbe) {
  // Scaled by 4: 62 ms lead, 25 ms high, 62 ms trail, 125 ms answer wait.
  m_bench.loggers[1] = {.answer = "QM100-RH", .silentProbes = 2};
  make(Timings{}.scaled(4));
  ASSERT_TRUE(m_discovery->probePort(1));
  runToEnd();
  ASSERT_EQ(result(), std::tuple(1, QString("QM100-RH"), 0));

  // Every attempt: close, lead wait, pins high, high time, pins low, trail wait, open.
  const auto& entries = m_bench.entries;
  const auto expectGap = [&](size_t from, qint64 least, qint64 slack) {
    const qint64 gap = entries[from + 1].ms - entries[from].ms;
    EXPECT_GE(gap, least) << entries[from].what.toStdString();
    EXPECT_LE(gap, least + slack) << entries[from].what.toStdString();
  };
  int attempts = 0;
  for (size_t i = 0; i + 4 < entries.size(); ++i) {
    if (entries[i].what.startsWith("write 1") && entries[i + 1].what == "close 1") {
      expectGap(i, 125, 1000);  // a failed attempt waits its full answer time
    }
    if (entries[i].what != "close 1") continue;
    ++attempts;
    ASSERT_EQ(QStringList({entries[i + 1].what, entries[i + 2].what, entries[i + 3].what}),
              QStringList({"pulse 255 mem1", "pulse 0 mem1", "open 1"}));
    expectGap(i, 62, 35);
    expectGap(i + 1, 25, 35);
    expectGap(i + 2, 62, 35);
  }
  EXPECT_EQ(attempts, 3);
}

TEST_F(DiscoveryTest, AnAnswerInPiecesCountsButOneSlowerThanTheWaitDoesNot) {
  Timings timings = m_fast;
  timings.probeAnswer = std::chrono::milliseconds{40};
  const std::tuple<int, int, bool> cases[] = {// delay, first piece, found
                                              {20, 0, true},
                                              {3, 5, true},
                                              {90, 0, false}};
  for (const auto& [delayMs, piece, found] : cases) {
    m_bench.loggers[7] = {.answer = "xxQM120-RH\xff", .delayMs = delayMs, .firstPiece = piece};
    make(timings);
    ASSERT_TRUE(m_discovery->probePort(7));
    runToEnd();
    EXPECT_EQ(result(), found ? std::tuple(7, QString("QM120-RH"), 0) : std::tuple(0, QString(), 1))
        << delayMs << " ms";
  }
}

TEST_F(DiscoveryTest, UnreachablePinsGiveOneNoticeAndTheProbeGoesOn) {
  m_bench.answer = AdapterPresence::Unavailable;
  m_bench.pulsesFail = true;
  m_bench.loggers[2] = {.answer = "QM100-RH", .silentProbes = 1};
  make(m_fast);
  ASSERT_TRUE(m_discovery->probePort(2));
  runToEnd();
  EXPECT_EQ(result(), std::tuple(2, QString("QM100-RH"), 0));
  EXPECT_EQ(m_notices.size(), 1);  // once, though every attempt pulses
}

TEST_F(DiscoveryTest, WaitsABoundedTimeForThePortToComeBackAfterThePulse) {
  m_bench.loggers[2] = {.answer = "QM100-RH", .awayAfterPulse = 3};
  m_bench.loggers[3] = {.answer = "QM100-RH", .awayAfterPulse = -1};
  make(m_fast);
  ASSERT_TRUE(m_discovery->probePort(2));
  runToEnd();
  ASSERT_EQ(m_foundPort, 2);
  const QStringList expected = {
      "open 2",        "close 2",       "pulse 255 mem2", "pulse 0 mem2", "open 2 failed",
      "open 2 failed", "open 2 failed", "open 2",         "discard 2",    "write 2 " + kProbeHex};
  EXPECT_EQ(m_bench.lines(2), expected);

  make(m_fast);
  ASSERT_TRUE(m_discovery->probePort(3));  // never comes back
  runToEnd();
  EXPECT_EQ(m_notFoundCount, 1);
  EXPECT_EQ(m_discovery->fault(), ProbeFault::NoPort);
  // Per attempt: the first try after the trail wait and 20 more while waiting.
  EXPECT_EQ(m_bench.lines(3).filter("open 3 failed").size(), 3 * 21);
  EXPECT_TRUE(m_bench.lines(3).filter("write").isEmpty());
}

TEST_F(DiscoveryTest, OneSearchAtATimeAndAbortFromAProgressReceiverStopsIt) {
  allSilent();
  make(m_fast);
  qsizetype linesAtAbort = -1;
  QObject::connect(m_discovery.get(), &PortDiscovery::progress, [&](int port, int attempt) {
    if (port == 10 && attempt == 1) {
      m_discovery->abort();
      linesAtAbort = m_bench.entries.size();
    }
  });
  ASSERT_TRUE(m_discovery->scan());
  EXPECT_FALSE(m_discovery->scan() || m_discovery->probePort(3));
  ASSERT_TRUE(QTest::qWaitFor([&] { return linesAtAbort >= 0; }, 20000));
  QTest::qWait(50);
  EXPECT_EQ(m_discovery->state(), PortDiscovery::State::Idle);
  EXPECT_EQ(result(), std::tuple(0, QString(), 0));
  EXPECT_TRUE(m_bench.live.empty());
  EXPECT_EQ(qsizetype(m_bench.entries.size()), linesAtAbort);  // nothing after: port 9 untouched
  ASSERT_TRUE(m_discovery->probePort(3));                      // and a new one may start
  runToEnd();
  EXPECT_EQ(m_notFoundCount, 1);
}

// An answer naming no served model still tells why: nothing, the unserved
// model, point frames streamed by a transfer that goes on, or garbage.
TEST(PortDiscoveryProbe, AsksForTheModelAndRecognisesTheServedOnes) {
  EXPECT_EQ(PortDiscovery::probeFrame().toHex(), kProbeHex.toLatin1());
  const QByteArray stream = QByteArray::fromHex(
      "0000010000000200ff"
      "0001004400010144ff"
      "0001");
  const struct {
    QByteArray answer;
    std::optional<QString> model;
    ProbeFault fault;
  } cases[] = {{"QM120-RH", "QM120-RH", {}},
               {"QM100-RH", "QM100-RH", {}},
               {QByteArray("\x00\x02QM100-RH\x00\xff", 12), "QM100-RH", {}},
               {"QM200-RHA", std::nullopt, ProbeFault::Unsupported},
               {"QM200-RHA QM120-RH", std::nullopt, ProbeFault::Unsupported},  // unserved wins
               {"QM120-RHA", "QM120-RH", {}},
               {"QM120-R", std::nullopt, ProbeFault::Garbled},
               {"qm120-rh", std::nullopt, ProbeFault::Garbled},
               {stream, std::nullopt, ProbeFault::Streaming},
               {"", std::nullopt, ProbeFault::NoAnswer}};
  for (const auto& c : cases) {
    EXPECT_EQ(PortDiscovery::recogniseModel(c.answer), c.model) << c.answer.toHex().constData();
    if (!c.model) {
      EXPECT_EQ(classifyProbeAnswer(c.answer), c.fault) << c.answer.toHex().constData();
    }
  }
}

TEST(AdapterWatch, NoticesAnUnpluggedAdapterOnceOnlyWhileTheLinkIsIdle) {
  Timings timings;
  timings.adapterCheck = std::chrono::milliseconds{20};
  FakeBench pins;
  bool idle = false;
  AdapterWatch watch{timings, pins, [&] { return idle; }};
  QSignalSpy unplugged{&watch, &AdapterWatch::unplugged};
  pins.answer = AdapterPresence::Absent;
  watch.watch(QStringLiteral("/dev/ttyUSB2"));
  QTest::qWait(80);
  EXPECT_TRUE(pins.presenceAsked.isEmpty());  // busy: no check
  // A library that cannot see the adapter does not make it unplugged.
  pins.answer = AdapterPresence::Unavailable;
  idle = true;
  ASSERT_TRUE(QTest::qWaitFor([&] { return pins.presenceAsked.size() >= 2; }, 2000));
  EXPECT_EQ(unplugged.count(), 0);

  pins.answer = AdapterPresence::Absent;
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(unplugged.wait(2000));
  EXPECT_LE(clock.elapsed(), 20 + 40);  // within one check interval, give or take
  QTest::qWait(60);
  EXPECT_EQ(unplugged.count(), 1);
  EXPECT_FALSE(watch.watching());
  EXPECT_EQ(pins.presenceAsked.filter("/dev/ttyUSB2").size(), pins.presenceAsked.size());
  // Watching only looks: nothing was pulsed, opened or written.
  EXPECT_TRUE(pins.lines().isEmpty());
  // A stopped watch checks no more.
  pins.presenceAsked.clear();
  watch.watch(QStringLiteral("/dev/ttyUSB2"));
  watch.stop();
  QTest::qWait(80);
  EXPECT_TRUE(pins.presenceAsked.isEmpty());
}

}  // namespace
}  // namespace termika
