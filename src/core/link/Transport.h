#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "core/base/Result.h"

namespace termika {

// The seam between the link and whatever carries its bytes: a serial port,
// or an in-process pipe to the simulated logger. Receiving is event-driven:
// readyRead fires whenever bytes arrive, in any split.
class Transport : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  ~Transport() override = default;

  virtual Result<void> open() = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  // Writes all bytes or fails with a message (a lost port, ...).
  virtual Result<void> write(const QByteArray& bytes) = 0;
  virtual QByteArray readAll() = 0;
  // Drops input that has arrived but not been read.
  virtual void discardInput() = 0;
  // Human-readable name of the port ("/dev/ttyUSB0", "simulated logger").
  virtual QString description() const = 0;

 Q_SIGNALS:
  void readyRead();
  // The port failed or vanished while open; the link treats it as unplugged.
  void failed(const QString& message);
};

}  // namespace termika
