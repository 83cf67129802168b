#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include "PortFakes.h"
#include "core/link/AdapterWatch.h"

namespace termika {
namespace {

using testing::FakeBench;
using testing::RecordingPins;

class AdapterWatchTest : public ::testing::Test {
 protected:
  Timings timings = [] {
    Timings t;
    t.adapterCheck = std::chrono::milliseconds{20};
    return t;
  }();
  FakeBench bench;
  RecordingPins pins{bench};
  bool idle = true;
  AdapterWatch watch{timings, pins, [this] { return idle; }};
  QSignalSpy unplugged{&watch, &AdapterWatch::unplugged};
};

TEST_F(AdapterWatchTest, NoticesAnUnpluggedAdapterOnce) {
  watch.watch(QStringLiteral("/dev/ttyUSB2"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return pins.presenceAsked.size() >= 2; }, 2000));
  EXPECT_EQ(unplugged.count(), 0);

  pins.answer = AdapterPresence::Absent;
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(unplugged.wait(2000));
  EXPECT_LE(clock.elapsed(), 20 + 40);  // within one check interval, give or take
  QTest::qWait(60);
  EXPECT_EQ(unplugged.count(), 1);
  EXPECT_FALSE(watch.watching());
  for (const QString& asked : pins.presenceAsked) EXPECT_EQ(asked, "/dev/ttyUSB2");
  // Watching only looks: nothing was pulsed, opened or written.
  EXPECT_TRUE(bench.log.lines().isEmpty());
}

TEST_F(AdapterWatchTest, ChecksOnlyWhileTheLinkIsIdle) {
  pins.answer = AdapterPresence::Absent;
  idle = false;
  watch.watch(QStringLiteral("/dev/ttyUSB0"));
  QTest::qWait(80);
  EXPECT_TRUE(pins.presenceAsked.isEmpty());
  EXPECT_EQ(unplugged.count(), 0);

  idle = true;
  EXPECT_TRUE(unplugged.wait(2000));
}

TEST_F(AdapterWatchTest, AnAdapterTheLibraryCannotSeeIsNotUnplugged) {
  pins.answer = AdapterPresence::Unavailable;
  watch.watch(QStringLiteral("/dev/ttyUSB0"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return pins.presenceAsked.size() >= 3; }, 2000));
  EXPECT_EQ(unplugged.count(), 0);
  EXPECT_TRUE(watch.watching());
}

TEST_F(AdapterWatchTest, StopEndsTheChecks) {
  watch.watch(QStringLiteral("/dev/ttyUSB0"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !pins.presenceAsked.isEmpty(); }, 2000));
  watch.stop();
  const qsizetype asked = pins.presenceAsked.size();
  pins.answer = AdapterPresence::Absent;
  QTest::qWait(80);
  EXPECT_EQ(pins.presenceAsked.size(), asked);
  EXPECT_EQ(unplugged.count(), 0);
}

}  // namespace
}  // namespace termika
