#include <gtest/gtest.h>

#include "SimTestSupport.h"

namespace termika {
namespace {

using simtest::ask;
using simtest::at;

constexpr const char* kFresh = R"({
  "model": "QM100-RH", "clock": "2026-12-06 10:00:00", "sensor": {"seed": 3}
})";

std::vector<qint64> timesOf(const std::vector<SimPoint>& points) {
  std::vector<qint64> out;
  for (const SimPoint& p : points) out.push_back(p.seconds);
  return out;
}

TEST(Recording, StartTakesAPointAtOnceAndEveryIntervalUntilStoppedAndInitAllErases) {
  SimulatedLogger logger(simtest::scenarioFrom(kFresh));
  ask(logger, "0001004900000000ff");  // one-time
  ask(logger, "0001001101300010ff");  // 10 seconds
  EXPECT_EQ(logger.recordingState(), RecordingState::Recording);
  EXPECT_EQ(ask(logger, "0001003000000000ff").toHex(), "0001003000010000ff");
  EXPECT_EQ(ask(logger, "0001001500000000ff").toHex(), "0001001501280000ff");
  logger.advanceTo(35'000);
  // points at 0, 10, 20 and 30 s: 16 bytes
  EXPECT_EQ(ask(logger, "0001002300160000ff").toHex(), "0001002300000016ff");
  EXPECT_EQ(ask(logger, "0001002300180000ff").toHex(), "0001002301300010ff");
  EXPECT_EQ(ask(logger, "0001002300240000ff").toHex(), "0001002300000000ff");
  const qint64 start = at("2026-12-06 10:00:00");
  EXPECT_EQ(timesOf(logger.expectedTimeOrder()),
            (std::vector<qint64>{start, start + 10, start + 20, start + 30}));
  EXPECT_EQ(ask(logger, "0001005700000000ff").toHex(), "0001005700000000ff");
  ask(logger, "0001001200140000ff");  // stop: the points stay
  logger.advanceTo(90'000);
  EXPECT_EQ(logger.recordingState(), RecordingState::Idle);
  EXPECT_EQ(ask(logger, "0001003800000000ff").toHex(), "0001003800000016ff");
  EXPECT_EQ(ask(logger, "0001003000000000ff").toHex(), "0001003000000000ff");
  EXPECT_EQ(ask(logger, QByteArray("INITALL\xff")), QByteArray());
  EXPECT_EQ(ask(logger, "0001003800000000ff").toHex(), "0001003800000000ff");
  EXPECT_EQ(ask(logger, "0001000802400000ff").toHex(), "0255025502550255ff");
}

// Reserves a start on day, hour, minute, recording every minute.
void reserve(SimulatedLogger& logger, std::uint8_t day, std::uint8_t hour, std::uint8_t minute) {
  for (const frame::Bytes4& request :
       {frame::Bytes4{1, 31, day, 0}, frame::Bytes4{1, 32, hour, 0},
        frame::Bytes4{1, 33, minute, 0}, frame::Bytes4{1, 17, 131, 1}}) {
    ask(logger, frame::encode(request));
  }
}

TEST(Recording, ReservationStartsWhenTheCalendarReachesItAndAStopCancelsIt) {
  SimulatedLogger logger(simtest::scenarioFrom(kFresh));
  reserve(logger, 6, 10, 5);
  EXPECT_EQ(ask(logger, "0001003000000000ff").toHex(), "0001003000040000ff");
  logger.advanceTo(299'999);  // 10:04:59.999
  EXPECT_EQ(logger.recordingState(), RecordingState::Reserved);
  EXPECT_EQ(logger.memory().totalPoints(), 0);
  logger.advanceTo(300'000);
  EXPECT_EQ(logger.recordingState(), RecordingState::Recording);
  logger.advanceTo(450'000);  // 10:07:30
  const qint64 start = at("2026-12-06 10:05:00");
  EXPECT_EQ(timesOf(logger.expectedTimeOrder()),
            (std::vector<qint64>{start, start + 60, start + 120}));
  EXPECT_EQ(ask(logger, "0001002300220000ff").toHex(), "0001002300060016ff");  // 0x06, 0x10
  EXPECT_EQ(ask(logger, "0001002300240000ff").toHex(), "0001002300050000ff");
  EXPECT_EQ(ask(logger, "0001003700000000ff").toHex(), "0001003701310001ff");
  // A day already past this month waits for the next.
  SimulatedLogger past(simtest::scenarioFrom(kFresh));
  reserve(past, 2, 8, 0);
  past.advanceTo(20LL * 86400 * 1000);  // 2026-12-26
  EXPECT_EQ(past.recordingState(), RecordingState::Reserved);
  past.advanceTo(27LL * 86400 * 1000);  // 2027-01-02 10:00
  EXPECT_EQ(past.recordingState(), RecordingState::Recording);
  EXPECT_EQ(past.memory().recordingStart(), at("2027-01-02 08:00:00"));
  SimulatedLogger cancelled(simtest::scenarioFrom(kFresh));
  reserve(cancelled, 6, 11, 0);
  ask(cancelled, "0001001200140000ff");
  cancelled.advanceTo(2 * 3600 * 1000);
  EXPECT_EQ(cancelled.recordingState(), RecordingState::Idle);
  EXPECT_EQ(cancelled.memory().totalPoints(), 0);
}

// Every second in low resolution until the 15000 points are full: a
// one-time recording stops there, a loop goes on and counts its wraps.
TEST(Recording, AFullMemoryStopsAOneTimeRecordingAndWrapsALoop) {
  const qint64 start = at("2026-12-06 10:00:00");
  SimulatedLogger once(simtest::scenarioFrom(kFresh)), loop(simtest::scenarioFrom(kFresh));
  for (const char* request : {"0001004900000000ff", "0001002500010001ff", "0001001101300001ff"}) {
    ask(once, request);
  }
  for (const char* request : {"0001004900010001ff", "0001002500010001ff", "0001001101300001ff"}) {
    ask(loop, request);
  }
  once.advanceTo(16'000'000);
  EXPECT_EQ(once.recordingState(), RecordingState::Idle);
  EXPECT_EQ(once.memory().totalPoints(), 15000);
  // 60000 bytes = 234 × 256 + 96
  EXPECT_EQ(ask(once, "0001002300160000ff").toHex(), "0001002302340096ff");
  EXPECT_EQ(ask(once, "0001005000000000ff").toHex(), "0001005000000000ff");

  loop.advanceTo(15'099'000);  // points 0..15099: 15100 written
  EXPECT_EQ(loop.memory().totalPoints(), 15100);
  // write position 100 points = 400 bytes = 1 × 256 + 144
  EXPECT_EQ(ask(loop, "0001003800000000ff").toHex(), "0001003800010144ff");
  EXPECT_EQ(ask(loop, "0001005000000000ff").toHex(), "0001005000010001ff");
  const auto download = loop.expectedDownload();
  ASSERT_EQ(download.size(), 15000u);
  EXPECT_EQ(download.front().seconds, start + 15000);  // address 0 holds point 15000
  EXPECT_EQ(download[100].seconds, start + 100);       // the oldest kept point
  const auto byTime = loop.expectedTimeOrder();
  EXPECT_EQ(byTime.front().address, 400);
  EXPECT_EQ(byTime.back().seconds, start + 15099);
  loop.advanceTo(30'000'000);
  EXPECT_EQ(ask(loop, "0001005000000000ff").toHex(), "0001005000010002ff");
}

TEST(Recording, PointsFollowTheResolutionLastSet) {
  SimScenario s = simtest::scenarioFrom(R"({"clock": "2026-12-06 10:00:00",
      "sensor": {"temperatureMean": 25, "temperatureSwing": 0, "noise": 0}})");
  SimulatedLogger logger(s);
  ask(logger, "0001002500010001ff");
  ask(logger, "0001001101300002ff");
  // 25 °C is 1615 = 0x064F in low resolution
  EXPECT_EQ(ask(logger, "0001000800000000ff").left(4).toHex(), "00060079");
  ask(logger, "0001002500000000ff");
  logger.advanceTo(2000);
  // and 6461 = 0x193D in high resolution
  EXPECT_EQ(ask(logger, "0001000800000004ff").left(4).toHex(), "00250061");
}

TEST(Recording, ANewRecordingKeepsTheFormerFirstEntryBehindItsOwn) {
  SimulatedLogger logger(simtest::scenarioFrom(kFresh));
  ask(logger, "0001001101310001ff");
  logger.advanceTo(3600'000);
  ask(logger, "0001001200140000ff");
  ask(logger, "0001001101310005ff");                                           // 11:00:00
  EXPECT_EQ(ask(logger, "0001000802400000ff").toHex(), "0038001800060017ff");  // 26 12 06 11
  EXPECT_EQ(ask(logger, "0001000802400004ff").toHex(), "0000000000010000ff");  // 00 00, 1 point
  EXPECT_EQ(ask(logger, "0001000802400008ff").toHex(), "0038001800060016ff");  // 26 12 06 10
  EXPECT_EQ(ask(logger, "0001000802400016ff").toHex(), "0255025502550255ff");
  EXPECT_EQ(logger.memory().totalPoints(), 1);
}

TEST(Recording, ClockSetWhileRecordingOpensANewBlock) {
  SimulatedLogger logger(simtest::scenarioFrom(kFresh));
  ask(logger, "0001001101310001ff");
  logger.advanceTo(150'000);          // 10:00, 10:01, 10:02
  ask(logger, "0001000300000030ff");  // clock to 10:30:00
  logger.advanceTo(210'000);          // 10:31:00
  const auto points = logger.expectedTimeOrder();
  ASSERT_EQ(points.size(), 5u);
  EXPECT_EQ(points[2].segment, 1);
  EXPECT_EQ(points[3].segment, 2);
  EXPECT_EQ(points[3].seconds, at("2026-12-06 10:30:00"));
  EXPECT_EQ(points[4].seconds, at("2026-12-06 10:31:00"));
}

}  // namespace
}  // namespace termika
