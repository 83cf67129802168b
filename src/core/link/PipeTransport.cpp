#include "core/link/PipeTransport.h"

#include <QMetaObject>

#include "core/base/Says.h"

namespace termika {

PipeTransport::PipeTransport(QObject* parent) : Transport(parent) {}

Result<void> PipeTransport::open() {
  m_open = true;
  m_inbox.clear();
  return {};
}

void PipeTransport::close() {
  m_open = false;
  m_inbox.clear();
}

Result<void> PipeTransport::write(const QByteArray& bytes) {
  if (!m_open) return Error{says("The simulated port is not open.")};
  if (m_writeError) return Error{says("The simulated port failed while writing.")};
  Q_EMIT written(bytes);
  if (m_peer) m_peer(bytes);
  return {};
}

QByteArray PipeTransport::readAll() {
  QByteArray out;
  out.swap(m_inbox);
  return out;
}

QString PipeTransport::description() const { return QStringLiteral("simulated logger"); }

void PipeTransport::deliver(const QByteArray& bytes) {
  if (!m_open || bytes.isEmpty()) return;
  m_inbox += bytes;
  notify();
}

void PipeTransport::fail(const QString& message) {
  close();
  Q_EMIT failed(message);
}

void PipeTransport::notify() {
  // One readyRead per turn of the loop, however many deliveries came before it.
  if (m_notifyPending) return;
  m_notifyPending = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        m_notifyPending = false;
        if (m_open && !m_inbox.isEmpty()) Q_EMIT readyRead();
      },
      Qt::QueuedConnection);
}

}  // namespace termika
