#include <gtest/gtest.h>

#include <vector>

#include "core/data/DayTime.h"
#include "core/sessions/RecordingHeader.h"

namespace termika {
namespace {

using Entry = RecordingHeader::Entry;
using Block = RecordingHeader::Block;
using Stamp = RecordingHeader::Stamp;

qint64 secs(int y, int mo, int d, int h, int mi, int s) {
  return secondsFromCivil({y, mo, d, h, mi, s});
}

// A header entry: the start in packed decimal, then the point count low byte first.
Entry entry(int y, int mo, int d, int h, int mi, int s, int points) {
  Entry e{};
  const int fields[] = {y % 100, mo, d, h, mi, s};
  for (size_t i = 0; i < 6; ++i)
    e[i] = static_cast<std::uint8_t>(fields[i] / 10 * 16 + fields[i] % 10);
  e[6] = static_cast<std::uint8_t>(points % 256);
  e[7] = static_cast<std::uint8_t>(points / 256);
  return e;
}

Entry entryAt(qint64 seconds, int points) {
  const CivilTime t = civilFromSeconds(seconds);
  return entry(t.year, t.month, t.day, t.hour, t.minute, t.second, points);
}

const Entry kUnwritten = [] {
  Entry e;
  e.fill(0xFF);
  return e;
}();

const qint64 kStart = secs(2026, 12, 1, 8, 0, 0);

// Clears the table for a recording that started at `start` and feeds entries at 0xF000,
// 0xF008, ... until one ends the reading.
RecordingHeader read(const std::vector<Entry>& entries, qint64 start = kStart) {
  RecordingHeader header;
  header.clear(start);
  int address = RecordingHeader::kFirstAddress;
  for (const Entry& e : entries) {
    if (!header.addEntry(e, address)) break;
    address += RecordingHeader::kEntryBytes;
  }
  return header;
}

// The runs as entries, then `end`, settled to their total.
RecordingHeader withBlocks(const std::vector<std::pair<qint64, int>>& runs,
                           const Entry& end = entry(20, 1, 1, 0, 0, 0, 0)) {
  std::vector<Entry> entries;
  int total = 0;
  for (const auto& [start, points] : runs) {
    entries.push_back(entryAt(start, points));
    total += points;
  }
  entries.push_back(end);
  RecordingHeader header = read(entries, runs.front().first);
  EXPECT_TRUE(header.done());
  header.settle(total);
  return header;
}

// The reading stops at an entry earlier than the recording start, a second unwritten entry in a
// row, an impossible date, a byte that is not packed decimal, or 151 entries however valid.
TEST(RecordingHeader, ReadingEndsAtTheFirstEndingEntry) {
  std::vector<Entry> valid;
  for (int i = 0; i < 300; ++i) valid.push_back(entry(26, 12, 1, 8, i % 60, 0, 1));
  const struct {
    int read;   // entries stored, the ending one included
    bool done;  // the reading ended
    const char* what;
    std::vector<Entry> entries;
  } cases[] = {
      {4,
       true,
       "older entry after three runs",
       {entry(26, 12, 1, 8, 0, 0, 60), entry(26, 12, 2, 9, 30, 0, 48),
        entry(26, 12, 3, 12, 0, 0, 0), entry(26, 11, 20, 14, 0, 0, 77),
        entry(26, 12, 5, 0, 0, 0, 1)}},
      {2, true, "erased header", {kUnwritten, kUnwritten, kUnwritten}},
      {4,
       true,
       "one unwritten entry between written ones",
       {entry(26, 12, 1, 8, 0, 0, 5), kUnwritten, entry(26, 12, 2, 8, 0, 0, 5),
        entry(25, 1, 1, 0, 0, 0, 0)}},
      {1, true, "first entry earlier than the start", {entry(26, 11, 30, 23, 59, 59, 3)}},
      {2,
       true,
       "February 30",
       {entry(26, 12, 1, 8, 0, 0, 5), entry(27, 2, 30, 0, 0, 0, 1), entry(26, 12, 2, 0, 0, 0, 1)}},
      {2,
       true,
       "not packed decimal",
       {entry(26, 12, 1, 8, 0, 0, 5), {0x2A, 0x01, 0x01, 0, 0, 0, 0, 0}}},
      {2, false, "no end yet", {entry(26, 12, 1, 8, 0, 0, 5), entry(26, 12, 1, 9, 0, 0, 5)}},
      {151, true, "erased memory reading as valid dates", valid},
  };
  for (const auto& c : cases) {
    const RecordingHeader header = read(c.entries);
    EXPECT_EQ(header.entriesRead(), c.read) << c.what;
    EXPECT_EQ(header.done(), c.done) << c.what;
  }
  RecordingHeader full = read(valid);
  full.settle(10);
  EXPECT_EQ(full.blocks().size(), 150u);
  // The end of header memory ends it too.
  RecordingHeader header;
  header.clear(kStart);
  EXPECT_FALSE(header.addEntry(entry(26, 12, 1, 8, 0, 0, 4), 0xFFF8));
  EXPECT_TRUE(header.done());
}

// The newest block gets the total less the earlier blocks, never below zero; when the first
// entry already ends the reading, one run from the recording start holds every point.
TEST(RecordingHeader, SettleFixesTheNewestBlockFromTheTotal) {
  const std::vector<Entry> threeRuns = {
      entry(26, 12, 1, 8, 0, 0, 60), entry(26, 12, 2, 9, 30, 0, 48), entry(26, 12, 3, 12, 0, 0, 1),
      entry(26, 11, 20, 14, 0, 0, 0)};
  const qint64 a = secs(2026, 12, 1, 8, 0, 0), b = secs(2026, 12, 2, 9, 30, 0),
               c = secs(2026, 12, 3, 12, 0, 0);
  const struct {
    std::vector<Entry> entries;
    qint64 total;
    std::vector<Block> blocks;
  } cases[] = {
      {threeRuns, 204, {{a, 60}, {b, 48}, {c, 96}}},
      {threeRuns, 50, {{a, 60}, {b, 48}, {c, 0}}},
      {{entry(26, 12, 1, 8, 0, 0, 9999), entry(26, 11, 1, 0, 0, 0, 0)}, 2, {{kStart, 2}}},
      {{kUnwritten, kUnwritten}, 7, {{kStart, 7}}},
      {{entry(25, 1, 1, 0, 0, 0, 3)}, 12, {{kStart, 12}}},
  };
  for (const auto& k : cases) {
    RecordingHeader header = read(k.entries);
    header.settle(k.total);
    EXPECT_EQ(header.blocks(), k.blocks) << k.total << " " << k.entries.size();
  }
}

// Empty blocks are passed over, however many; points beyond the table carry on in the last block.
TEST(RecordingHeader, ForwardStampsFollowTheBlocks) {
  const qint64 a = secs(2026, 12, 1, 10, 0, 0), b = secs(2026, 12, 2, 7, 30, 0),
               b2 = secs(2026, 12, 2, 9, 0, 0), c = secs(2026, 12, 3, 0, 0, 0);
  const struct {
    std::vector<std::pair<qint64, int>> runs;
    int count, interval;
    std::vector<Stamp> stamps;
  } cases[] = {
      {{{a, 2}}, 2, 60, {{a, 1}, {a + 60, 1}}},
      {{{a, 3}, {b, 2}}, 5, 600, {{a, 1}, {a + 600, 1}, {a + 1200, 1}, {b, 2}, {b + 600, 2}}},
      {{{a, 1}, {b, 0}, {b2, 0}, {c, 2}}, 3, 30, {{a, 1}, {c, 4}, {c + 30, 4}}},
      {{{a, 1}, {b, 1}}, 3, 2, {{a, 1}, {b, 2}, {b + 2, 2}}},
  };
  for (const auto& k : cases) {
    EXPECT_EQ(withBlocks(k.runs).forwardStamps(k.count, k.interval), k.stamps) << k.runs.size();
  }
}

// 5 + 3 points with the newest 6 kept are a+2..a+4 and b..b+2 minutes; when the table accounts
// for fewer points than memory holds, the older ones step back from the first start.
TEST(RecordingHeader, BackwardStampsStartFromTheNewestBlock) {
  const qint64 a = secs(2026, 11, 1, 0, 0, 0), b = secs(2026, 11, 5, 12, 0, 0);
  EXPECT_EQ(withBlocks({{a, 5}, {b, 3}}).backwardStamps(6, 60),
            (std::vector<Stamp>{
                {a + 120, 1}, {a + 180, 1}, {a + 240, 1}, {b, 2}, {b + 60, 2}, {b + 120, 2}}));
  EXPECT_EQ(withBlocks({{a, 2}}).backwardStamps(4, 60),
            (std::vector<Stamp>{{a - 120, 1}, {a - 60, 1}, {a, 1}, {a + 60, 1}}));
  // 150 runs of 100 points one day apart, ended by the 151st entry: record 1 is the first point
  // of the first run, record 15000 the last point of run 150.
  const qint64 base = secs(2026, 1, 1, 0, 0, 0);
  std::vector<std::pair<qint64, int>> runs;
  for (int k = 0; k < 150; ++k) runs.push_back({base + qint64{k} * 86400, 100});
  const RecordingHeader header = withBlocks(runs, entry(26, 12, 31, 0, 0, 0, 100));
  ASSERT_EQ(header.blocks().size(), 150u);
  const auto stamps = header.backwardStamps(15000, 60);
  EXPECT_EQ(stamps.front(), (Stamp{base, 1}));
  EXPECT_EQ(stamps[100], (Stamp{base + 86400, 2}));
  EXPECT_EQ(stamps.back(), (Stamp{base + 149 * 86400 + 99 * 60, 150}));
}

}  // namespace
}  // namespace termika
