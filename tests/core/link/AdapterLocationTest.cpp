#include <gtest/gtest.h>

#include <QFile>

#include "PortSysfs.h"
#include "core/link/AdapterLocation.h"

namespace termika {
namespace {

TEST(AdapterLocation, FindsTheAdapterThatOwnsAPort) {
  testing::FakeSysfs sysfs;
  const QString usb0 = sysfs.addPort(0, 1, 7, QByteArray("16\n"));
  const QString usb1 = sysfs.addPort(1, 3, 12, std::nullopt);
  const QString pty = sysfs.addNode("pts5");
  const QString unknown = sysfs.addNode("ttyUSB9");  // a node sysfs does not know
  const QString alias = sysfs.path("tty3");
  ASSERT_TRUE(QFile::link(usb1, alias));                        // as a --port-map symlink would be
  const QString gone = sysfs.devFolder() + "/missing/ttyUSB0";  // unplugged: node gone

  struct Case {
    QString devicePath;
    QString name;
    std::optional<UsbLocation> location;
  };
  const Case cases[] = {
      {usb0, "ttyUSB0", UsbLocation{1, 7}},
      {usb1, "ttyUSB1", UsbLocation{3, 12}},
      {alias, "ttyUSB1", UsbLocation{3, 12}},
      {gone, "ttyUSB0", UsbLocation{1, 7}},
      {unknown, "ttyUSB9", std::nullopt},
      {pty, "", std::nullopt},
      {sysfs.addNode("ttyUSB"), "", std::nullopt},
      {sysfs.addNode("ttyUSB1x"), "", std::nullopt},
      {"COM3", "", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(usbSerialPortName(c.devicePath), c.name) << c.devicePath.toStdString();
    const auto location = usbLocationOfPort(sysfs.root(), c.devicePath);
    EXPECT_EQ(location.has_value(), c.location.has_value()) << c.devicePath.toStdString();
    if (location && c.location) {
      EXPECT_EQ(location->bus, c.location->bus) << c.devicePath.toStdString();
      EXPECT_EQ(location->address, c.location->address) << c.devicePath.toStdString();
    }
  }
}

TEST(AdapterLocation, GarbledNumbersGiveNoLocation) {
  testing::FakeSysfs sysfs;
  const QString port = sysfs.addPort(0, 2, 5, std::nullopt);
  testing::FakeSysfs::write(sysfs.root() + "/devices/pci0000:00/usb2/2-5/devnum", "five\n");
  // The walk must not settle for the root hub's numbers above the adapter.
  EXPECT_FALSE(usbLocationOfPort(sysfs.root(), port).has_value());
}

}  // namespace
}  // namespace termika
