#include "core/link/SerialTransport.h"

#include <QDebug>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTimer>
#include <utility>

#include "core/base/Says.h"
#include "core/link/SerialOpenFailure.h"

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace termika {

namespace {

// Notes about the port; termika-cli shows them only with --verbose.
Q_LOGGING_CATEGORY(portNotes, "termika.port")

bool pathExists(const QString& devicePath) {
#ifdef Q_OS_WIN
  Q_UNUSED(devicePath);
  return true;  // COM names are not files; the port itself tells
#else
  return QFileInfo::exists(devicePath);
#endif
}

bool mayReadAndWrite(const QString& devicePath) {
#ifdef Q_OS_WIN
  Q_UNUSED(devicePath);
  return true;
#else
  return ::access(QFile::encodeName(devicePath).constData(), R_OK | W_OK) == 0;
#endif
}

// Errors after which the port is no use any more (the adapter was pulled, ...).
bool isFatal(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
      return true;
    default:
      return false;
  }
}

}  // namespace

SerialTransport::SerialTransport(QString devicePath, QString baudSetting, LatencyTimer* latency,
                                 QObject* parent)
    : Transport(parent),
      m_devicePath(std::move(devicePath)),
      m_baudSetting(std::move(baudSetting)),
      m_latency(latency) {
  connect(&m_port, &QSerialPort::readyRead, this, &Transport::readyRead);
  connect(&m_port, &QSerialPort::errorOccurred, this, &SerialTransport::onError);
}

SerialTransport::~SerialTransport() { close(); }

Result<qint32> SerialTransport::parseBaudSetting(const QString& baudSetting) {
  bool ok = false;
  const qint32 baud = baudSetting.trimmed().toInt(&ok);
  if (!ok || baud <= 0) {
    return Error{says("\"%1\" is not a baud rate.").arg(baudSetting)};
  }
  return baud;
}

Result<void> SerialTransport::applyPortSettings() {
  const auto baud = parseBaudSetting(m_baudSetting);
  if (!baud) {
    return baud.error();
  }
  m_port.setPortName(m_devicePath);
  if (!m_port.setBaudRate(*baud) || !m_port.setDataBits(QSerialPort::Data8) ||
      !m_port.setParity(QSerialPort::NoParity) || !m_port.setStopBits(QSerialPort::OneStop) ||
      !m_port.setFlowControl(QSerialPort::NoFlowControl)) {
    return Error{says("Serial port %1 does not take %2 baud, 8N1: %3")
                     .arg(m_devicePath, m_baudSetting, m_port.errorString())};
  }
  return {};
}

Result<void> SerialTransport::open() {
  if (m_port.isOpen()) {
    return {};
  }
  if (auto settings = applyPortSettings(); !settings) {
    return settings;
  }
  m_settingUp = true;
  if (!m_port.open(QIODevice::ReadWrite)) {
    const auto error = m_port.error();
    const QString detail = m_port.errorString();
    m_port.clearError();
    m_settingUp = false;
    const auto failure =
        classifyOpenFailure(error, pathExists(m_devicePath), mayReadAndWrite(m_devicePath));
    return Error{openFailureMessage(failure, m_devicePath, detail)};
  }
  setControlLine(&QSerialPort::setRequestToSend, "RTS");
  m_port.clearError();
  m_settingUp = false;
  m_failed = false;
  if (m_latency) {
    m_latency->lower(m_devicePath);
  }
  return {};
}

void SerialTransport::setControlLine(bool (QSerialPort::*setter)(bool), const char* name) {
  // A pseudo-terminal has no modem lines ("Inappropriate ioctl for device");
  // the logger talks without them, so this is worth a note, not a failure.
  if (!(m_port.*setter)(true)) {
    note(says("%1 could not be set on %2 (%3); carrying on without it.")
             .arg(QString::fromLatin1(name), m_devicePath, m_port.errorString()));
  }
}

void SerialTransport::note(const QString& text) {
  if (!m_notes.contains(text)) {
    m_notes.append(text);
    qCInfo(portNotes).noquote() << text;
  }
}

void SerialTransport::close() {
  if (!m_port.isOpen()) {
    return;
  }
  m_port.close();
  m_port.clearError();
  if (m_latency) {
    m_latency->restore(m_devicePath);
  }
}

bool SerialTransport::isOpen() const { return m_port.isOpen(); }

Result<void> SerialTransport::write(const QByteArray& bytes) {
  if (!m_port.isOpen()) {
    return Error{says("Serial port %1 is not open.").arg(m_devicePath)};
  }
  if (m_port.write(bytes) != bytes.size()) {
    return Error{says("Writing to %1 failed: %2").arg(m_devicePath, m_port.errorString())};
  }
  return {};
}

QByteArray SerialTransport::readAll() { return m_port.isOpen() ? m_port.readAll() : QByteArray(); }

void SerialTransport::discardInput() {
  if (m_port.isOpen()) {
    m_port.clear(QSerialPort::Input);
    m_port.readAll();  // whatever Qt had buffered already
  }
}

QString SerialTransport::description() const { return m_devicePath; }

void SerialTransport::onError(QSerialPort::SerialPortError error) {
  if (error == QSerialPort::NoError || m_settingUp || !m_port.isOpen()) {
    return;
  }
  if (!isFatal(error)) {
    note(says("Serial port %1: %2").arg(m_devicePath, m_port.errorString()));
    return;
  }
  if (m_failed) {
    return;
  }
  m_failed = true;
  // A hung-up port keeps signalling read errors until it is closed; closing
  // from inside the port's own signal is not safe, so it happens next turn.
  QTimer::singleShot(0, this, [this] {
    if (m_failed) {
      close();
    }
  });
  Q_EMIT failed(says("Serial port %1 failed: %2").arg(m_devicePath, m_port.errorString()));
}

}  // namespace termika
