#include "PtyServer.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace termika {
namespace {

// Answers nobody reads (no program on the terminal) pile up only this far.
constexpr qsizetype kOutboxLimit = qsizetype{1024} * 1024;

QString systemError(const char* what) {
  return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                      QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

PtyServer::PtyServer(std::unique_ptr<SimulatedLogger> logger, FrameTrace* trace, QObject* parent)
    : QObject(parent), m_logger(std::move(logger)), m_trace(trace) {
  m_due.setSingleShot(true);
  // Pacing and latency are measured against this timer: a coarse one would
  // add its own slack to every answer.
  m_due.setTimerType(Qt::PreciseTimer);
  connect(&m_due, &QTimer::timeout, this, &PtyServer::pump);
  m_clock.start();
}

PtyServer::~PtyServer() { closeTerminal(); }

Result<QString> PtyServer::open() {
  m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (m_master < 0) return Error{systemError("posix_openpt")};
  if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
    const Error e{systemError("unlockpt")};
    closeTerminal();
    return e;
  }
  const char* name = ::ptsname(m_master);
  if (name == nullptr) {
    const Error e{systemError("ptsname")};
    closeTerminal();
    return e;
  }
  const QString path = QString::fromLocal8Bit(name);
  m_slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
  termios tio{};
  if (m_slave < 0 || ::tcgetattr(m_slave, &tio) != 0) {
    const Error e{systemError("opening the terminal")};
    closeTerminal();
    return e;
  }
  // Raw bytes both ways: no echo, no line editing, no CR/LF translation.
  ::cfmakeraw(&tio);
  ::tcsetattr(m_slave, TCSANOW, &tio);

  m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
  connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyServer::onReadable);
  m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
  m_writeNotifier->setEnabled(false);
  connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyServer::onWritable);
  return path;
}

void PtyServer::onReadable() {
  char buffer[4096];
  const ssize_t n = ::read(m_master, buffer, sizeof buffer);
  if (n <= 0) return;
  const QByteArray bytes(buffer, static_cast<qsizetype>(n));
  const qint64 now = elapsedMs();
  m_trace->bytes(now, true, bytes);
  m_logger->advanceTo(now);
  m_logger->receive(bytes);
  pump();
}

void PtyServer::pump() {
  if (m_master < 0) return;
  const qint64 now = elapsedMs();
  m_logger->advanceTo(now);
  for (const SimChunk& chunk : m_logger->takeOutputUntil(now)) {
    m_trace->bytes(now, false, chunk.bytes);
    if (m_outbox.size() < kOutboxLimit) m_outbox += chunk.bytes;
  }
  if (m_logger->unplugged()) {
    m_trace->note(now, QStringLiteral("unplugged"));
    closeTerminal();
    Q_EMIT unplugged();
    return;
  }
  onWritable();
  if (const auto next = m_logger->nextOutputAt()) {
    m_due.start(static_cast<int>(std::max<qint64>(0, *next - now)));
  }
}

void PtyServer::onWritable() {
  while (!m_outbox.isEmpty()) {
    const ssize_t n = ::write(m_master, m_outbox.constData(), static_cast<size_t>(m_outbox.size()));
    if (n <= 0) break;  // the terminal is full: wait until it drains
    m_outbox.remove(0, static_cast<qsizetype>(n));
  }
  if (m_writeNotifier) m_writeNotifier->setEnabled(!m_outbox.isEmpty());
}

void PtyServer::closeTerminal() {
  delete m_readNotifier;
  m_readNotifier = nullptr;
  delete m_writeNotifier;
  m_writeNotifier = nullptr;
  m_due.stop();
  if (m_slave >= 0) ::close(m_slave);
  if (m_master >= 0) ::close(m_master);
  m_slave = -1;
  m_master = -1;
}

}  // namespace termika
