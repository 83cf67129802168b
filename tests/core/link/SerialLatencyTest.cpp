#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include "PortSysfs.h"
#include "core/link/LatencyTimer.h"

namespace termika {
namespace {

using Outcome = LatencyTimer::Outcome;

TEST(SerialLatency, LowersToOneMillisecondAndPutsTheOldValueBack) {
  testing::FakeSysfs sysfs;
  const QString port = sysfs.addPort(0, 1, 4, QByteArray("16\n"));
  LatencyTimer latency(sysfs.root());
  QSignalSpy advice(&latency, &LatencyTimer::adviceGiven);

  EXPECT_EQ(latency.controlFile(port), sysfs.latencyFile(0));
  EXPECT_EQ(latency.lower(port), Outcome::Lowered);
  EXPECT_EQ(latency.lower(port), Outcome::Lowered);  // twice: the first value is kept
  EXPECT_EQ(sysfs.read(sysfs.latencyFile(0)), "1");
  latency.restore(port);
  EXPECT_EQ(sysfs.read(sysfs.latencyFile(0)), "16");
  // A second restore has nothing left to put back.
  testing::FakeSysfs::write(sysfs.latencyFile(0), "4");
  latency.restore(port);
  EXPECT_EQ(sysfs.read(sysfs.latencyFile(0)), "4");
  EXPECT_EQ(advice.count(), 0);
  // Ending the program restores what is still lowered.
  {
    LatencyTimer ending(sysfs.root());
    ASSERT_EQ(ending.lower(port), Outcome::Lowered);
  }
  EXPECT_EQ(sysfs.read(sysfs.latencyFile(0)), "4");
}

TEST(SerialLatency, PortsWithoutTheSettingAreLeftAlone) {
  testing::FakeSysfs sysfs;
  const QString otherDriver = sysfs.addPort(1, 1, 5, std::nullopt);
  const QString pty = sysfs.addNode("pts3");
  LatencyTimer latency(sysfs.root());
  QSignalSpy advice(&latency, &LatencyTimer::adviceGiven);

  for (const QString& port : {otherDriver, pty, QStringLiteral("/nonexistent/tty7")}) {
    EXPECT_TRUE(latency.controlFile(port).isEmpty()) << port.toStdString();
    EXPECT_EQ(latency.lower(port), Outcome::NotAnFtdiPort) << port.toStdString();
  }
  EXPECT_EQ(advice.count(), 0);
}

TEST(SerialLatency, AReadOnlySettingGivesTheAdviceOnce) {
  testing::FakeSysfs sysfs;
  // Root ignores file modes, so folders stand in for files we may not write.
  const QString first = sysfs.addPort(0, 1, 4, std::nullopt);
  const QString second = sysfs.addPort(1, 1, 6, std::nullopt);
  ASSERT_TRUE(QDir().mkpath(sysfs.latencyFile(0)));
  ASSERT_TRUE(QDir().mkpath(sysfs.latencyFile(1)));
  LatencyTimer latency(sysfs.root());
  QSignalSpy advice(&latency, &LatencyTimer::adviceGiven);

  EXPECT_EQ(latency.lower(first), Outcome::NotWritable);
  EXPECT_EQ(latency.lower(second), Outcome::NotWritable);
  EXPECT_EQ(latency.lower(first), Outcome::NotWritable);

  ASSERT_EQ(advice.count(), 1);
  const QString message = advice.first().first().toString();
  EXPECT_TRUE(message.contains(first)) << message.toStdString();
  EXPECT_TRUE(message.contains("udev rule")) << message.toStdString();
  latency.restore(first);  // nothing was changed, nothing to restore
}

}  // namespace
}  // namespace termika
