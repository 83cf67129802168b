#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "core/link/PortFactory.h"
#include "core/link/SerialTransport.h"

namespace termika {
namespace {

// A pseudo-terminal: the test plays the logger on the master side, the
// transport opens the slave like a serial port (as termika-sim's port is).
class Pty final {
 public:
  Pty() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0) {
      m_slave = QString::fromLocal8Bit(ptsname(m_master));
      fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
  }
  ~Pty() { hangUp(); }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  bool ok() const { return m_master >= 0 && !m_slave.isEmpty(); }
  const QString& slave() const { return m_slave; }

  bool send(const QByteArray& bytes) {
    return ::write(m_master, bytes.constData(), bytes.size()) == bytes.size();
  }
  // Collects what the program wrote until `count` bytes are there (or 2 s pass).
  QByteArray receive(qsizetype count) {
    QByteArray got;
    // The caller compares the bytes, which says more than a time-out would.
    (void)QTest::qWaitFor(
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

 private:
  int m_master = -1;
  QString m_slave;
};

// Reads from the transport until `count` bytes have come, however they are split.
QByteArray collect(Transport& port, qsizetype count) {
  QByteArray got;
  QObject::connect(&port, &Transport::readyRead, [&] { got += port.readAll(); });
  (void)QTest::qWaitFor([&] { return got.size() >= count; }, 2000);
  QObject::disconnect(&port, &Transport::readyRead, nullptr, nullptr);
  return got;
}

TEST(SerialTransport, CarriesBytesBothWaysOverAPtyUnchanged) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  SerialTransport port(pty.slave(), QStringLiteral("57600"));
  const auto opened = port.open();
  ASSERT_TRUE(opened.ok()) << opened.error().message.toStdString();
  EXPECT_EQ(port.description(), pty.slave());
  // A pty has no modem lines: the refused RTS change is noted once, not a failed open.
  ASSERT_EQ(port.notes().size(), 1);
  EXPECT_TRUE(port.notes().first().startsWith("RTS")) << port.notes().first().toStdString();
  EXPECT_TRUE(port.notes().first().contains(pty.slave()));

  // Binary bytes a terminal would otherwise translate: CR, LF, 0x7F, 0xFF.
  const QByteArray bytes = QByteArray::fromHex("0d0a7f00ff0001009900000000ff");
  ASSERT_TRUE(port.write(bytes).ok());
  EXPECT_EQ(pty.receive(bytes.size()).toHex(), bytes.toHex());

  QSignalSpy ready(&port, &Transport::readyRead);
  ASSERT_TRUE(pty.send("stale bytes"));
  ASSERT_TRUE(ready.wait(2000));
  port.discardInput();
  EXPECT_TRUE(port.readAll().isEmpty());

  const QByteArray answer = QByteArray::fromHex("0001000400120024ff");
  ASSERT_TRUE(pty.send(answer.left(1)));
  QTest::qWait(5);
  ASSERT_TRUE(pty.send(answer.mid(1, 5)));
  QTest::qWait(5);
  ASSERT_TRUE(pty.send(answer.mid(6)));
  EXPECT_EQ(collect(port, answer.size()).toHex(), answer.toHex());
  port.close();
  EXPECT_FALSE(port.isOpen());
}

TEST(SerialTransport, OpensThroughAPortMapSymlink) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  QTemporaryDir dir;
  ASSERT_TRUE(QFile::link(pty.slave(), dir.filePath("tty3")));
  const auto map = PortMap::fromTemplate(dir.filePath("tty%1"));
  ASSERT_TRUE(map.ok());
  const auto factory = serialTransportFactory(
      *map, [] { return QStringLiteral("57600"); }, nullptr);

  auto port = factory(3);
  ASSERT_TRUE(port);
  EXPECT_EQ(port->description(), dir.filePath("tty3"));
  ASSERT_TRUE(port->open().ok());
  ASSERT_TRUE(port->write("\x05").ok());
  EXPECT_EQ(pty.receive(1), QByteArray("\x05"));
  EXPECT_FALSE(factory(0)) << "no device for port 0";
}

TEST(SerialTransport, AMissingPortSaysNotFound) {
  QTemporaryDir dir;
  const QString path = dir.filePath("ttyUSB7");
  SerialTransport port(path, QStringLiteral("57600"));

  const auto opened = port.open();
  ASSERT_FALSE(opened.ok());
  EXPECT_TRUE(opened.error().message.contains(path)) << opened.error().message.toStdString();
  EXPECT_TRUE(opened.error().message.contains("not found")) << opened.error().message.toStdString();
  EXPECT_FALSE(port.isOpen());
  EXPECT_FALSE(port.write("x").ok());
  EXPECT_TRUE(port.readAll().isEmpty());
  port.discardInput();
  port.close();
}

TEST(SerialTransport, ABaudSettingThatIsNoNumberIsRefused) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  for (const char* setting : {"fast", "", "-9600", "0"}) {
    SerialTransport port(pty.slave(), QString::fromLatin1(setting));
    const auto opened = port.open();
    ASSERT_FALSE(opened.ok()) << setting;
    EXPECT_TRUE(opened.error().message.contains("baud")) << setting;
    EXPECT_FALSE(port.isOpen()) << setting;
  }
  const auto baud = SerialTransport::parseBaudSetting(QStringLiteral(" 19200 "));
  ASSERT_TRUE(baud.ok());
  EXPECT_EQ(*baud, 19200);
}

TEST(SerialTransport, AHungUpPortFailsOnceAndCloses) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  SerialTransport port(pty.slave(), QStringLiteral("57600"));
  ASSERT_TRUE(port.open().ok());
  QSignalSpy failed(&port, &Transport::failed);

  pty.hangUp();
  ASSERT_TRUE(failed.wait(2000));
  QTest::qWait(30);
  EXPECT_EQ(failed.count(), 1);
  EXPECT_TRUE(failed.first().first().toString().contains(pty.slave()));
  EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace termika
