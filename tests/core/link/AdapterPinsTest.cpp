#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include "PortSysfs.h"
#include "core/link/AdapterPinsFactory.h"
#include "core/link/FtdiAdapterPins.h"
#include "core/link/SimulatedAdapterPins.h"

namespace termika {
namespace {

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(AdapterPins, MaskDrivesAllFourLinesAsOutputs) {
  struct Case {
    std::uint8_t levels;
    std::uint8_t mask;
  };
  const Case cases[] = {{255, 0xFF}, {0, 0xF0}, {0x05, 0xF5}, {0x0A, 0xFA}, {0xF0, 0xF0}};
  for (const Case& c : cases) {
    EXPECT_EQ(cbusMask(c.levels), c.mask) << int(c.levels);
  }
  EXPECT_EQ(kCbusBitBangMode, 0x20);
}

TEST(AdapterPins, SimulatedPulsesAreAppendedAsLines) {
  QTemporaryDir dir;
  const QString path = dir.filePath("adapter");
  SimulatedAdapterPins pins(path);
  EXPECT_EQ(pins.presence({}), AdapterPresence::Absent);
  EXPECT_FALSE(pins.pulse({}, 255).ok());
  EXPECT_FALSE(QFile::exists(path)) << "a pulse must not plug the adapter in";

  testing::FakeSysfs::write(path, "pulse 0 1000\n");  // left by an earlier run
  EXPECT_EQ(pins.presence(QStringLiteral("/tmp/termika/tty3")), AdapterPresence::Present);
  const qint64 before = QDateTime::currentMSecsSinceEpoch();
  ASSERT_TRUE(pins.pulse(QStringLiteral("/tmp/termika/tty3"), 255).ok());
  ASSERT_TRUE(pins.pulse(QStringLiteral("/tmp/termika/tty3"), 0).ok());
  const qint64 after = QDateTime::currentMSecsSinceEpoch();

  const QList<QByteArray> lines = readAll(path).split('\n');
  ASSERT_EQ(lines.size(), 4);  // three lines and the empty rest after the last newline
  EXPECT_EQ(lines[0], "pulse 0 1000");
  EXPECT_EQ(lines[3], "");
  const std::uint8_t levels[] = {255, 0};
  for (int i = 0; i < 2; ++i) {
    const QList<QByteArray> words = lines[i + 1].split(' ');
    ASSERT_EQ(words.size(), 3) << lines[i + 1].constData();
    EXPECT_EQ(words[0], "pulse");
    EXPECT_EQ(words[1].toInt(), levels[i]);
    const qint64 ms = words[2].toLongLong();
    EXPECT_GE(ms, before);
    EXPECT_LE(ms, after);
  }
}

TEST(AdapterPins, ChoiceOfTheCommandLine) {
  struct Case {
    const char* choice;
    const char* description;  // empty: refused
  };
  const Case cases[] = {
      {"", "FTDI adapter (libftdi1)"},
      {"ftdi", "FTDI adapter (libftdi1)"},
      {"none", "no adapter pins"},  // always present, pulses succeed
      {"sim:/tmp/termika/adapter", "simulated adapter /tmp/termika/adapter"},
      {"sim:", ""},
      {"usb", ""},
      {"SIM:/x", ""},
  };
  for (const Case& c : cases) {
    const auto pins = makeAdapterPins(c.choice);
    if (*c.description == '\0') {
      ASSERT_FALSE(pins.ok()) << c.choice;
      EXPECT_TRUE(pins.error().message.contains(c.choice)) << c.choice;
    } else {
      ASSERT_TRUE(pins.ok()) << c.choice;
      EXPECT_EQ((*pins)->description().toStdString(), c.description);
      if (QByteArray(c.choice) == "none") {
        EXPECT_EQ((*pins)->presence({}), AdapterPresence::Present);
        EXPECT_TRUE((*pins)->pulse(QStringLiteral("/dev/ttyUSB0"), 255).ok());
      }
    }
  }
}

// No FTDI hardware is assumed: the adapter of this port sits at a bus address
// no real machine uses, so the library is really asked and must say "absent".
TEST(AdapterPins, FtdiEnumerationWithoutTheDeviceIsAbsent) {
  testing::FakeSysfs sysfs;
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

}  // namespace
}  // namespace termika
