#include <gtest/gtest.h>

#include <QSignalSpy>
#include <optional>
#include <vector>

#include "LinkTestSupport.h"
#include "SessionTestSupport.h"
#include "core/data/DayTime.h"
#include "core/sessions/DeviceRequests.h"
#include "core/sessions/RecordingHeader.h"

namespace termika::testing {
namespace {

constexpr char kOneBlock[] = R"({
  "model": "QM100-RH", "loggerName": "ONE1", "clock": "2026-12-06 12:00:00",
  "interval": {"unit": "seconds", "value": 60},
  "recording": {"blocks": [{"start": "2026-12-06 10:00:00", "points": 3}],
                "olderEntry": "2026-11-01 00:00:00"},
  "points": [[3000, 2000], [3001, 2100], [2999, 2200]]
})";

// 3000 = 0B B8, 2000 = 07 D0, 3001 = 0B B9, 2100 = 08 34, 2999 = 0B B7, 2200 = 08 98. Later
// status reads leave the held set's metadata alone.
TEST(Download, OneBlockIsStampedFromItsStart) {
  DownloadRun run(kOneBlock);
  QSignalSpy progress(&run.session, &Download::progress);
  QList<QByteArray> written;
  QObject::connect(run.bench.pipe.get(), &PipeTransport::written,
                   [&written](const QByteArray& b) { written << b; });
  ASSERT_EQ(run.download(false), true);
  const char* raws[] = {"0bb807d0", "0bb90834", "0bb70898"};
  QStringList got, expected;
  for (const DataRecord& r : run.records()) {
    got << QStringLiteral("%1 %2 %3 ").arg(r.dateTime, 0, 'g', 17).arg(r.segment).arg(r.recordNo) +
               QByteArray(reinterpret_cast<const char*>(r.raw.data()), 4).toHex();
  }
  for (int i = 0; i < 3; ++i) {
    expected << QStringLiteral("%1 1 %2 %3")
                    .arg(secondsToDaySerial(at(2026, 12, 6, 10, 0, 0) + 60LL * i), 0, 'g', 17)
                    .arg(i + 1)
                    .arg(raws[i]);
  }
  EXPECT_EQ(got, expected);
  ASSERT_TRUE(run.bench.requests.setLoggerName(QStringLiteral("NEW2")).ok());
  ASSERT_TRUE(run.bench.idle());
  EXPECT_EQ(run.bench.app.status.loggerName, QStringLiteral("NEW2"));
  const DataSet& set = run.bench.app.set(kLogSet);
  EXPECT_EQ(QStringLiteral("%1 %2 %3 %4 %5")
                .arg(set.loggerName, set.model)
                .arg(set.interval)
                .arg(set.unsaved)
                .arg(run.bench.app.currentSet),
            QStringLiteral("ONE1 QM100-RH 60 1 %1").arg(kLogSet));
  EXPECT_EQ(progress.isEmpty() ? QVariantList() : progress.last(), (QVariantList{3, 3}));
  EXPECT_TRUE(written.contains(frame::encode({1, 44, 0, 12})));  // 12 bytes asked for
  EXPECT_TRUE(run.bench.prompts.calls.empty());
}

