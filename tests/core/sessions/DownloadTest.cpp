#include <gtest/gtest.h>

#include <QSignalSpy>
#include <optional>
#include <vector>

#include "SessionTestSupport.h"
#include "core/data/Conversion.h"
#include "core/sessions/DeviceRequests.h"
#include "core/sessions/Download.h"

namespace termika::testing {
namespace {

// The records of the log set, 1..Count.
std::vector<DataRecord> logRecords(const AppState& app) {
  std::vector<DataRecord> out;
  for (int i = 1; i <= app.set(kLogSet).Count; ++i) {
    const auto r = app.file(kLogSet).read(i);
    if (!r) break;
    out.push_back(*r);
  }
  return out;
}

struct Outcome {
  bool started = false;
  std::optional<bool> ok;
};

// Starts a download and runs until it has finished and the link is idle.
Outcome download(SessionBench& bench, Download& session, bool slow) {
  bench.app.DownloadSlow = slow;
  Outcome out;
  QObject::connect(&session, &Download::finished, [&out](bool ok) { out.ok = ok; });
  out.started = session.Command5_Click();
  if (out.started) {
    waitUntil([&] { return out.ok.has_value() && !bench.exchange.isBusy(); }, 60000);
    runFor(5);  // a deferred message
  }
  return out;
}

// Compares the log set with the points the scenario's logger holds.
void expectSetMatchesLogger(const SessionBench& bench) {
  const std::vector<SimPoint> expected = bench.port->logger().expectedTimeOrder();
  const std::vector<DataRecord> records = logRecords(bench.app);
  ASSERT_EQ(records.size(), expected.size());
  for (size_t i = 0; i < records.size(); ++i) {
    const DataRecord& r = records[i];
    const SimPoint& p = expected[i];
    ASSERT_EQ(r.RecordNo, static_cast<int>(i) + 1);
    ASSERT_EQ(daySerialToSeconds(r.DateTime), p.seconds) << "record " << i + 1;
    ASSERT_EQ(r.DateTime, secondsToDaySerial(p.seconds)) << "record " << i + 1;
    ASSERT_EQ(static_cast<int>(r.Segment), p.segment) << "record " << i + 1;
    ASSERT_EQ(r.Raw, p.raw) << "record " << i + 1;
  }
}

int messagesWith(const ScriptedPrompts& prompts, const QString& text) {
  int n = 0;
  for (const auto& c : prompts.calls) n += c.message.contains(text) ? 1 : 0;
  return n;
}

constexpr char kOneBlock[] = R"({
  "model": "QM100-RH", "loggerName": "ONE1", "clock": "2026-12-06 12:00:00",
  "interval": {"unit": "seconds", "value": 60},
  "recording": {"blocks": [{"start": "2026-12-06 10:00:00", "points": 3}],
                "olderEntry": "2026-11-01 00:00:00"},
  "points": [[3000, 2000], [3001, 2100], [2999, 2200]]
})";

TEST(Download, OneBlockIsStampedFromItsStart) {
  SessionBench bench(scenarioFrom(kOneBlock));
  ASSERT_TRUE(bench.readStatus());
  Download session(bench.app, bench.prompts, bench.exchange);
  QSignalSpy progress(&session, &Download::progress);
  QList<QByteArray> written;
  QObject::connect(bench.pipe.get(), &PipeTransport::written,
                   [&written](const QByteArray& b) { written << b; });

  const Outcome out = download(bench, session, false);
  ASSERT_TRUE(out.started);
  ASSERT_EQ(out.ok, true);

  const auto records = logRecords(bench.app);
  ASSERT_EQ(records.size(), 3u);
  const qint64 start = at(2026, 12, 6, 10, 0, 0);
  const std::array<std::array<std::uint8_t, 4>, 3> raws = {
      {{0x0B, 0xB8, 0x07, 0xD0}, {0x0B, 0xB9, 0x08, 0x34}, {0x0B, 0xB7, 0x08, 0x98}}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(records[i].DateTime, secondsToDaySerial(start + 60 * i));
    EXPECT_EQ(records[i].Segment, 1.0f);
    EXPECT_EQ(records[i].RecordNo, i + 1);
    EXPECT_EQ(records[i].Raw, raws[static_cast<size_t>(i)]);
  }
  const DataSet& set = bench.app.set(kLogSet);
  EXPECT_TRUE(set.Unsaved);
  EXPECT_EQ(bench.app.CurrentSet, kLogSet);
  EXPECT_EQ(set.LoggerName, QStringLiteral("ONE1"));
  EXPECT_EQ(set.Model, QStringLiteral("QM100-RH"));
  EXPECT_EQ(set.Interval, 60);
  EXPECT_EQ(session.caption(), QStringLiteral("ダウンロード\u3000(3/3)"));
  ASSERT_FALSE(progress.isEmpty());
  EXPECT_EQ(progress.last().at(0).toInt(), 3);
  EXPECT_EQ(progress.last().at(1).toInt(), 3);
  // The transfer asked for 12 bytes, and the closing request came last.
  const QByteArray fastRead = frame::encode({1, 44, 0, 12});
  EXPECT_TRUE(written.contains(fastRead));
  EXPECT_EQ(written.last(), frame::encode({1, 56, 1, 1}));
  EXPECT_TRUE(bench.prompts.calls.empty());
}

