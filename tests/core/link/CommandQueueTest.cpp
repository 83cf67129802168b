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
  // A batch goes in wholly or not at all.
  CommandQueue batch;
  ASSERT_TRUE(batch.append(CommandRows(100, code(1))).ok());
  EXPECT_FALSE(batch.append(CommandRows(2, code(2))).ok());
  EXPECT_EQ(batch.count(), 100);
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
       48},
  };
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

}  // namespace
}  // namespace termika