// The logger counts its points as downloaded only once the set's user says they are safe: right
// as the set is handed over (the window keeps it), later (after a save), or never (a failed save).
TEST(Download, TheLoggerIsMarkedOnlyWhenTheSetsUserSaysSo) {
  enum class Mark { Never, OnHandOver, Later, LaterUnanswered };
  for (const Mark mark : {Mark::Never, Mark::OnHandOver, Mark::Later, Mark::LaterUnanswered}) {
    SCOPED_TRACE(static_cast<int>(mark));
    DownloadRun run(kOneBlock);
    QSignalSpy marked(&run.session, &Download::markFinished);
    std::vector<bool> accepted;  // what each markDownloaded() said
    const auto markNow = [&] { accepted.push_back(run.session.markDownloaded()); };
    QObject::connect(&run.session, &Download::finished, [&](Download::Outcome o) {
      if (o == Download::Outcome::Complete && mark == Mark::OnHandOver) markNow();
    });
    ASSERT_EQ(run.download(false), true);
    if (mark == Mark::LaterUnanswered) run.bench.port->logger().faults().silentRequests = 4;
    if (mark >= Mark::Later) markNow();
    const bool sent = mark != Mark::Never, acknowledged = sent && mark != Mark::LaterUnanswered;
    EXPECT_TRUE(
        waitUntil([&] { return marked.size() == (sent ? 1 : 0) && !run.bench.exchange.isBusy(); }));
    // A lost link clears the status.
    EXPECT_EQ(
        std::tuple(run.bench.port->logger().downloaded(), run.bench.app.status.pendingDownload,
                   !marked.isEmpty() && marked.at(0).at(0).toBool()),
        std::tuple(acknowledged, !sent, acknowledged));
    EXPECT_EQ(run.bench.prompts.calls.size(), sent && !acknowledged ? 1u : 0u);  // the time-out
    if (acknowledged) markNow();                                                 // once is enough
    const std::vector<bool> once{true, false};
    EXPECT_EQ(accepted, std::vector<bool>(once.begin(), once.begin() + sent + acknowledged));
  }
}

// Three runs of 60, 48 and 96 points, ten minutes apart, alarm limit 26 on: the second run starts
// at 2026-12-02 09:30, the last point is 12:00 + 95 x 10 min. A full memory ends 14999 minutes
// after its start. In the wrapped loop record 1 is the oldest surviving point, the 1001st of the
// first run; the runs meet at records 8000 and 8001; address 0 held point 6001 of the second run
// (record 14001), the point before it the newest (15000). Fast and slow give the same set.
TEST(Download, BlocksFullAndWrappedMemoryInBothModes) {
  const qint64 a = at(2026, 11, 1, 0, 0, 0), b = at(2026, 11, 8, 0, 0, 0);
  struct Seam {
    size_t index;
    qint64 seconds;
    float segment;
  };
  const struct {
    SimScenario scenario;
    std::vector<bool> modes;  // slow?
    int count;
    std::vector<Seam> seams;
  } cases[] = {{scenarioFile(kThreeBlocks),
                {false, true},
                204,
                {{60, at(2026, 12, 2, 9, 30, 0), 2}, {203, at(2026, 12, 4, 3, 50, 0), 3}}},
               {scenarioFile("full-memory.json"),
                {false, true},
                15000,
                {{14999, at(2026, 12, 5, 9, 59, 0), 1}}},
               {scenarioFrom(kWrappedOnce),
                {false},
                15000,
                {{0, a + 1000 * 60LL, 1},
                 {7999, a + 8999 * 60LL, 1},
                 {8000, b, 2},
                 {14000, b + 6000 * 60LL, 2},
                 {14999, b + 6999 * 60LL, 2}}}};
  for (const auto& c : cases) {
    std::vector<DataRecord> first;
    for (const bool slow : c.modes) {
      SCOPED_TRACE(c.count + 1000 * slow);
      DownloadRun run(c.scenario);
      ASSERT_EQ(run.download(slow), true);
      ASSERT_EQ(run.bench.app.set(kLogSet).count, c.count);
      run.expectSetMatchesLogger();
      const auto records = run.records();
      for (const Seam& s : c.seams) {
        EXPECT_EQ(daySerialToSeconds(records[s.index].dateTime), s.seconds) << s.index;
        EXPECT_EQ(records[s.index].segment, s.segment) << s.index;
      }
      const AlarmSetting& upper = run.bench.app.set(kLogSet).upperAlarm;  // travels with the set
      EXPECT_TRUE(c.count != 204 || (upper.enabled != 0 && upper.limit == 26));
      if (first.empty()) first = records;
      EXPECT_TRUE(records == first);
      if (!run.bench.port->logger().memory().wraps()) continue;
      const auto& mem = run.bench.port->logger().memory();
      for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(std::pair(records[14000].raw[i], records[0].raw[i]),
                  std::pair(mem.byteAt(int(i)), mem.byteAt(4000 + int(i))));
      }
    }
  }
}