constexpr char kThreeBlocks[] = R"({
  "model": "QM120-RH", "loggerName": "LAB1", "clock": "2026-12-04 09:15:00",
  "interval": {"unit": "minutes", "value": 10},
  "alarms": {"upper": {"celsius": 26, "on": true}, "lower": {"celsius": 18, "on": true}},
  "recording": {"blocks": [{"start": "2026-12-01 08:00:00", "points": 60},
                           {"start": "2026-12-02 09:30:00", "points": 48},
                           {"start": "2026-12-03 12:00:00", "points": 96}],
                "olderEntry": "2026-11-20 14:00:00"},
  "sensor": {"seed": 120, "temperatureMean": 22, "temperatureSwing": 6}
})";

TEST(Download, ThreeBlocksWithGapsInBothModes) {
  for (const bool slow : {false, true}) {
    SessionBench bench(scenarioFrom(kThreeBlocks));
    ASSERT_TRUE(bench.readStatus());
    Download session(bench.app, bench.prompts, bench.exchange);
    const Outcome out = download(bench, session, slow);
    ASSERT_EQ(out.ok, true) << slow;
    ASSERT_EQ(bench.app.set(kLogSet).Count, 204);
    expectSetMatchesLogger(bench);
    const auto records = logRecords(bench.app);
    // The first point of the second run, and the last point: 12:00 + 95 x 10 min.
    EXPECT_EQ(daySerialToSeconds(records[60].DateTime), at(2026, 12, 2, 9, 30, 0));
    EXPECT_EQ(records[60].Segment, 2.0f);
    EXPECT_EQ(daySerialToSeconds(records[203].DateTime), at(2026, 12, 4, 3, 50, 0));
    EXPECT_EQ(records[203].Segment, 3.0f);
    // Alarm limits of this model travel with the set.
    EXPECT_NE(bench.app.set(kLogSet).UpperAlarm.Enabled, 0);
    EXPECT_EQ(bench.app.set(kLogSet).UpperAlarm.Limit, 26);
  }
}

constexpr char kFull[] = R"({
  "model": "QM100-RH", "loggerName": "FULL", "clock": "2026-12-20 00:00:00",
  "interval": {"unit": "minutes", "value": 1},
  "recording": {"blocks": [{"start": "2026-12-01 00:00:00", "points": 15000}]},
  "sensor": {"seed": 77}
})";

TEST(Download, FullMemoryFastAndSlowGiveTheSameSet) {
  std::vector<DataRecord> sets[2];
  for (const bool slow : {false, true}) {
    SessionBench bench(scenarioFrom(kFull));
    ASSERT_TRUE(bench.readStatus());
    Download session(bench.app, bench.prompts, bench.exchange);
    const Outcome out = download(bench, session, slow);
    ASSERT_EQ(out.ok, true);
    ASSERT_EQ(bench.app.set(kLogSet).Count, 15000);
    expectSetMatchesLogger(bench);
    sets[slow ? 1 : 0] = logRecords(bench.app);
    // 14999 minutes after the start: 2026-12-11 09:59:00.
    EXPECT_EQ(daySerialToSeconds(sets[slow ? 1 : 0].back().DateTime), at(2026, 12, 11, 9, 59, 0));
  }
  ASSERT_EQ(sets[0].size(), sets[1].size());
  for (size_t i = 0; i < sets[0].size(); ++i) ASSERT_EQ(sets[0][i], sets[1][i]) << i;
}

