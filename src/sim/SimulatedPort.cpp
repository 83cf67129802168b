#include "sim/SimulatedPort.h"

#include <algorithm>
#include <cmath>

namespace termika {

SimulatedPort::SimulatedPort(SimScenario scenario, double speed, QObject* parent)
    : QObject(parent),
      m_logger(std::make_unique<SimulatedLogger>(std::move(scenario))),
      m_speed(std::max(0.0, speed)) {
  m_clock.start();
  m_due.setSingleShot(true);
  connect(&m_due, &QTimer::timeout, this, &SimulatedPort::pump);
}

SimulatedPort::~SimulatedPort() = default;

std::unique_ptr<PipeTransport> SimulatedPort::makeTransport() {
  auto pipe = std::make_unique<PipeTransport>();
  PipeTransport* raw = pipe.get();
  m_pipe = raw;
  pipe->setPeer([this, raw](const QByteArray& bytes) {
    if (m_pipe == raw) onWritten(bytes);
  });
  return pipe;
}

qint64 SimulatedPort::virtualNow() const {
  if (m_speed <= 0.0) return m_unpacedNow;
  return static_cast<qint64>(std::floor(static_cast<double>(m_clock.elapsed()) * m_speed));
}

void SimulatedPort::unplug() {
  m_logger->unplug();
  m_due.stop();
  if (m_pipe) m_pipe->fail(QStringLiteral("The simulated adapter was unplugged."));
}

void SimulatedPort::onWritten(const QByteArray& bytes) {
  if (m_logger->unplugged()) return;
  m_logger->advanceTo(std::max(m_logger->now(), virtualNow()));
  m_logger->receive(bytes);
  // Answers are never delivered from inside the write that caused them.
  m_due.start(0);
}

void SimulatedPort::pump() {
  qint64 now = std::max(m_logger->now(), virtualNow());
  if (m_speed <= 0.0) {
    // Unpaced: the logger's time jumps to its next answer.
    if (const auto next = m_logger->nextOutputAt()) now = std::max(now, *next);
    m_unpacedNow = now;
  }
  m_logger->advanceTo(now);
  QByteArray out;
  for (const SimChunk& chunk : m_logger->takeOutputUntil(now)) out += chunk.bytes;
  if (m_logger->unplugged()) {
    if (m_pipe) m_pipe->fail(QStringLiteral("The simulated adapter was unplugged."));
    return;
  }
  if (m_pipe && !out.isEmpty()) m_pipe->deliver(out);
  if (const auto next = m_logger->nextOutputAt()) {
    if (m_speed <= 0.0) {
      m_due.start(0);
    } else {
      const double wait = static_cast<double>(*next - now) / m_speed;
      m_due.start(static_cast<int>(std::max(0.0, std::ceil(wait))));
    }
  }
}

}  // namespace termika
