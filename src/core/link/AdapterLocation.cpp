#include "core/link/AdapterLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace termika {

namespace {

// Levels between the port's folder and the USB device: port -> interface -> device.
constexpr int kMaxLevelsUp = 4;

std::optional<int> readNumberFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return std::nullopt;
  }
  bool ok = false;
  const int value = file.read(32).trimmed().toInt(&ok);
  if (!ok || value < 0) {
    return std::nullopt;
  }
  return value;
}

bool isUsbSerialName(const QString& name) {
  const QString prefix = QStringLiteral("ttyUSB");
  if (!name.startsWith(prefix) || name.size() == prefix.size()) {
    return false;
  }
  for (qsizetype i = prefix.size(); i < name.size(); ++i) {
    if (name[i] < u'0' || name[i] > u'9') {
      return false;
    }
  }
  return true;
}

}  // namespace

QString usbSerialPortName(const QString& devicePath) {
  const QFileInfo info(devicePath);
  const QString canonical = info.canonicalFilePath();
  // A vanished device has no canonical path; its own name may still tell.
  const QString name = canonical.isEmpty() ? info.fileName() : QFileInfo(canonical).fileName();
  return isUsbSerialName(name) ? name : QString();
}

QString usbSerialPortFolder(const QString& sysfsRoot, const QString& devicePath) {
  const QString name = usbSerialPortName(devicePath);
  if (name.isEmpty()) {
    return {};
  }
  const QString folder = sysfsRoot + QStringLiteral("/bus/usb-serial/devices/") + name;
  return QFileInfo(folder).isDir() ? folder : QString();
}

std::optional<UsbLocation> usbLocationOfPort(const QString& sysfsRoot, const QString& devicePath) {
  const QString folder = usbSerialPortFolder(sysfsRoot, devicePath);
  if (folder.isEmpty()) {
    return std::nullopt;
  }
  QDir dir(QFileInfo(folder).canonicalFilePath());
  for (int level = 0; level < kMaxLevelsUp && dir.cdUp(); ++level) {
    const QString busFile = dir.filePath(QStringLiteral("busnum"));
    if (!QFileInfo::exists(busFile)) {
      continue;  // the interface between port and device
    }
    // The first USB device above the port is its adapter; hubs further up are not.
    const auto bus = readNumberFile(busFile);
    const auto address = readNumberFile(dir.filePath(QStringLiteral("devnum")));
    if (!bus || !address) {
      return std::nullopt;
    }
    return UsbLocation{*bus, *address};
  }
  return std::nullopt;
}

}  // namespace termika
