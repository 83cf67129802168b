#pragma once

// A miniature of the sysfs tree that USB serial adapters leave under /sys,
// in a temporary folder: the USB device (busnum, devnum), its interface, the
// ttyUSBn folder with an optional latency_timer, the bus/usb-serial link to
// it, and a stand-in device node.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>

namespace termika::testing {

class FakeSysfs final {
 public:
  QString root() const { return m_dir.path() + QStringLiteral("/sys"); }
  QString devFolder() const { return m_dir.path() + QStringLiteral("/dev"); }
  QString path(const QString& relative) const { return m_dir.path() + u'/' + relative; }

  // Adds ttyUSB<n> on an adapter at bus/address; returns its device path.
  // `latency`: contents of latency_timer (nullopt: no such file, as with
  // drivers other than FTDI's).
  QString addPort(int n, int bus, int address, std::optional<QByteArray> latency) {
    const QString hub = root() + QStringLiteral("/devices/pci0000:00/usb%1").arg(bus);
    const QString device = hub + QStringLiteral("/%1-%2").arg(bus).arg(address);
    const QString port =
        device + QStringLiteral("/%1-%2:1.0/ttyUSB%3").arg(bus).arg(address).arg(n);
    QDir().mkpath(port);
    write(hub + "/busnum", QByteArray::number(bus) + '\n');
    write(hub + "/devnum", "1\n");  // the root hub: must not be taken for the adapter
    write(device + "/busnum", QByteArray::number(bus) + '\n');
    write(device + "/devnum", QByteArray::number(address) + '\n');
    if (latency) write(port + "/latency_timer", *latency);
    QDir().mkpath(root() + "/bus/usb-serial/devices");
    QFile::link(port, root() + QStringLiteral("/bus/usb-serial/devices/ttyUSB%1").arg(n));
    return addNode(QStringLiteral("ttyUSB%1").arg(n));
  }

  // A device node without sysfs entry (a pty, a built-in serial port, ...).
  QString addNode(const QString& name) {
    QDir().mkpath(devFolder());
    const QString node = devFolder() + u'/' + name;
    write(node, {});
    return node;
  }

  QString latencyFile(int n) const {
    return root() + QStringLiteral("/bus/usb-serial/devices/ttyUSB%1/latency_timer").arg(n);
  }
  QByteArray read(const QString& file) const {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
  }
  static void write(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
  }

 private:
  QTemporaryDir m_dir;
};

}  // namespace termika::testing
