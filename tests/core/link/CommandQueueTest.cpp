#include <gtest/gtest.h>

#include "core/link/CommandQueue.h"
#include "core/link/FrameReceiver.h"

namespace termika {
namespace {

CommandRow code(std::uint8_t b1) { return CommandRow{1, b1, 0, 0, {}, 0}; }

TEST(CommandQueue, HoldsAHundredAndOneRowsAndRefusesMore) {
  CommandQueue queue;
  for (int i = 0; i < 101; ++i) {
    ASSERT_TRUE(queue.append(code(static_cast<std::uint8_t>(i))).ok()) << i;
  }
  EXPECT_EQ(queue.count(), 101);
  const auto refused = queue.append(code(7));
  EXPECT_FALSE(refused.ok());
  EXPECT_FALSE(refused.error().message.isEmpty());
  EXPECT_EQ(queue.count(), 101);
  EXPECT_EQ(queue.at(100).b1, 100);
}

TEST(CommandQueue, AppendsABatchWhollyOrNotAtAll) {
  CommandQueue queue;
  ASSERT_TRUE(queue.append(CommandRows(100, code(1))).ok());
  EXPECT_FALSE(queue.append(CommandRows(2, code(2))).ok());
  EXPECT_EQ(queue.count(), 100);
  EXPECT_TRUE(queue.append(CommandRows(1, code(3))).ok());
  EXPECT_EQ(queue.at(100).b1, 3);
}

TEST(CommandQueue, AdvancesToTheEndAndClearsBothCounters) {
  CommandQueue queue;
  ASSERT_TRUE(queue.append(CommandRows{code(4), code(5)}).ok());
  EXPECT_TRUE(queue.hasCurrent());
  EXPECT_EQ(queue.current().b1, 4);
  queue.advance();
  EXPECT_EQ(queue.current().b1, 5);
  queue.advance();
  EXPECT_FALSE(queue.hasCurrent());
  queue.advance();  // never past the end
  EXPECT_EQ(queue.sendIndex(), 2);
  queue.clear();
  EXPECT_TRUE(queue.isEmpty());
  EXPECT_EQ(queue.sendIndex(), 0);
  EXPECT_FALSE(queue.hasCurrent());
}

using Kind = FrameReceiver::Kind;

QByteArray hex(const char* text) { return QByteArray::fromHex(text); }

TEST(FrameReceiver, CollectsAnswersWhateverTheSplit) {
  struct Case {
    const char* name;
    std::vector<const char*> reads;
    std::vector<const char*> answers;
  };
  const std::vector<Case> cases = {
      {"whole", {"0001000400120024ff"}, {"0001000400120024ff"}},
      {"byte by byte",
       {"00", "01", "00", "04", "00", "12", "00", "24", "ff"},
       {"0001000400120024ff"}},
      {"split across two reads", {"00010004", "00120024ff"}, {"0001000400120024ff"}},
      {"two answers in one read",
       {"0001000400120024ff0001000500010002ff"},
       {"0001000400120024ff", "0001000500010002ff"}},
      {"an answer and the start of the next",
       {"0001000400120024ff0001", "000500010002ff"},
       {"0001000400120024ff", "0001000500010002ff"}},
      {"noise before an answer", {"abcd0001000400120024ff"}, {"abcd0001000400120024ff"}},
  };
  for (const Case& c : cases) {
    FrameReceiver receiver;
    std::vector<QByteArray> got;
    for (const char* read : c.reads) {
      for (const auto& e : receiver.feed(hex(read))) {
        EXPECT_EQ(e.kind, Kind::Answer) << c.name;
        got.push_back(e.bytes);
      }
    }
    ASSERT_EQ(got.size(), c.answers.size()) << c.name;
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], hex(c.answers[i])) << c.name;
    EXPECT_EQ(receiver.pending(), 0) << c.name;
  }
}

TEST(FrameReceiver, DropsAHundredAndOneBytesWithoutTerminator) {
  FrameReceiver receiver;
  const auto first = receiver.feed(QByteArray(100, '\x11'));
  EXPECT_TRUE(first.empty());
  EXPECT_EQ(receiver.pending(), 100);
  const auto overflow = receiver.feed(QByteArray(1, '\x11'));
  ASSERT_EQ(overflow.size(), 1u);
  EXPECT_EQ(overflow[0].kind, Kind::Overflow);
  EXPECT_EQ(receiver.pending(), 0);
  // Collection starts afresh after the overflow.
  const auto next = receiver.feed(hex("0001000400120024ff"));
  ASSERT_EQ(next.size(), 1u);
  EXPECT_EQ(next[0].kind, Kind::Answer);
  EXPECT_EQ(next[0].bytes.size(), 9);
}

TEST(FrameReceiver, TakesAnAnswerThatFillsTheBufferExactly) {
  FrameReceiver receiver;
  QByteArray bytes(100, '\x22');
  bytes.append('\xff');
  const auto events = receiver.feed(bytes);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, Kind::Answer);
  EXPECT_EQ(events[0].bytes.size(), 101);
}

TEST(FrameReceiver, ALongBurstGivesOneOverflowPerFullBuffer) {
  FrameReceiver receiver;
  const auto events = receiver.feed(QByteArray(250, '\x33'));
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, Kind::Overflow);
  EXPECT_EQ(events[1].kind, Kind::Overflow);
  EXPECT_EQ(receiver.pending(), 48);
  receiver.reset();
  EXPECT_EQ(receiver.pending(), 0);
}

}  // namespace
}  // namespace termika
