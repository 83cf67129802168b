#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <optional>

#include "FileFixtures.h"
#include "core/link/AdapterLocation.h"
#include "core/link/AdapterPinsFactory.h"
#include "core/link/FtdiAdapterPins.h"
#include "core/link/LatencyTimer.h"
#include "core/link/SimulatedAdapterPins.h"

namespace termika {
namespace {

using testing::fileState;
using testing::writeAll;
using Outcome = LatencyTimer::Outcome;

// A miniature of the sysfs tree that USB serial adapters leave under /sys,
// in a temporary folder: the USB device (busnum, devnum), its interface, the
// ttyUSBn folder with an optional latency_timer, the bus/usb-serial link to
// it, and a stand-in device node.
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
    writeAll(hub + "/busnum", QByteArray::number(bus) + '\n');
    writeAll(hub + "/devnum", "1\n");  // the root hub: must not be taken for the adapter
    writeAll(device + "/busnum", QByteArray::number(bus) + '\n');
    writeAll(device + "/devnum", QByteArray::number(address) + '\n');
    if (latency) writeAll(port + "/latency_timer", *latency);
    QDir().mkpath(root() + "/bus/usb-serial/devices");
    QFile::link(port, root() + QStringLiteral("/bus/usb-serial/devices/ttyUSB%1").arg(n));
    return addNode(QStringLiteral("ttyUSB%1").arg(n));
  }

  // A device node without sysfs entry (a pty, a built-in serial port, ...).
  QString addNode(const QString& name) {
    QDir().mkpath(devFolder());
    const QString node = devFolder() + u'/' + name;
    writeAll(node, {});
    return node;
  }

  QString latencyFile(int n) const {
    return root() + QStringLiteral("/bus/usb-serial/devices/ttyUSB%1/latency_timer").arg(n);
  }

 private:
  QTemporaryDir m_dir;
};

TEST(AdapterLocation, FindsTheAdapterThatOwnsAPort) {
  FakeSysfs sysfs;
  const QString usb0 = sysfs.addPort(0, 1, 7, QByteArray("16\n"));
  const QString usb1 = sysfs.addPort(1, 3, 12, std::nullopt);
  const QString garbled = sysfs.addPort(2, 2, 5, std::nullopt);
  // The walk must not settle for the root hub's numbers above the adapter.
  writeAll(sysfs.root() + "/devices/pci0000:00/usb2/2-5/devnum", "five\n");
  const QString alias = sysfs.path("tty3");
  ASSERT_TRUE(QFile::link(usb1, alias));  // as a --port-map symlink would be
  using Location = std::optional<std::pair<int, int>>;
  const std::tuple<QString, QString, Location> cases[] = {
      {usb0, "ttyUSB0", std::pair{1, 7}},
      {usb1, "ttyUSB1", std::pair{3, 12}},
      {alias, "ttyUSB1", std::pair{3, 12}},
      {sysfs.devFolder() + "/missing/ttyUSB0", "ttyUSB0", std::pair{1, 7}},  // unplugged
      {garbled, "ttyUSB2", std::nullopt},
      {sysfs.addNode("ttyUSB9"), "ttyUSB9", std::nullopt},  // a node sysfs does not know
      {sysfs.addNode("pts5"), "", std::nullopt},
      {sysfs.addNode("ttyUSB"), "", std::nullopt},
      {sysfs.addNode("ttyUSB1x"), "", std::nullopt},
      {"COM3", "", std::nullopt}};
  for (const auto& [path, name, expected] : cases) {
    SCOPED_TRACE(path.toStdString());
    EXPECT_EQ(usbSerialPortName(path), name);
    const auto location = usbLocationOfPort(sysfs.root(), path);
    EXPECT_EQ(location ? Location(std::pair{location->bus, location->address}) : std::nullopt,
              expected);
  }
}

TEST(AdapterPins, SimulatedPulsesAreAppendedAsLines) {
  QTemporaryDir dir;
  const QString path = dir.filePath("adapter");
  const QString port = QStringLiteral("/tmp/termika/tty3");
  SimulatedAdapterPins pins(path);
  EXPECT_EQ(pins.presence({}), AdapterPresence::Absent);
  EXPECT_FALSE(pins.pulse({}, 255).ok());
  EXPECT_FALSE(QFile::exists(path)) << "a pulse must not plug the adapter in";

  writeAll(path, "pulse 0 1000\n");  // left by an earlier run
  EXPECT_EQ(pins.presence(port), AdapterPresence::Present);
  const qint64 before = QDateTime::currentMSecsSinceEpoch();
  ASSERT_TRUE(pins.pulse(port, 255).ok());
  ASSERT_TRUE(pins.pulse(port, 0).ok());
  const qint64 after = QDateTime::currentMSecsSinceEpoch();

  // The earlier line stays; each pulse adds its levels and the time in ms.
  const QString text = QString::fromLatin1(fileState(path));
  const auto lines =
      QRegularExpression("^pulse 0 1000\npulse 255 (\\d+)\npulse 0 (\\d+)\n\\z").match(text);
  ASSERT_TRUE(lines.hasMatch()) << text.toStdString();
  for (const int i : {1, 2}) {
    EXPECT_GE(lines.captured(i).toLongLong(), before);
    EXPECT_LE(lines.captured(i).toLongLong(), after);
  }
}

