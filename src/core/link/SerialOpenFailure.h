#pragma once

#include <QSerialPort>
#include <QString>

namespace termika {

// Why a serial port would not open, told apart so the user gets the fix
// that applies rather than one vague message.
enum class SerialOpenFailure { NotFound, PermissionDenied, InUse, Other };

// `exists`: the device path is there; `accessible`: we may read and write it.
SerialOpenFailure classifyOpenFailure(QSerialPort::SerialPortError error, bool exists,
                                      bool accessible);

QString openFailureMessage(SerialOpenFailure failure, const QString& devicePath,
                           const QString& detail);

}  // namespace termika
