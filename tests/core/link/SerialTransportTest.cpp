#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "core/link/PortFactory.h"
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
      {linux, 3, "/dev/ttyUSB2"},
      {linux, 255, "/dev/ttyUSB254"},
      {linux, 0, nullptr},
      {linux, -1, nullptr},
      {linux, 256, nullptr},
      {windows, 1, "COM1"},
      {windows, 16, "COM16"},
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
  const Case cases[] = {{QSerialPort::DeviceNotFoundError, false, false, F::NotFound},
                        {QSerialPort::DeviceNotFoundError, true, true, F::NotFound},
                        // A vanished device may surface as any error; its absence decides.
                        {QSerialPort::PermissionError, false, false, F::NotFound},
                        {QSerialPort::OpenError, false, true, F::NotFound},
                        {QSerialPort::PermissionError, true, false, F::PermissionDenied},
                        {QSerialPort::OpenError, true, false, F::PermissionDenied},
                        {QSerialPort::PermissionError, true, true, F::InUse},
                        {QSerialPort::OpenError, true, true, F::Other},
                        {QSerialPort::UnknownError, true, true, F::Other}};
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

// A pseudo-terminal: the test plays the logger on the master side, the
// transport opens the slave like a serial port (as termika-sim's port is).
class Pty final {
 public:
  Pty() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0) {
      slave = QString::fromLocal8Bit(ptsname(m_master));
      fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
  }
  ~Pty() { hangUp(); }

  bool send(const QByteArray& bytes) {
    return ::write(m_master, bytes.constData(), bytes.size()) == bytes.size();
  }
  // Collects what the program wrote until `count` bytes are there (or 2 s pass).
  QByteArray receive(qsizetype count) {
    QByteArray got;
    (void)QTest::qWaitFor(  // the caller compares the bytes, which says more
        [&] {
          char buffer[256];
          const ssize_t n = ::read(m_master, buffer, sizeof buffer);
          if (n > 0) got.append(buffer, n);
          return got.size() >= count;
        },
        2000);
    return got;
  }
  void hangUp() {
    if (m_master >= 0) ::close(m_master);
    m_master = -1;
  }

  QString slave;

 private:
  int m_master = -1;
};

// Through a port map whose template names a symlink to the pty, as the
// simulator's ports are reached.
TEST(SerialTransport, CarriesBytesBothWaysOverAPtyUnchanged) {
  Pty pty;
  QTemporaryDir dir;
  const QString link = dir.filePath("tty3");
  ASSERT_TRUE(QFile::link(pty.slave, link));
  const auto factory = serialTransportFactory(
      *PortMap::fromTemplate(dir.filePath("tty%1")), [] { return QStringLiteral("57600"); },
      nullptr);
  EXPECT_FALSE(factory(0)) << "no device for port 0";
  const auto port = factory(3);
  ASSERT_TRUE(port);
  EXPECT_EQ(port->description(), link);
  const auto opened = port->open();
  ASSERT_TRUE(opened.ok()) << opened.error().message.toStdString();
  // A pty has no modem lines: the refused RTS change is noted once, not a failed open.
  const QStringList notes = static_cast<SerialTransport&>(*port).notes();
  ASSERT_EQ(notes.size(), 1);
  EXPECT_TRUE(notes.first().startsWith("RTS") && notes.first().contains(link))
      << notes.first().toStdString();

  // Binary bytes a terminal would otherwise translate: CR, LF, 0x7F, 0xFF.
  const QByteArray bytes = QByteArray::fromHex("0d0a7f00ff0001009900000000ff");
  ASSERT_TRUE(port->write(bytes).ok());
  EXPECT_EQ(pty.receive(bytes.size()).toHex(), bytes.toHex());

  QSignalSpy ready(port.get(), &Transport::readyRead);
  ASSERT_TRUE(pty.send("stale bytes"));
  ASSERT_TRUE(ready.wait(2000));
  port->discardInput();
  EXPECT_TRUE(port->readAll().isEmpty());

  const QByteArray answer = QByteArray::fromHex("0001000400120024ff");
  QByteArray got;
  QObject::connect(port.get(), &Transport::readyRead, [&] { got += port->readAll(); });
  for (const QByteArray& piece : {answer.left(1), answer.mid(1, 5), answer.mid(6)}) {
    ASSERT_TRUE(pty.send(piece));
    QTest::qWait(5);
  }
  (void)QTest::qWaitFor([&] { return got.size() >= answer.size(); }, 2000);
  EXPECT_EQ(got.toHex(), answer.toHex());
  port->close();
  EXPECT_FALSE(port->isOpen());

  // A port that hangs up fails once and closes.
  ASSERT_TRUE(port->open().ok());
  QSignalSpy failed(port.get(), &Transport::failed);
  pty.hangUp();
  ASSERT_TRUE(failed.wait(2000));
  QTest::qWait(30);
  EXPECT_EQ(failed.count(), 1);
  EXPECT_TRUE(failed.first().first().toString().contains(link));
  EXPECT_FALSE(port->isOpen());
}

TEST(SerialTransport, AMissingPortOrABaudSettingThatIsNoNumberIsRefused) {
  Pty pty;
  QTemporaryDir dir;
  const QString missing = dir.filePath("ttyUSB7");
  const std::tuple<QString, const char*, QStringList> cases[] = {
      // what the message names
      {missing, "57600", {missing, "not found"}},
      {pty.slave, "fast", {"baud"}},
      {pty.slave, "", {"baud"}},
      {pty.slave, "-9600", {"baud"}},
      {pty.slave, "0", {"baud"}}};
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