constexpr char kWrapped[] = R"({
  "model": "QM120-RH", "loggerName": "LOOP", "clock": "2026-12-20 00:00:00",
  "state": "idle", "recordMode": "loop",
  "interval": {"unit": "minutes", "value": 1},
  "recording": {"blocks": [{"start": "2026-11-01 00:00:00", "points": 9000},
                           {"start": "2026-11-08 00:00:00", "points": 7000}],
                "olderEntry": "2026-10-01 00:00:00"},
  "sensor": {"seed": 9}
})";

TEST(Download, WrappedLoopMemoryIsRotatedAndStampedBackwards) {
  SessionBench bench(scenarioFrom(kWrapped));
  ASSERT_TRUE(bench.readStatus());
  // 16000 points written: one wrap, the write position is 1000 points.
  ASSERT_EQ(bench.app.Status.UsedMemory, 4000);
  ASSERT_EQ(bench.app.Status.MemoryWrapped, 1);
  Download session(bench.app, bench.prompts, bench.exchange);
  const Outcome out = download(bench, session, false);
  ASSERT_EQ(out.ok, true);
  ASSERT_EQ(bench.app.set(kLogSet).Count, 15000);
  expectSetMatchesLogger(bench);

  const auto records = logRecords(bench.app);
  const qint64 a = at(2026, 11, 1, 0, 0, 0);
  const qint64 b = at(2026, 11, 8, 0, 0, 0);
  // Record 1: the oldest surviving point, the 1001st of the first run.
  EXPECT_EQ(daySerialToSeconds(records[0].DateTime), a + 1000 * 60);
  EXPECT_EQ(records[0].Segment, 1.0f);
  // The seam between the runs: records 8000 and 8001.
  EXPECT_EQ(daySerialToSeconds(records[7999].DateTime), a + 8999 * 60);
  EXPECT_EQ(records[7999].Segment, 1.0f);
  EXPECT_EQ(daySerialToSeconds(records[8000].DateTime), b);
  EXPECT_EQ(records[8000].Segment, 2.0f);
  // The seam in memory: address 0 held point 6001 of the second run
  // (record 14001), the point before it the newest (record 15000).
  EXPECT_EQ(daySerialToSeconds(records[14000].DateTime), b + 6000 * 60);
  EXPECT_EQ(daySerialToSeconds(records[14999].DateTime), b + 6999 * 60);
  const auto& mem = bench.port->logger().memory();
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(records[14000].Raw[static_cast<size_t>(i)], mem.byteAt(i));
    EXPECT_EQ(records[0].Raw[static_cast<size_t>(i)], mem.byteAt(4000 + i));
  }
}

constexpr char kStall[] = R"({
  "model": "QM100-RH", "loggerName": "STAL", "clock": "2026-12-06 09:00:00",
  "interval": {"unit": "minutes", "value": 1},
  "recording": {"blocks": [{"start": "2026-12-06 00:00:00", "points": 1000}]},
  "faults": {"stallAfterPoints": 500}
})";

TEST(Download, StallFailsThroughTheWatchdogOnce) {
  SessionBench bench(scenarioFrom(kStall));
  ASSERT_TRUE(bench.readStatus());
  Download session(bench.app, bench.prompts, bench.exchange);
  int maxSeen = 0;
  QObject::connect(&session, &Download::progress,
                   [&maxSeen](int n, int) { maxSeen = std::max(maxSeen, n); });
  const Outcome out = download(bench, session, false);
  ASSERT_EQ(out.ok, false);
  EXPECT_EQ(maxSeen, 500);
  runFor(300);  // a watchdog left running would pile up messages
  EXPECT_EQ(messagesWith(bench.prompts, QStringLiteral("ダウンロードに失敗しました")), 1);
  EXPECT_EQ(bench.prompts.calls.size(), 1u);
  EXPECT_EQ(bench.app.set(kLogSet).Count, 0);
  EXPECT_FALSE(bench.app.set(kLogSet).Unsaved);
  EXPECT_FALSE(session.running());
  // The link is usable again afterwards.
  EXPECT_TRUE(bench.readStatus());
  EXPECT_EQ(bench.app.Status.LoggerName, QStringLiteral("STAL"));
}

TEST(Download, ShortSilenceAndRejectionsMidTransferRecover) {
  SessionBench bench(scenarioFrom(kThreeBlocks));
  ASSERT_TRUE(bench.readStatus());
  Download session(bench.app, bench.prompts, bench.exchange);
  QObject::connect(&session, &Download::progress, [&bench](int n, int) {
    if (n == 50) bench.port->logger().faults().silentRequests = 1;
    if (n == 120) bench.port->logger().faults().rejectedRequests = 3;
  });
  const Outcome out = download(bench, session, true);
  ASSERT_EQ(out.ok, true);
  expectSetMatchesLogger(bench);
  EXPECT_TRUE(bench.prompts.calls.empty());
}

