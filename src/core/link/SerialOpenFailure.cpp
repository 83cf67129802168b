#include "core/link/SerialOpenFailure.h"

#include "core/base/Says.h"

namespace termika {

SerialOpenFailure classifyOpenFailure(QSerialPort::SerialPortError error, bool exists,
                                      bool accessible) {
  if (!exists || error == QSerialPort::DeviceNotFoundError) {
    return SerialOpenFailure::NotFound;
  }
  if (!accessible) {
    return SerialOpenFailure::PermissionDenied;
  }
  // Allowed to open it, yet refused: another program holds the port or its lock.
  if (error == QSerialPort::PermissionError) {
    return SerialOpenFailure::InUse;
  }
  return SerialOpenFailure::Other;
}

QString openFailureMessage(SerialOpenFailure failure, const QString& devicePath,
                           const QString& detail) {
  switch (failure) {
    case SerialOpenFailure::NotFound:
      return says("Serial port %1 not found. Is the adapter plugged in?").arg(devicePath);
    case SerialOpenFailure::PermissionDenied:
      return says(
                 "No permission to open %1. Add your user to the dialout group (sudo usermod "
                 "-aG dialout $USER, then log in again) or install the udev rule shipped with "
                 "termika.")
          .arg(devicePath);
    case SerialOpenFailure::InUse:
      return says("Serial port %1 is in use by another program.").arg(devicePath);
    case SerialOpenFailure::Other:
      break;
  }
  return says("Serial port %1 cannot be opened: %2").arg(devicePath, detail);
}

}  // namespace termika