// The descriptions name what was chosen; a refusal names the choice.
TEST(AdapterPins, ChoiceOfTheCommandLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "libftdi1"},       {"ftdi", "libftdi1"},
      {"none", "no adapter"}, {"sim:/tmp/termika/adapter", "/tmp/termika/adapter"},
      {"sim:", nullptr},      {"usb", nullptr},
      {"SIM:/x", nullptr}};
  for (const auto& [choice, description] : cases) {
    const auto pins = makeAdapterPins(choice);
    ASSERT_EQ(pins.ok(), description != nullptr) << choice;
    EXPECT_TRUE(pins.ok() ? (*pins)->description().contains(description)
                          : pins.error().message.contains(choice))
        << choice;
  }
  const auto none = makeAdapterPins("none");  // always present, pulses succeed
  EXPECT_EQ((*none)->presence({}), AdapterPresence::Present);
  EXPECT_TRUE((*none)->pulse(QStringLiteral("/dev/ttyUSB0"), 255).ok());
}

// No FTDI hardware is assumed: the adapter of this port sits at a bus address
// no real machine uses, so the library is really asked and must say "absent".
TEST(AdapterPins, FtdiEnumerationWithoutTheDeviceIsAbsent) {
  FakeSysfs sysfs;
  const QString port = sysfs.addPort(0, 250, 127, QByteArray("16\n"));
  FtdiAdapterPins pins(sysfs.root());
  EXPECT_EQ(pins.presence(port), AdapterPresence::Absent);
  const auto pulsed = pins.pulse(port, 255);
  ASSERT_FALSE(pulsed.ok());
  EXPECT_TRUE(pulsed.error().message.contains(port)) << pulsed.error().message.toStdString();
  // Once the node is gone with the adapter, its last known place still decides.
  QFile::remove(port);
  EXPECT_EQ(pins.presence(port), AdapterPresence::Absent);
}

TEST(SerialLatency, LowersToOneMillisecondAndPutsTheOldValueBack) {
  FakeSysfs sysfs;
  const QString port = sysfs.addPort(0, 1, 4, QByteArray("16\n"));
  const QString file = sysfs.latencyFile(0);
  LatencyTimer latency(sysfs.root());
  QSignalSpy advice(&latency, &LatencyTimer::adviceGiven);
  EXPECT_EQ(latency.controlFile(port), file);
  EXPECT_EQ(latency.lower(port), Outcome::Lowered);
  EXPECT_EQ(latency.lower(port), Outcome::Lowered);  // twice: the first value is kept
  EXPECT_EQ(fileState(file), "1");
  latency.restore(port);
  EXPECT_EQ(fileState(file), "16");
  // A second restore has nothing left to put back.
  writeAll(file, "4");
  latency.restore(port);
  EXPECT_EQ(fileState(file), "4");
  EXPECT_EQ(advice.count(), 0);
  {  // Ending the program restores what is still lowered.
    LatencyTimer ending(sysfs.root());
    ASSERT_EQ(ending.lower(port), Outcome::Lowered);
  }
  EXPECT_EQ(fileState(file), "4");
}

TEST(SerialLatency, OtherPortsAreLeftAloneAndAReadOnlySettingGivesTheAdviceOnce) {
  FakeSysfs sysfs;
  // Root ignores file modes, so folders stand in for files we may not write.
  const QString first = sysfs.addPort(0, 1, 4, std::nullopt);
  const QString second = sysfs.addPort(1, 1, 6, std::nullopt);
  ASSERT_TRUE(QDir().mkpath(sysfs.latencyFile(0)));
  ASSERT_TRUE(QDir().mkpath(sysfs.latencyFile(1)));
  const QString otherDriver = sysfs.addPort(2, 1, 5, std::nullopt);
  LatencyTimer latency(sysfs.root());
  QSignalSpy advice(&latency, &LatencyTimer::adviceGiven);
  for (const QString& port : {otherDriver, sysfs.addNode("pts3"), QString("/nonexistent/tty7")}) {
    EXPECT_TRUE(latency.controlFile(port).isEmpty()) << port.toStdString();
    EXPECT_EQ(latency.lower(port), Outcome::NotAnFtdiPort) << port.toStdString();
  }
  EXPECT_EQ(advice.count(), 0);
  for (const QString& port : {first, second, first}) {
    EXPECT_EQ(latency.lower(port), Outcome::NotWritable);
  }
  ASSERT_EQ(advice.count(), 1);
  const QString message = advice.first().first().toString();
  EXPECT_TRUE(message.contains(first)) << message.toStdString();
  EXPECT_TRUE(message.contains("udev rule")) << message.toStdString();
  latency.restore(first);  // nothing was changed, nothing to restore
}

}  // namespace
}  // namespace termika