TEST(Download, LongSilenceInSlowModeFailsWithTheMessage) {
  SessionBench bench(scenarioFrom(kThreeBlocks));
  ASSERT_TRUE(bench.readStatus());
  Download session(bench.app, bench.prompts, bench.exchange);
  QObject::connect(&session, &Download::progress, [&bench](int n, int) {
    if (n == 100) bench.port->logger().faults().silentRequests = 100;
  });
  const Outcome out = download(bench, session, true);
  ASSERT_EQ(out.ok, false);
  runFor(100);
  EXPECT_EQ(messagesWith(bench.prompts, QStringLiteral("ダウンロードに失敗しました")), 1);
  EXPECT_EQ(bench.app.set(kLogSet).Count, 0);
}

TEST(Download, FinalRejectionEndsWithAnEmptySet) {
  SessionBench bench(scenarioFrom(kThreeBlocks));
  ASSERT_TRUE(bench.readStatus());
  Download session(bench.app, bench.prompts, bench.exchange);
  QObject::connect(&session, &Download::progress, [&bench](int n, int) {
    if (n == 30) bench.port->logger().faults().rejectedRequests = 50;
  });
  const Outcome out = download(bench, session, true);
  ASSERT_EQ(out.ok, false);
  EXPECT_EQ(bench.app.set(kLogSet).Count, 0);
  EXPECT_FALSE(bench.app.set(kLogSet).Unsaved);
  // The link told the user; the download adds no second message.
  EXPECT_EQ(messagesWith(bench.prompts, QStringLiteral("ダウンロードに失敗しました")), 0);
  EXPECT_EQ(bench.prompts.calls.size(), 1u);
  EXPECT_TRUE(bench.app.RunState.isEmpty());
}

TEST(Download, UnpluggedMidTransferLeavesAnEmptySet) {
  SessionBench bench(scenarioFrom(kThreeBlocks));
  ASSERT_TRUE(bench.readStatus());
  Download session(bench.app, bench.prompts, bench.exchange);
  QObject::connect(&session, &Download::progress, [&bench](int n, int) {
    if (n == 40) bench.port->unplug();
  });
  const Outcome out = download(bench, session, true);
  ASSERT_EQ(out.ok, false);
  EXPECT_EQ(bench.app.set(kLogSet).Count, 0);
  EXPECT_FALSE(bench.pipe->isOpen());
}

TEST(Download, NoPointsInTheLoggerGivesTheMessageOnly) {
  SessionBench bench(scenarioFrom(R"({"model": "QM100-RH", "clock": "2026-12-06 09:00:00"})"));
  ASSERT_TRUE(bench.readStatus());
  Download session(bench.app, bench.prompts, bench.exchange);
  EXPECT_FALSE(session.Command5_Click());
  ASSERT_EQ(bench.prompts.calls.size(), 1u);
  EXPECT_EQ(bench.prompts.calls[0].message, QStringLiteral("ﾀﾞｳﾝﾛｰﾄﾞﾃﾞｰﾀはありません"));
  EXPECT_FALSE(bench.exchange.isBusy());
}

TEST(Download, YesFollowedByACancelledSaveKeepsTheOldSet) {
  SessionBench bench(scenarioFrom(kOneBlock));
  ASSERT_TRUE(bench.readStatus());
  DataRecord old;
  old.RecordNo = 1;
  ASSERT_TRUE(bench.app.file(kLogSet).write(1, old).ok());
  bench.app.set(kLogSet).Count = 1;
  bench.app.set(kLogSet).Unsaved = true;
  bench.prompts.askAnswers = {true};
  bench.prompts.saveFiles = {std::nullopt};
  Download session(bench.app, bench.prompts, bench.exchange);
  EXPECT_FALSE(session.Command5_Click());
  EXPECT_EQ(bench.app.set(kLogSet).Count, 1);
  EXPECT_TRUE(bench.app.set(kLogSet).Unsaved);
  EXPECT_FALSE(bench.exchange.isBusy());
  ASSERT_FALSE(bench.prompts.callsOf(ScriptedPrompts::Kind::Ask).empty());
  EXPECT_EQ(bench.prompts.callsOf(ScriptedPrompts::Kind::Ask)[0].message,
            bench.app.Texts.joined(1093, 1094));
}

