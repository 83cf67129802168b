#pragma once

#include <QString>
#include <optional>

namespace termika {

// Where a USB device sits on the bus, as libusb numbers it.
struct UsbLocation {
  int bus = 0;
  int address = 0;
  bool operator==(const UsbLocation&) const = default;
};

// The kernel's name of a USB serial port ("ttyUSB0") behind a device path,
// following symlinks such as "/tmp/termika/tty3"; empty when the path is not
// such a port (a pty, a COM name, a missing file).
QString usbSerialPortName(const QString& devicePath);

// The sysfs folder of a USB serial port under `sysfsRoot` ("/sys" in the
// program, a temporary folder in tests); empty when the port is unknown there.
QString usbSerialPortFolder(const QString& sysfsRoot, const QString& devicePath);

// The bus and address of the USB adapter that owns a serial port, read from
// the busnum/devnum files of the USB device above the port in sysfs.
std::optional<UsbLocation> usbLocationOfPort(const QString& sysfsRoot, const QString& devicePath);

}  // namespace termika
