#include <gtest/gtest.h>

#include "core/link/CommandQueue.h"
#include "core/link/Frame.h"
#include "core/link/FrameReceiver.h"

namespace termika {
namespace {

using frame::Bytes4;
using Kind = FrameReceiver::Kind;

QByteArray hex(const char* text) { return QByteArray::fromHex(text); }

TEST(Frame, DecodesTheLastEightBytesBeforeTheTerminator) {
  const std::pair<const char*, std::optional<Bytes4>> cases[] = {
      {"0001000400120024ff", Bytes4{1, 4, 12, 24}},
      {"abcd0001000400120024ff", Bytes4{1, 4, 12, 24}},  // leading noise
      {"0255025502550255ff", Bytes4{255, 255, 255, 255}},
      {"00010004001200ff", std::nullopt},    // too short
      {"0001000400120024", std::nullopt},    // no terminator
      {"0001000400120256ff", std::nullopt},  // 256 does not fit a byte
      {"000100040012003aff", std::nullopt},  // nibble above 9
      {"0301000400120024ff", std::nullopt},  // hundreds above 2
  };
  for (const auto& [wire, expected] : cases)
    EXPECT_EQ(frame::decodeAnswer(hex(wire)), expected) << wire;
}

TEST(FrameReceiver, ABufferFullWithoutTerminatorIsDroppedNeverOverrun) {
  struct Case {
    const char* name;
    QByteArray bytes;
    std::vector<Kind> kinds;
    int pending;
  };
  const Case cases[] = {
      {"100 bytes wait", QByteArray(100, '\x11'), {}, 100},
      {"the 101st overflows", QByteArray(101, '\x11'), {Kind::Overflow}, 0},
      {"an answer filling the buffer", QByteArray(100, '\x22') + '\xff', {Kind::Answer}, 0},
      {"one overflow per full buffer",
       QByteArray(250, '\x33'),
       {Kind::Overflow, Kind::Overflow},
       48}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FrameReceiver receiver;
    std::vector<Kind> kinds;
    for (const auto& e : receiver.feed(c.bytes)) kinds.push_back(e.kind);
    EXPECT_EQ(kinds, c.kinds);
    EXPECT_EQ(receiver.pending(), c.pending);
    // Collection starts afresh after an overflow, or after a reset.
    if (c.pending != 0) receiver.reset();
    const auto next = receiver.feed(hex("0001000400120024ff"));
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].kind, Kind::Answer);
  }
}

CommandRow code(std::uint8_t b1) { return CommandRow{1, b1, 0, 0, {}, 0}; }

TEST(CommandQueue, HoldsAHundredAndOneRowsAndRefusesMore) {
  CommandQueue queue;
  for (int i = 0; i < 101; ++i) ASSERT_TRUE(queue.append(code(std::uint8_t(i))).ok()) << i;
  const auto refused = queue.append(code(7));
  EXPECT_FALSE(refused.ok());
  EXPECT_FALSE(refused.error().message.isEmpty());
  EXPECT_EQ(queue.count(), 101);
  EXPECT_EQ(queue.at(100).b1, 100);
  // A batch goes in wholly or not at all.
  CommandQueue batch;
  ASSERT_TRUE(batch.append(CommandRows(100, code(1))).ok());
  EXPECT_FALSE(batch.append(CommandRows(2, code(2))).ok());
  EXPECT_EQ(batch.count(), 100);
}

}  // namespace
}  // namespace termika