// The menu's mode may change under a running download without touching it. Lost requests,
// rejections, a rejected stream and a lost port are the fault suite's, over a real pseudo-terminal.
TEST(Download, MenuChangesMidTransferLeaveTheRunningDownloadAlone) {
  for (const bool slow : {false, true}) {
    DownloadRun run(scenarioFile(kThreeBlocks));
    QObject::connect(&run.session, &Download::progress, [&](int n, int) {
      if (n == 50) run.bench.app.downloadSlow = !slow;
    });
    ASSERT_EQ(run.download(slow), true);
    run.expectSetMatchesLogger();
    EXPECT_TRUE(run.bench.prompts.calls.empty());
  }
}

// Above 60000 bytes is no memory the logger has; none at all is nothing to fetch. The panel
// still shows points from an earlier read.
TEST(Download, StatusReadOfTheDownloadDecidesTheCounts) {
  const std::pair<int, const char*> cases[] = {{60004, "ダウンロードに失敗しました"},
                                               {0, "ﾀﾞｳﾝﾛｰﾄﾞﾃﾞｰﾀはありません"}};
  for (const auto& [usedBytes, message] : cases) {
    DownloadRun run(scenarioFrom(kOneBlock), false);
    // Its status claims `usedBytes` of points, no cap on the used memory and one-minute points.
    ScriptedLogger logger(*run.bench.pipe);
    logger.setAnswer(23, std::uint8_t(usedBytes / 256), std::uint8_t(usedBytes % 256), 16);
    logger.setAnswer(38, 0xFF, 0xFF);
    logger.setAnswer(23, 131, 1, 18);
    run.bench.app.status.usedMemory = 12;
    ASSERT_EQ(run.download(false), false) << usedBytes;
    runFor(20);
    EXPECT_EQ(run.bench.app.set(kLogSet).count, 0);
    ASSERT_EQ(run.bench.prompts.calls.size(), 1u) << usedBytes;
    EXPECT_EQ(run.bench.prompts.calls[0].message, QString::fromUtf8(message));
  }
}

TEST(Download, YesFollowedByACancelledSaveKeepsTheOldSet) {
  DownloadRun run(kOneBlock);
  DataRecord old;
  old.recordNo = 1;
  ASSERT_TRUE(run.bench.app.file(kLogSet).write(1, old).ok());
  run.bench.app.set(kLogSet).count = 1;
  run.bench.app.set(kLogSet).unsaved = true;
  run.bench.prompts.askAnswers = {true};
  run.bench.prompts.saveFiles = {std::nullopt};
  EXPECT_EQ(run.download(false), std::nullopt);
  EXPECT_TRUE(run.bench.app.set(kLogSet).count == 1 && run.bench.app.set(kLogSet).unsaved);
  EXPECT_FALSE(run.bench.exchange.isBusy());
  EXPECT_EQ(run.bench.prompts.calls.at(0).message,
            run.bench.app.texts.joined(TextId::DownloadNotSaved, TextId::SaveItQuestion));
}

