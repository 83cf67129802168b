#include <gtest/gtest.h>

#include <vector>

#include "core/data/DayTime.h"
#include "core/sessions/RecordingHeader.h"

namespace termika {
namespace {

using Entry = RecordingHeader::Entry;
using Block = RecordingHeader::Block;
using Stamp = RecordingHeader::Stamp;

std::uint8_t bcd(int n) { return static_cast<std::uint8_t>((n / 10) * 16 + n % 10); }

qint64 secs(int y, int mo, int d, int h, int mi, int s) {
  return secondsFromCivil({y, mo, d, h, mi, s});
}

Entry entry(int y, int mo, int d, int h, int mi, int s, int points) {
  return {bcd(y % 100),
          bcd(mo),
          bcd(d),
          bcd(h),
          bcd(mi),
          bcd(s),
          static_cast<std::uint8_t>(points % 256),
          static_cast<std::uint8_t>(points / 256)};
}

Entry unwritten() {
  Entry e;
  e.fill(0xFF);
  return e;
}

// Feeds entries at 0xF000, 0xF008, ... until one ends the reading.
int feed(RecordingHeader& header, const std::vector<Entry>& entries) {
  int address = RecordingHeader::kFirstAddress;
  for (const Entry& e : entries) {
    if (!header.addEntry(e, address)) break;
    address += RecordingHeader::kEntryBytes;
  }
  return header.entriesRead();
}

const qint64 kStart = secs(2026, 12, 1, 8, 0, 0);

TEST(RecordingHeader, ReadingEndsAtTheFirstEndingEntry) {
  struct Case {
    const char* what;
    std::vector<Entry> entries;
    int read;   // entries stored, the ending one included
    bool done;  // the reading ended
  };
  const std::vector<Case> cases = {
      {"older entry after three runs",
       {entry(26, 12, 1, 8, 0, 0, 60), entry(26, 12, 2, 9, 30, 0, 48),
        entry(26, 12, 3, 12, 0, 0, 0), entry(26, 11, 20, 14, 0, 0, 77),
        entry(26, 12, 5, 0, 0, 0, 1)},
       4,
       true},
      {"erased header: second unwritten entry in a row",
       {unwritten(), unwritten(), unwritten()},
       2,
       true},
      {"one unwritten entry between written ones does not end it",
       {entry(26, 12, 1, 8, 0, 0, 5), unwritten(), entry(26, 12, 2, 8, 0, 0, 5),
        entry(25, 1, 1, 0, 0, 0, 0)},
       4,
       true},
      {"first entry earlier than the recording start", {entry(26, 11, 30, 23, 59, 59, 3)}, 1, true},
      {"a date that does not exist (February 30)",
       {entry(26, 12, 1, 8, 0, 0, 5), entry(27, 2, 30, 0, 0, 0, 1), entry(26, 12, 2, 0, 0, 0, 1)},
       2,
       true},
      {"a byte that is not packed decimal",
       {entry(26, 12, 1, 8, 0, 0, 5), {0x2A, 0x01, 0x01, 0, 0, 0, 0, 0}},
       2,
       true},
      {"no end yet", {entry(26, 12, 1, 8, 0, 0, 5), entry(26, 12, 1, 9, 0, 0, 5)}, 2, false},
  };
  for (const Case& c : cases) {
    RecordingHeader header;
    header.clear(kStart);
    EXPECT_EQ(feed(header, c.entries), c.read) << c.what;
    EXPECT_EQ(header.done(), c.done) << c.what;
  }
}

TEST(RecordingHeader, TableNeverHoldsMoreThan151Entries) {
  // Erased memory that still reads as valid dates would otherwise run to
  // 512 entries; the 151st ends the reading.
  std::vector<Entry> entries;
  for (int i = 0; i < 300; ++i) entries.push_back(entry(26, 12, 1, 8, i % 60, 0, 1));
  RecordingHeader header;
  header.clear(kStart);
  EXPECT_EQ(feed(header, entries), 151);
  EXPECT_TRUE(header.done());
  header.settle(10);
  EXPECT_EQ(header.blocks().size(), 150u);
}

TEST(RecordingHeader, EndOfHeaderMemoryEndsTheReading) {
  RecordingHeader header;
  header.clear(kStart);
  EXPECT_FALSE(header.addEntry(entry(26, 12, 1, 8, 0, 0, 4), 0xFFF8));
  EXPECT_TRUE(header.done());
}

TEST(RecordingHeader, SettleFixesTheNewestBlockFromTheTotal) {
  struct Case {
    const char* what;
    std::vector<Entry> entries;
    qint64 total;
    std::vector<Block> blocks;
  };
  const std::vector<Case> cases = {
      {"three runs: the last one gets 204 - 60 - 48",
       {entry(26, 12, 1, 8, 0, 0, 60), entry(26, 12, 2, 9, 30, 0, 48),
        entry(26, 12, 3, 12, 0, 0, 1), entry(26, 11, 20, 14, 0, 0, 0)},
       204,
       {{secs(2026, 12, 1, 8, 0, 0), 60},
        {secs(2026, 12, 2, 9, 30, 0), 48},
        {secs(2026, 12, 3, 12, 0, 0), 96}}},
      {"one run: all points",
       {entry(26, 12, 1, 8, 0, 0, 9999), entry(26, 11, 1, 0, 0, 0, 0)},
       2,
       {{kStart, 2}}},
      {"fewer points than the earlier runs hold: never below zero",
       {entry(26, 12, 1, 8, 0, 0, 60), entry(26, 12, 2, 9, 30, 0, 48),
        entry(26, 12, 3, 12, 0, 0, 1), entry(26, 11, 20, 14, 0, 0, 0)},
       50,
       {{secs(2026, 12, 1, 8, 0, 0), 60},
        {secs(2026, 12, 2, 9, 30, 0), 48},
        {secs(2026, 12, 3, 12, 0, 0), 0}}},
      {"erased header: one run from the recording start",
       {unwritten(), unwritten()},
       7,
       {{kStart, 7}}},
      {"first entry ends the reading: one run from the recording start",
       {entry(25, 1, 1, 0, 0, 0, 3)},
       12,
       {{kStart, 12}}},
  };
  for (const Case& c : cases) {
    RecordingHeader header;
    header.clear(kStart);
    feed(header, c.entries);
    header.settle(c.total);
    EXPECT_EQ(header.blocks(), c.blocks) << c.what;
  }
}

RecordingHeader withBlocks(const std::vector<std::pair<qint64, int>>& runs, qint64 total) {
  RecordingHeader header;
  header.clear(runs.front().first);
  int address = RecordingHeader::kFirstAddress;
  for (const auto& [start, points] : runs) {
    const CivilTime t = civilFromSeconds(start);
    header.addEntry(entry(t.year, t.month, t.day, t.hour, t.minute, t.second, points), address);
    address += RecordingHeader::kEntryBytes;
  }
  header.addEntry(entry(20, 1, 1, 0, 0, 0, 0), address);  // the older entry that ends it
  header.settle(total);
  return header;
}

TEST(RecordingHeader, ForwardStampsFollowTheBlocks) {
  const qint64 a = secs(2026, 12, 1, 10, 0, 0);
  const qint64 b = secs(2026, 12, 2, 7, 30, 0);
  const qint64 c = secs(2026, 12, 3, 0, 0, 0);
  struct Case {
    const char* what;
    std::vector<std::pair<qint64, int>> runs;
    int count;
    int interval;
    std::vector<Stamp> stamps;
  };
  const std::vector<Case> cases = {
      {"one block of 2 points, 60 s", {{a, 2}}, 2, 60, {{a, 1}, {a + 60, 1}}},
      {"blocks of 3 and 2 points",
       {{a, 3}, {b, 2}},
       5,
       600,
       {{a, 1}, {a + 600, 1}, {a + 1200, 1}, {b, 2}, {b + 600, 2}}},
      {"two empty blocks are passed over",
       {{a, 1}, {b, 0}, {secs(2026, 12, 2, 9, 0, 0), 0}, {c, 2}},
       3,
       30,
       {{a, 1}, {c, 4}, {c + 30, 4}}},
      {"points beyond the table carry on in the last block",
       {{a, 1}, {b, 1}},
       3,
       2,
       {{a, 1}, {b, 2}, {b + 2, 2}}},
  };
  for (const Case& k : cases) {
    int total = 0;
    for (const auto& r : k.runs) total += r.second;
    const RecordingHeader header = withBlocks(k.runs, total);
    EXPECT_EQ(header.forwardStamps(k.count, k.interval), k.stamps) << k.what;
  }
}

TEST(RecordingHeader, BackwardStampsStartFromTheNewestBlock) {
  const qint64 a = secs(2026, 11, 1, 0, 0, 0);
  const qint64 b = secs(2026, 11, 5, 12, 0, 0);
  {
    // 5 + 3 points, the newest 6 kept: records 1..6 are a+2..a+4, b..b+2 minutes.
    const RecordingHeader header = withBlocks({{a, 5}, {b, 3}}, 8);
    const std::vector<Stamp> expected = {{a + 120, 1}, {a + 180, 1}, {a + 240, 1},
                                         {b, 2},       {b + 60, 2},  {b + 120, 2}};
    EXPECT_EQ(header.backwardStamps(6, 60), expected);
  }
  {
    // The table accounts for 2 points only: older ones step back from a.
    const RecordingHeader header = withBlocks({{a, 2}}, 2);
    const std::vector<Stamp> expected = {{a - 120, 1}, {a - 60, 1}, {a, 1}, {a + 60, 1}};
    EXPECT_EQ(header.backwardStamps(4, 60), expected);
  }
}

TEST(RecordingHeader, BackwardPassUsesAllRowsOfAFullTable) {
  // 150 runs of 100 points one day apart: record 1 is the first point of the
  // first run, record 15000 the last point of run 150.
  const qint64 base = secs(2026, 1, 1, 0, 0, 0);
  std::vector<std::pair<qint64, int>> runs;
  for (int k = 0; k < 150; ++k) runs.push_back({base + qint64{k} * 86400, 100});
  RecordingHeader header;
  header.clear(base);
  int address = RecordingHeader::kFirstAddress;
  for (const auto& [start, points] : runs) {
    const CivilTime t = civilFromSeconds(start);
    header.addEntry(entry(t.year, t.month, t.day, t.hour, t.minute, t.second, points), address);
    address += RecordingHeader::kEntryBytes;
  }
  header.addEntry(entry(26, 12, 31, 0, 0, 0, 100), address);  // the 151st entry ends it
  ASSERT_TRUE(header.done());
  header.settle(15000);
  ASSERT_EQ(header.blocks().size(), 150u);
  const auto stamps = header.backwardStamps(15000, 60);
  EXPECT_EQ(stamps.front(), (Stamp{base, 1}));
  EXPECT_EQ(stamps[100], (Stamp{base + 86400, 2}));
  EXPECT_EQ(stamps.back(), (Stamp{base + 149 * 86400 + 99 * 60, 150}));
}

}  // namespace
}  // namespace termika
