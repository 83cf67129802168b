#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "FileFixtures.h"
#include "core/link/AdapterLocation.h"
#include "core/link/AdapterPinsFactory.h"
#include "core/link/FtdiAdapterPins.h"
#include "core/link/LatencyTimer.h"
#include "core/link/PortMap.h"
#include "core/link/SerialOpenFailure.h"
#include "core/link/SerialTransport.h"
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
  for (const qint64 ms : {lines.captured(1).toLongLong(), lines.captured(2).toLongLong()})
    EXPECT_TRUE(ms >= before && ms <= after) << text.toStdString();
}

// The descriptions name what was chosen; a refusal names the choice.
TEST(AdapterPins, ChoiceOfTheCommandLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "libftdi1"},       {"ftdi", "libftdi1"},
      {"none", "no adapter"}, {"sim:/tmp/termika/adapter", "/tmp/termika/adapter"},
      {"sim:", nullptr},      {"SIM:/x", nullptr}};
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
  EXPECT_TRUE(!pulsed.ok() && pulsed.error().message.contains(port));
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
  EXPECT_TRUE(message.contains(first) && message.contains("udev rule")) << message.toStdString();
  latency.restore(first);  // nothing was changed, nothing to restore
}

TEST(PortMap, NamesPortsByPlatformAndTemplate) {
  const PortMap linux = PortMap::linuxDefault();
  const PortMap windows = PortMap::windowsDefault();
  const PortMap simulator = *PortMap::fromTemplate("/tmp/termika/tty%1");
  const PortMap byId = *PortMap::fromTemplate("/dev/serial/by-id/logger-%1-port%1");
  const PortMap percent = *PortMap::fromTemplate("/tmp/100%/tty%1-%2");  // other % sequences stay
  const std::tuple<const PortMap&, int, const char*> cases[] = {
      // path; nullptr: refused
      {linux, 1, "/dev/ttyUSB0"},
      {linux, 255, "/dev/ttyUSB254"},
      {linux, 0, nullptr},
      {linux, -1, nullptr},
      {linux, 256, nullptr},
      {windows, 1, "COM1"},
      {simulator, 16, "/tmp/termika/tty16"},
      {byId, 7, "/dev/serial/by-id/logger-7-port7"},
      {percent, 4, "/tmp/100%/tty4-%2"}};
  for (const auto& [map, port, expected] : cases) {
    SCOPED_TRACE(port);
    const auto path = map.devicePath(port);
    ASSERT_EQ(path.ok(), expected != nullptr);
    if (!path.ok()) {
      EXPECT_TRUE(path.error().message.contains(QString::number(port)));
      continue;
    }
    EXPECT_EQ(path->toStdString(), expected);
  }
  for (const char* pattern : {"/dev/ttyUSB", "", "COM%2"}) {  // a template needs the placeholder
    const auto map = PortMap::fromTemplate(pattern);
    ASSERT_FALSE(map.ok()) << pattern;
    EXPECT_TRUE(map.error().message.contains("%1")) << pattern;
  }
}

TEST(SerialOpenFailure, TellsMissingFromForbiddenFromBusyAndNamesTheFix) {
  using F = SerialOpenFailure;
  struct Case {
    QSerialPort::SerialPortError error;
    bool exists, accessible;
    F expected;
  };
  const Case cases[] = {{QSerialPort::DeviceNotFoundError, true, true, F::NotFound},
                        // A vanished device may surface as any error; its absence decides.
                        {QSerialPort::OpenError, false, true, F::NotFound},
                        {QSerialPort::PermissionError, true, false, F::PermissionDenied},
                        {QSerialPort::PermissionError, true, true, F::InUse},
                        {QSerialPort::OpenError, true, true, F::Other}};
  for (const Case& c : cases) {
    EXPECT_EQ(classifyOpenFailure(c.error, c.exists, c.accessible), c.expected)
        << c.error << " exists=" << c.exists << " accessible=" << c.accessible;
  }
  const std::tuple<F, QStringList, QStringList> messages[] = {
      // what it says, what it does not
      {F::NotFound, {"not found"}, {"dialout"}},
      {F::PermissionDenied, {"dialout", "udev rule"}, {"not found"}},
      {F::InUse, {"in use"}, {}},
      {F::Other, {"Device jammed"}, {}}};
  const QString path = QStringLiteral("/dev/ttyUSB2");
  for (const auto& [failure, says, not_] : messages) {
    const QString message = openFailureMessage(failure, path, "Device jammed");
    for (const QString& word : says + QStringList{path}) {
      EXPECT_TRUE(message.contains(word)) << message.toStdString();
    }
    for (const QString& word : not_) EXPECT_FALSE(message.contains(word)) << message.toStdString();
  }
}

// Bytes both ways and answers in pieces over a real pseudo-terminal are the fault suite's and the
// command line's. A pty has no modem lines: the refused RTS change is noted once, not a failed
// open; a port that hangs up fails once and closes.
TEST(SerialTransport, APtyOpensWithANoteAndAHangUpFailsOnceAndCloses) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_TRUE(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
  const QString slave = QString::fromLocal8Bit(ptsname(master));
  SerialTransport port(slave, QStringLiteral("57600"));
  const auto opened = port.open();
  ASSERT_TRUE(opened.ok()) << opened.error().message.toStdString();
  ASSERT_EQ(port.notes().size(), 1);
  EXPECT_TRUE(port.notes().first().startsWith("RTS") && port.notes().first().contains(slave));
  QSignalSpy failed(&port, &Transport::failed);
  ::close(master);
  ASSERT_TRUE(failed.wait(2000));
  QTest::qWait(30);
  EXPECT_EQ(failed.count(), 1);
  EXPECT_TRUE(failed.first().first().toString().contains(slave));
  EXPECT_FALSE(port.isOpen());
}

TEST(SerialTransport, AMissingPortOrABaudSettingThatIsNoNumberIsRefused) {
  QTemporaryDir dir;
  const QString missing = dir.filePath("ttyUSB7");
  const QString present = dir.filePath("tty0");
  ASSERT_TRUE(QFile(present).open(QIODevice::WriteOnly));
  const std::tuple<QString, const char*, QStringList> cases[] = {
      // what the message names
      {missing, "57600", {missing, "not found"}},
      {present, "fast", {"baud"}},
      {present, "0", {"baud"}}};
  for (const auto& [path, baud, words] : cases) {
    SCOPED_TRACE(baud);
    SerialTransport port(path, QString::fromLatin1(baud));
    const auto opened = port.open();
    ASSERT_FALSE(opened.ok());
    for (const QString& word : words) {
      EXPECT_TRUE(opened.error().message.contains(word)) << opened.error().message.toStdString();
    }
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write("x").ok());
    EXPECT_TRUE(port.readAll().isEmpty());
  }
  const auto baud = SerialTransport::parseBaudSetting(QStringLiteral(" 19200 "));
  ASSERT_TRUE(baud.ok());
  EXPECT_EQ(*baud, 19200);
}

}  // namespace
}  // namespace termika
