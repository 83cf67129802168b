#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "core/link/PortMap.h"
#include "core/link/SerialOpenFailure.h"
#include "core/link/SerialTransport.h"

namespace termika {
namespace {

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
      {present, "", {"baud"}},
      {present, "-9600", {"baud"}},
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