// A cancel keeps exactly the points that arrived before it, in time order with their times; the
// rest of a stream is read and dropped, so the line is quiet and the next status read and a whole
// download in the same mode gets every point; the logger is never marked. A cancel at the last
// point loses nothing.
TEST(DownloadCancel, KeepsThePointsReceivedAndLeavesTheLinkReusable) {
  using O = Download::Outcome;
  const struct {
    const char* name;
    bool wrapped, slow, paced;  // paced: the stream takes longer than any drain of the line
    int cancelAt;               // points received when Cancel is pressed; -1 right after the start
    int stallAfter;             // the stream falls silent after this many points
    int kept;
    O outcome;
  } cases[] = {{"fast", false, false, false, 50, -1, 50, O::Cancelled},
               {"slow", false, true, false, 50, -1, 50, O::Cancelled},
               {"while the header is read", false, false, false, -1, -1, 0, O::Cancelled},
               {"fast, as a long stream begins", true, false, true, 0, -1, 0, O::Cancelled},
               {"fast, the rest stalls", false, false, false, 50, 120, 50, O::Cancelled},
               {"one point short of the end", false, false, false, 203, -1, 203, O::Cancelled},
               {"at the last point", false, true, false, 204, -1, 204, O::Complete},
               {"wrapped, newest part only", true, true, false, 600, -1, 600, O::Cancelled},
               {"wrapped, across the write position and a run", true, false, false, 12000, -1,
                12000, O::Cancelled}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DownloadRun run(c.wrapped ? scenarioFrom(kWrappedOnce) : scenarioFile(kThreeBlocks));
    SimulatedLogger& logger = run.bench.port->logger();
    logger.faults().stallAfterPoints = c.stallAfter;
    logger.faults().paced = c.paced;
    const auto cancelIf = [&](bool due) {
      if (!due) return;
      EXPECT_TRUE(run.session.cancel());
      EXPECT_FALSE(run.session.cancel() || run.session.start());  // once; no second start
    };
    const QMetaObject::Connection watches[] = {
        QObject::connect(&run.session, &Download::progress,
                         [&](int n, int total) { cancelIf(n == c.cancelAt && total > 0); }),
        QObject::connect(&run.session, &Download::started, [&] { cancelIf(c.cancelAt < 0); })};
    EXPECT_EQ(run.download(c.slow), c.outcome == O::Complete);
    EXPECT_EQ(run.outcome, c.outcome);
    const DataSet& set = run.bench.app.set(kLogSet);
    ASSERT_EQ(set.count, c.kept);
    EXPECT_EQ(set.partialOf,
              c.outcome == O::Cancelled && c.kept > 0 ? (c.wrapped ? 15000 : 204) : 0);
    run.expectSetMatchesLogger(c.kept);
    EXPECT_FALSE(logger.nextOutputAt().has_value());  // nothing left on its way
    EXPECT_TRUE(run.bench.prompts.calls.empty());
    EXPECT_EQ(logger.downloaded(), false);
    logger.faults() = SimFaults{};
    for (const auto& w : watches) QObject::disconnect(w);
    ASSERT_TRUE(run.bench.readStatus());
    EXPECT_TRUE(run.bench.app.status.pendingDownload);
    EXPECT_EQ(run.bench.app.status.usedMemory, c.wrapped ? 4000 : 816);
    ASSERT_EQ(run.download(c.slow), true);
    run.expectSetMatchesLogger();
    EXPECT_EQ(set.partialOf, 0);
  }
}

using Entry = RecordingHeader::Entry;
using Block = RecordingHeader::Block;
using Stamp = RecordingHeader::Stamp;

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

const Entry kUnwritten = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

const qint64 kStart = at(2026, 12, 1, 8, 0, 0);

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
    const CivilTime t = civilFromSeconds(start);
    entries.push_back(entry(t.year, t.month, t.day, t.hour, t.minute, t.second, points));
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
  const qint64 a = at(2026, 12, 1, 8, 0, 0), b = at(2026, 12, 2, 9, 30, 0),
               c = at(2026, 12, 3, 12, 0, 0);
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
  const qint64 a = at(2026, 12, 1, 10, 0, 0), b = at(2026, 12, 2, 7, 30, 0),
               b2 = at(2026, 12, 2, 9, 0, 0), c = at(2026, 12, 3, 0, 0, 0);
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
  const qint64 a = at(2026, 11, 1, 0, 0, 0), b = at(2026, 11, 5, 12, 0, 0);
  EXPECT_EQ(withBlocks({{a, 5}, {b, 3}}).backwardStamps(6, 60),
            (std::vector<Stamp>{
                {a + 120, 1}, {a + 180, 1}, {a + 240, 1}, {b, 2}, {b + 60, 2}, {b + 120, 2}}));
  EXPECT_EQ(withBlocks({{a, 2}}).backwardStamps(4, 60),
            (std::vector<Stamp>{{a - 120, 1}, {a - 60, 1}, {a, 1}, {a + 60, 1}}));
  // 150 runs of 100 points one day apart, ended by the 151st entry: record 1 is the first point
  // of the first run, record 15000 the last point of run 150.
  const qint64 base = at(2026, 1, 1, 0, 0, 0);
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
}  // namespace termika::testing
