#include <gtest/gtest.h>

#include "SimTestSupport.h"

namespace termika {
namespace {

using simtest::ask;
using simtest::at;

// Three blocks of 2, 3 and 1 points with known counts, one minute apart.
constexpr const char* kBlocks = R"({
  "model": "QM120-RH", "clock": "2026-12-04 09:00:00",
  "interval": {"unit": "minutes", "value": 1},
  "recording": {"blocks": [{"start": "2026-12-01 08:00:00", "points": 2},
                           {"start": "2026-12-02 09:30:15", "points": 3},
                           {"start": "2026-12-03 23:59:00", "points": 1}],
                "olderEntry": "2026-11-20 14:00:00"},
  "points": [[1, 2], [3, 4], [5, 6], [7, 8], [9, 10], [11, 12]]
})";

std::vector<QByteArray> framesOf(const QByteArray& stream) {
  std::vector<QByteArray> out;
  for (qsizetype start = 0; start < stream.size();) {
    const qsizetype end = stream.indexOf('\xff', start);
    if (end < 0) break;
    out.push_back(stream.mid(start, end - start + 1));
    start = end + 1;
  }
  return out;
}

TEST(Download, SlowReadsCrossBlockBoundariesInMemoryOrder) {
  SimulatedLogger logger(simtest::scenarioFrom(kBlocks));
  const char* expected[] = {
      "0000000100000002ff", "0000000300000004ff", "0000000500000006ff",
      "0000000700000008ff", "0000000900000010ff", "0000001100000012ff",
  };
  for (int p = 0; p < 6; ++p) {
    const QByteArray request = frame::encode({1, 8, 0, static_cast<std::uint8_t>(p * 4)});
    EXPECT_EQ(ask(logger, request).toHex(), QByteArray(expected[p])) << p;
  }
}

TEST(Download, HeaderHoldsOneEntryPerBlockThenTheOlderEntry) {
  SimulatedLogger logger(simtest::scenarioFrom(kBlocks));
  struct Read {
    int address;
    const char* answer;
  };
  const Read reads[] = {
      {0xF000, "0038001800010008ff"}, {0xF004, "0000000000020000ff"},  // 26 12 01 08 00 00, 2
      {0xF008, "0038001800020009ff"}, {0xF00C, "0048002100030000ff"},  // 26 12 02 09 30 15, 3
      {0xF010, "0038001800030035ff"}, {0xF014, "0089000000010000ff"},  // 26 12 03 23 59 00, 1
      {0xF018, "0038001700320020ff"}, {0xF01C, "0000000000000000ff"},  // 26 11 20 14 00 00
      {0xF020, "0255025502550255ff"},
  };
  for (const Read& r : reads) {
    const QByteArray request = frame::encode(
        {1, 8, static_cast<std::uint8_t>(r.address >> 8), static_cast<std::uint8_t>(r.address)});
    EXPECT_EQ(ask(logger, request).toHex(), QByteArray(r.answer)) << std::hex << r.address;
  }
}

TEST(Download, ExpectedPointsCarryBlockTimesAndSegments) {
  SimulatedLogger logger(simtest::scenarioFrom(kBlocks));
  const auto points = logger.expectedDownload();
  ASSERT_EQ(points.size(), 6u);
  const qint64 second = at("2026-12-02 09:30:15");
  EXPECT_EQ(points[1].seconds, at("2026-12-01 08:01:00"));
  EXPECT_EQ(points[2].seconds, second);
  EXPECT_EQ(points[4].seconds, second + 120);
  EXPECT_EQ(points[5].seconds, at("2026-12-03 23:59:00"));
  EXPECT_EQ((std::vector<int>{points[0].segment, points[2].segment, points[4].segment,
                              points[5].segment}),
            (std::vector<int>{1, 2, 2, 3}));
  EXPECT_EQ(points[3].raw, (std::array<std::uint8_t, 4>{0, 7, 0, 8}));
}

TEST(Download, FastStreamSendsOneAnswerPerPointInOrder) {
  SimulatedLogger logger(simtest::scenarioFrom(kBlocks));
  const QByteArray stream = ask(logger, "0001004400000024ff");  // 24 bytes
  const auto frames = framesOf(stream);
  ASSERT_EQ(frames.size(), 6u);
  EXPECT_EQ(frames[0].toHex(), "0000000100000002ff");
  EXPECT_EQ(frames[5].toHex(), "0000001100000012ff");
  EXPECT_EQ(stream.size(), 6 * 9);
}

TEST(Download, FastStreamOfAFullMemoryDeliversAll15000PointsInAddressOrder) {
  SimulatedLogger logger(simtest::scenarioFrom(R"({
    "model": "QM100-RH", "clock": "2026-12-06 09:00:00", "recordMode": "loop",
    "interval": {"unit": "seconds", "value": 2},
    "recording": {"blocks": [{"start": "2026-12-05 00:00:00", "points": 15250}]},
    "sensor": {"seed": 99}})"));
  const auto expected = logger.expectedDownload();
  ASSERT_EQ(expected.size(), 15000u);
  const auto frames = framesOf(ask(logger, "0001004402340096ff"));  // 60000 bytes
  ASSERT_EQ(frames.size(), 15000u);
  for (size_t i = 0; i < frames.size(); ++i) {
    const auto d = frame::decodeAnswer(frames[i]);
    ASSERT_TRUE(d.has_value()) << i;
    ASSERT_EQ(*d, expected[i].raw) << i;
  }
  // address 0 holds point 15000, written at 15000 × 2 s after the start
  EXPECT_EQ(expected[0].seconds, at("2026-12-05 00:00:00") + 30000);
  EXPECT_EQ(logger.expectedTimeOrder().front().address, 250 * 4);
}

TEST(Download, ScenarioPointsComeFromTheSeededSensor) {
  const char* json = R"({"clock": "2026-12-06 09:00:00", "sensor": {"seed": 5},
      "interval": {"unit": "minutes", "value": 30},
      "recording": {"blocks": [{"start": "2026-12-05 00:00:00", "points": 48}]}})";
  SimulatedLogger a(simtest::scenarioFrom(json));
  SimulatedLogger b(simtest::scenarioFrom(json));
  EXPECT_EQ(ask(a, "0001004400010192ff"), ask(b, "0001004400010192ff"));
  // A day of half-hourly points follows the daily curve: warm afternoon, cool night.
  const auto points = a.expectedDownload();
  const auto celsius = [&](int i) {
    return countToTemperature(
        points[static_cast<size_t>(i)].raw[0] * 256 + points[static_cast<size_t>(i)].raw[1], false);
  };
  EXPECT_GT(celsius(30), celsius(6));  // 15:00 warmer than 03:00
  EXPECT_NEAR(celsius(30), 26.0, 0.3);
  EXPECT_NEAR(celsius(6), 18.0, 0.3);
}

}  // namespace
}  // namespace termika
