#pragma once

#include <QByteArray>
#include <functional>

#include "core/link/Transport.h"

namespace termika {

// An in-process port: what the program writes goes to a peer (the simulated
// logger, or a scripted one in tests); what the peer delivers arrives
// through readyRead on a later turn of the event loop, as from a real port.
class PipeTransport final : public Transport {
  Q_OBJECT
 public:
  using Peer = std::function<void(const QByteArray& bytes)>;

  explicit PipeTransport(QObject* parent = nullptr);

  Result<void> open() override;
  void close() override;
  bool isOpen() const override { return m_open; }
  Result<void> write(const QByteArray& bytes) override;
  QByteArray readAll() override;
  void discardInput() override { m_inbox.clear(); }
  QString description() const override;

  // The peer receives every written block, in order.
  void setPeer(Peer peer) { m_peer = std::move(peer); }
  // Bytes from the peer; dropped while the port is closed.
  void deliver(const QByteArray& bytes);
  // The port vanishes (an unplugged adapter): closes and reports failed.
  void fail(const QString& message);
  // Makes the next writes fail, as a port lost between events would.
  void setWriteError(bool failing) { m_writeError = failing; }

 Q_SIGNALS:
  void written(const QByteArray& bytes);

 private:
  void notify();

  Peer m_peer;
  QByteArray m_inbox;
  bool m_open = false;
  bool m_writeError = false;
  bool m_notifyPending = false;
};

}  // namespace termika
