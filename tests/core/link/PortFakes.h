#pragma once

// In-memory ports and adapter pins for the discovery and reopen tests: every
// open, close, pulse and write lands in one ordered log with its time.

#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <map>
#include <memory>
#include <set>

#include "core/link/AdapterPins.h"
#include "core/link/PortFactory.h"
#include "core/link/Transport.h"

namespace termika::testing {

struct LogEntry {
  qint64 ms;
  QString what;
};

class EventLog final {
 public:
  EventLog() { m_clock.start(); }
  void add(const QString& what) { m_entries.push_back({m_clock.elapsed(), what}); }
  const std::vector<LogEntry>& entries() const { return m_entries; }
  QStringList lines() const {
    QStringList out;
    for (const auto& e : m_entries) out << e.what;
    return out;
  }
  // Lines that mention port `port` ("open 3", "pulse 255 mem3", ...).
  QStringList linesOf(int port) const {
    const QString tag = QString::number(port);
    QStringList out;
    for (const auto& e : m_entries) {
      const QStringList words = e.what.split(u' ');
      if (words.contains(tag) || words.contains(QStringLiteral("mem") + tag)) out << e.what;
    }
    return out;
  }

 private:
  QElapsedTimer m_clock;
  std::vector<LogEntry> m_entries;
};

// What sits behind one port number.
struct FakeLogger {
  bool exists = true;                  // false: the port will not open
  QByteArray answer;                   // reply to the identify request; empty = silent
  std::chrono::milliseconds delay{0};  // how long the reply takes
  int silentProbes = 0;                // identify requests ignored before replying
  int awayAfterPulse = 0;              // opens that fail after each low pulse (-1: never back)

  static FakeLogger missing() {
    FakeLogger logger;
    logger.exists = false;
    return logger;
  }
  static FakeLogger silent() { return FakeLogger(); }
  static FakeLogger answering(const QByteArray& answer) {
    FakeLogger logger;
    logger.answer = answer;
    return logger;
  }
  FakeLogger after(int ms) const {
    FakeLogger logger = *this;
    logger.delay = std::chrono::milliseconds{ms};
    return logger;
  }
  FakeLogger ignoring(int probes) const {
    FakeLogger logger = *this;
    logger.silentProbes = probes;
    return logger;
  }
  FakeLogger away(int opens) const {
    FakeLogger logger = *this;
    logger.awayAfterPulse = opens;
    return logger;
  }
};

class MemoryPort;

// The ports, the pins and the log of one test.
class FakeBench final {
 public:
  std::map<int, FakeLogger> loggers;
  EventLog log;
  std::set<MemoryPort*> live;
  int pulsesWithPortOpen = 0;

  TransportFactory factory();
  bool anyPortOpen() const;
  void pulsed(std::uint8_t levels);
};

class MemoryPort final : public Transport {
 public:
  MemoryPort(int port, FakeBench& bench) : m_port(port), m_bench(bench) {
    m_bench.live.insert(this);
    m_reply.setSingleShot(true);
    connect(&m_reply, &QTimer::timeout, this, [this] {
      m_input += logger().answer;
      Q_EMIT readyRead();
    });
  }
  ~MemoryPort() override { m_bench.live.erase(this); }

  Result<void> open() override {
    if (!logger().exists) {
      m_bench.log.add(QStringLiteral("open %1 failed").arg(m_port));
      return Error{QStringLiteral("Port %1 not found.").arg(m_port)};
    }
    if (m_away != 0) {
      m_away = m_away > 0 ? m_away - 1 : m_away;
      m_bench.log.add(QStringLiteral("open %1 failed").arg(m_port));
      return Error{QStringLiteral("Port %1 is away.").arg(m_port)};
    }
    m_bench.log.add(QStringLiteral("open %1").arg(m_port));
    m_open = true;
    return {};
  }
  void close() override {
    if (m_open) {
      m_bench.log.add(QStringLiteral("close %1").arg(m_port));
    }
    m_open = false;
    m_reply.stop();  // a closed port loses what was on its way
  }
  bool isOpen() const override { return m_open; }
  Result<void> write(const QByteArray& bytes) override {
    if (!m_open) return Error{QStringLiteral("closed")};
    if (m_failWrites != 0) {
      m_failWrites = m_failWrites > 0 ? m_failWrites - 1 : m_failWrites;
      m_bench.log.add(QStringLiteral("write %1 failed").arg(m_port));
      return Error{QStringLiteral("write failed")};
    }
    m_bench.log.add(
        QStringLiteral("write %1 %2").arg(m_port).arg(QString::fromLatin1(bytes.toHex())));
    if (!logger().answer.isEmpty()) {
      if (m_probes++ >= logger().silentProbes) m_reply.start(logger().delay);
    }
    return {};
  }
  QByteArray readAll() override { return std::exchange(m_input, {}); }
  void discardInput() override {
    m_bench.log.add(QStringLiteral("discard %1").arg(m_port));
    m_input.clear();
  }
  QString description() const override { return QStringLiteral("mem%1").arg(m_port); }

  // The adapter was pulsed: a real port leaves for a moment.
  void pulsedLow() { m_away = logger().awayAfterPulse; }
  // The next `count` writes fail (-1: all).
  void failWrites(int count) { m_failWrites = count; }
  // Bytes the logger sends unasked.
  void push(const QByteArray& bytes) {
    m_input += bytes;
    Q_EMIT readyRead();
  }

 private:
  const FakeLogger& logger() const { return m_bench.loggers[m_port]; }

  int m_port;
  FakeBench& m_bench;
  bool m_open = false;
  int m_away = 0;
  int m_failWrites = 0;
  int m_probes = 0;
  QByteArray m_input;
  QTimer m_reply;
};

inline TransportFactory FakeBench::factory() {
  return [this](int port) -> std::unique_ptr<Transport> {
    if (loggers.count(port) == 0) loggers[port] = FakeLogger::missing();
    return std::make_unique<MemoryPort>(port, *this);
  };
}

inline bool FakeBench::anyPortOpen() const {
  for (const MemoryPort* port : live) {
    if (port->isOpen()) return true;
  }
  return false;
}

inline void FakeBench::pulsed(std::uint8_t levels) {
  if (anyPortOpen()) ++pulsesWithPortOpen;
  if (levels == 0) {
    for (MemoryPort* port : live) port->pulsedLow();
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
