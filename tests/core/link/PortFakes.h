#pragma once

// In-memory ports and adapter pins for the discovery and reopen tests: every
// open, close, pulse and write lands in one ordered log with its time.

#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <map>
#include <memory>
#include <set>

#include "core/link/AdapterPins.h"
#include "core/link/PortFactory.h"
#include "core/link/Transport.h"

namespace termika::testing {

class EventLog final {
 public:
  struct Entry {
    qint64 ms;
    QString what;
  };
  EventLog() { m_clock.start(); }
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
  std::vector<Entry> entries;

 private:
  QElapsedTimer m_clock;
};

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

// The ports, the pins and the log of one test.
struct FakeBench final {
  std::map<int, FakeLogger> loggers;  // a port not listed does not exist
  EventLog log;
  std::set<MemoryPort*> live;
  int pulsesWithPortOpen = 0;

  TransportFactory factory();
  void pulsed(std::uint8_t levels);
};

class MemoryPort final : public Transport {
 public:
  MemoryPort(int port, FakeBench& bench) : m_port(port), m_bench(bench) {
    m_bench.live.insert(this);
    m_reply.setSingleShot(true);
    connect(&m_reply, &QTimer::timeout, this, [this] {
      const int cut = logger().firstPiece;
      push(cut > 0 ? logger().answer.left(cut) : logger().answer);
      if (cut > 0)
        QTimer::singleShot(5, this, [this, rest = logger().answer.mid(cut)] { push(rest); });
    });
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
    return {};
  }
  void close() override {
    if (m_open) log("close %1");
    m_open = false;
    m_reply.stop();  // a closed port loses what was on its way
  }
  bool isOpen() const override { return m_open; }
  Result<void> write(const QByteArray& bytes) override {
    if (!m_open) return Error{QStringLiteral("closed")};
    log("write %1 " + QString::fromLatin1(bytes.toHex()));
    if (!logger().answer.isEmpty() && m_probes++ >= logger().silentProbes) {
      m_reply.start(logger().delayMs);
    }
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
  // Bytes the logger sends.
  void push(const QByteArray& bytes) {
    m_input += bytes;
    Q_EMIT readyRead();
  }

 private:
  const FakeLogger& logger() const {
    return m_bench.loggers.try_emplace(m_port, FakeLogger{false}).first->second;
  }
  void log(const QString& pattern) { m_bench.log.add(pattern.arg(m_port)); }

  int m_port;
  FakeBench& m_bench;
  bool m_open = false;
  int m_away = 0;
  int m_probes = 0;
  QByteArray m_input;
  QTimer m_reply;
};

inline TransportFactory FakeBench::factory() {
  return [this](int port) { return std::make_unique<MemoryPort>(port, *this); };
}

inline void FakeBench::pulsed(std::uint8_t levels) {
  for (MemoryPort* port : live) {
    if (port->isOpen()) ++pulsesWithPortOpen;
    if (levels == 0) port->pulsedLow();
  }
}

// Pins that log every pulse and answer presence as told.
class RecordingPins final : public AdapterPins {
 public:
  explicit RecordingPins(FakeBench& bench) : m_bench(bench) {}

  AdapterPresence answer = AdapterPresence::Present;
  bool pulsesFail = false;
  QStringList presenceAsked;  // the port path of every presence call

  Result<void> pulse(const QString& portPath, std::uint8_t levels) override {
    m_bench.log.add(QStringLiteral("pulse %1 %2").arg(levels).arg(portPath));
    m_bench.pulsed(levels);
    if (pulsesFail) return Error{QStringLiteral("pins unreachable")};
    return {};
  }
  AdapterPresence presence(const QString& portPath) override {
    presenceAsked << portPath;
    return answer;
  }
  QString description() const override { return QStringLiteral("recording pins"); }

 private:
  FakeBench& m_bench;
};

}  // namespace termika::testing
