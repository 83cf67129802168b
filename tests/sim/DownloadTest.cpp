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

QByteArray read8(SimulatedLogger& logger, int address) {
  return ask(logger, frame::encode({1, 8, std::uint8_t(address >> 8), std::uint8_t(address)}));
}

// The six points as the logger sends them, one answer each.
const QByteArray kPointAnswers = QByteArray::fromHex(
    "0000000100000002ff0000000300000004ff0000000500000006ff"
    "0000000700000008ff0000000900000010ff0000001100000012ff");
constexpr const char* kStream24 = "0001004400000024ff";  // 24 bytes

TEST(Download, SlowReadsAndTheFastStreamCrossBlocksInMemoryOrder) {
  SimulatedLogger logger(simtest::scenarioFrom(kBlocks));
  QByteArray slow;
  for (int p = 0; p < 6; ++p) slow += read8(logger, p * 4);
  EXPECT_EQ(slow.toHex(), kPointAnswers.toHex());
  EXPECT_EQ(ask(logger, kStream24).toHex(), kPointAnswers.toHex());
}

// A new request starts the stream over from the first point; the rest of the old one never leaves.
TEST(Download, ANewStreamRequestStartsOverFromTheFirstPoint) {
  SimScenario scenario = simtest::scenarioFrom(kBlocks);
  scenario.faults.paced = true;
  scenario.faults.baud = 9600;  // an answer every 9.375 ms
  SimulatedLogger logger(scenario);
  logger.receive(simtest::hex(kStream24));
  QByteArray got;
  for (const SimChunk& chunk : logger.takeOutputUntil(20)) got += chunk.bytes;
  logger.advanceTo(20);
  got += ask(logger, kStream24);
  EXPECT_EQ(got.toHex(), (kPointAnswers.left(18) + kPointAnswers).toHex());
}

TEST(Download, HeaderHoldsOneEntryPerBlockThenTheOlderEntry) {
  SimulatedLogger logger(simtest::scenarioFrom(kBlocks));
  const std::pair<int, const char*> reads[] = {
      {0xF000, "0038001800010008ff"}, {0xF004, "0000000000020000ff"},  // 26 12 01 08 00 00, 2
      {0xF008, "0038001800020009ff"}, {0xF00C, "0048002100030000ff"},  // 26 12 02 09 30 15, 3
      {0xF010, "0038001800030035ff"}, {0xF014, "0089000000010000ff"},  // 26 12 03 23 59 00, 1
      {0xF018, "0038001700320020ff"}, {0xF01C, "0000000000000000ff"},  // 26 11 20 14 00 00
      {0xF020, "0255025502550255ff"}, {0xFFFC, "0255025502550255ff"}};
  for (const auto& [address, answer] : reads) {
    EXPECT_EQ(read8(logger, address).toHex(), answer) << std::hex << address;
  }
  // What the program should make of it: block times and segments.
  const auto expected = logger.expectedDownload();
  ASSERT_EQ(expected.size(), 6u);
  const qint64 second = at("2026-12-02 09:30:15");
  const std::tuple<qint64, int> stamps[] = {{at("2026-12-01 08:00:00"), 1},
                                            {at("2026-12-01 08:01:00"), 1},
                                            {second, 2},
                                            {second + 60, 2},
                                            {second + 120, 2},
                                            {at("2026-12-03 23:59:00"), 3}};
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(std::make_tuple(expected[i].seconds, expected[i].segment), stamps[i]) << i;
  }
  EXPECT_EQ(expected[3].raw, (std::array<std::uint8_t, 4>{0, 7, 0, 8}));
}

}  // namespace
}  // namespace termika