TEST(Download, LaterStatusReadsDoNotRewriteTheHeldSet) {
  SessionBench bench(scenarioFrom(kOneBlock));
  ASSERT_TRUE(bench.readStatus());
  Download session(bench.app, bench.prompts, bench.exchange);
  ASSERT_EQ(download(bench, session, false).ok, true);
  DeviceRequests requests(bench.app, bench.prompts, bench.exchange);
  ASSERT_TRUE(requests.setName(QStringLiteral("NEW2")).ok());
  ASSERT_TRUE(waitUntil([&] { return !bench.exchange.isBusy(); }));
  EXPECT_EQ(bench.app.Status.LoggerName, QStringLiteral("NEW2"));
  EXPECT_EQ(bench.app.set(kLogSet).LoggerName, QStringLiteral("ONE1"));
}

TEST(Download, SecondClickWhileRunningDoesNothing) {
  SessionBench bench(scenarioFrom(kThreeBlocks));
  ASSERT_TRUE(bench.readStatus());
  Download session(bench.app, bench.prompts, bench.exchange);
  bench.app.DownloadSlow = true;
  ASSERT_TRUE(session.Command5_Click());
  EXPECT_FALSE(session.Command5_Click());
  ASSERT_TRUE(session.Download_Cancel());
  EXPECT_EQ(bench.app.set(kLogSet).Count, 0);
  EXPECT_FALSE(session.running());
  EXPECT_TRUE(bench.readStatus());
}

}  // namespace
}  // namespace termika::testing

namespace termika::testing {
namespace {

// A logger whose status claims `usedBytes` of points; every other request is
// answered (1, code, 0, 0), the interval as one minute.
class ClaimingLogger {
 public:
  ClaimingLogger(PipeTransport& pipe, int usedBytes) : m_pipe(pipe), m_used(usedBytes) {
    pipe.setPeer([this](const QByteArray& bytes) { answer(bytes); });
  }

 private:
  void answer(const QByteArray& bytes) {
    const auto request = frame::decodeAnswer(bytes);
    if (!request) return;
    const std::uint8_t code = (*request)[1];
    const std::uint8_t sub = (*request)[2];
    QByteArray reply;
    if (code == 99) {
      reply = QByteArray("QM100-RH\x01\x05\xFF", 11);
    } else if (code == 23 && sub == 16) {
      reply = frame::encode({1, code, static_cast<std::uint8_t>(m_used / 256),
                             static_cast<std::uint8_t>(m_used % 256)});
    } else if (code == 38) {
      reply = frame::encode({1, code, 255, 255});  // no cap on the used memory
    } else if (code == 23 && sub == 18) {
      reply = frame::encode({1, code, 131, 1});
    } else {
      reply = frame::encode({1, code, 0, 0});
    }
    m_pipe.deliver(reply);
  }
  PipeTransport& m_pipe;
  int m_used;
};

TEST(Download, StatusReadOfTheDownloadDecidesTheCounts) {
  struct Case {
    int usedBytes;
    const char* message;
  };
  // Above 60000 bytes is no memory the logger has; none at all is nothing to fetch.
  const Case cases[] = {{60004, "ダウンロードに失敗しました"}, {0, "ﾀﾞｳﾝﾛｰﾄﾞﾃﾞｰﾀはありません"}};
  for (const Case& c : cases) {
    SessionBench bench(scenarioFrom(kOneBlock));
    ClaimingLogger logger(*bench.pipe, c.usedBytes);
    // The panel still shows points from an earlier read.
    bench.app.Status.UsedMemory = 12;
    Download session(bench.app, bench.prompts, bench.exchange);
    std::optional<bool> ok;
    QObject::connect(&session, &Download::finished, [&ok](bool done) { ok = done; });
    ASSERT_TRUE(session.Command5_Click());
    ASSERT_TRUE(waitUntil([&] { return ok.has_value() && !bench.exchange.isBusy(); }));
    runFor(20);
    EXPECT_EQ(ok, false) << c.usedBytes;
    EXPECT_EQ(bench.app.set(kLogSet).Count, 0);
    ASSERT_EQ(bench.prompts.calls.size(), 1u) << c.usedBytes;
    EXPECT_EQ(bench.prompts.calls[0].message, QString::fromUtf8(c.message));
  }
}

}  // namespace
}  // namespace termika::testing
