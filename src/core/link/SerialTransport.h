#pragma once

#include <QPointer>
#include <QSerialPort>
#include <QString>
#include <QStringList>

#include "core/link/LatencyTimer.h"
#include "core/link/Transport.h"

namespace termika {

// The logger's serial port: `BaudSetting` baud, 8 data bits, no parity, one
// stop bit, RTS on (ApplyPortSettings). Receiving is event-driven.
class SerialTransport final : public Transport {
  Q_OBJECT
 public:
  // `latency` (may be null) lowers the adapter's latency timer while open.
  SerialTransport(QString devicePath, QString baudSetting, LatencyTimer* latency = nullptr,
                  QObject* parent = nullptr);
  ~SerialTransport() override;

  Result<void> open() override;
  void close() override;
  bool isOpen() const override;
  Result<void> write(const QByteArray& bytes) override;
  QByteArray readAll() override;
  void discardInput() override;
  QString description() const override;

  // Settings the port refused without harm (RTS on a pseudo-terminal, ...).
  const QStringList& notes() const { return m_notes; }

  static Result<qint32> parseBaudSetting(const QString& baudSetting);

 private:
  Result<void> applyPortSettings();
  void setControlLine(bool (QSerialPort::*setter)(bool), const char* name);
  void onError(QSerialPort::SerialPortError error);
  void note(const QString& text);

  QString m_devicePath;
  QString m_baudSetting;
  QPointer<LatencyTimer> m_latency;
  QSerialPort m_port;
  QStringList m_notes;
  bool m_settingUp = false;  // errors of harmless settings are expected then
  bool m_failed = false;     // `failed` is reported once per opening
};

}  // namespace termika
