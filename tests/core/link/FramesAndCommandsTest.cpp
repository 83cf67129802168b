#include <gtest/gtest.h>

#include <QStringList>

#include "core/link/CommandQueue.h"
#include "core/link/Commands.h"
#include "core/link/Frame.h"
#include "core/link/FrameReceiver.h"

namespace termika {
namespace {

using namespace commands;

// Rows written out by hand, one "b1.b2.b3" per row (".b2.b3" may be left
// off when zero); b0 is 1 in every row.
QString text(const CommandRows& rows) {
  QStringList out;
  for (const CommandRow& r : rows) {
    EXPECT_EQ(r.b0, 1);
    QString row = QString::number(r.b1);
    if (r.b2 != 0 || r.b3 != 0) row += QStringLiteral(".%1").arg(r.b2);
    if (r.b3 != 0) row += QStringLiteral(".%1").arg(r.b3);
    out << row;
  }
  return out.join(u' ');
}

void expectRows(const CommandRows& rows, const QString& expected, SessionMode mode, int param = 0) {
  EXPECT_EQ(text(rows), expected);
  for (const CommandRow& r : rows) {
    EXPECT_EQ(r.mode, mode) << r.b1;
    EXPECT_EQ(r.param, param) << r.b1;
  }
}

const QString kStatusRead =
    QStringLiteral("99 42 43 30 23.20 23.22 23.24 23.16 23.18 38 34 35 36 37 47 48 50 51 57");
const QString kClock2024 = QStringLiteral("1.12.24 2.23.31 3.58.59");
const CivilTime kLastSecondsOf2024{2024, 12, 31, 23, 59, 58};

TEST(Commands, NameIsLeftPaddedSingleByteWindows31J) {
  const std::pair<QString, QString> cases[] = {
      // rows before the status read; empty: refused
      {"AB", "40.32.32 41.65.66"},
      {"T-01", "40.84.45 41.48.49"},
      {"", "40.32.32 41.32.32"},
      {"ABCDE", "40.65.66 41.67.68"},                              // first four kept
      {QString::fromUtf8("\uFF71\uFF72"), "40.32.32 41.177.178"},  // half-width kana
      {QString::fromUtf8("\u3042"), {}},
      {QString::fromUtf8("A\u6F22"), {}},
      {QString::fromUtf8("\u00E9"), {}}};
  for (const auto& [name, expected] : cases) {
    SCOPED_TRACE(name.toStdString());
    const auto rows = setLsNameRows(name);
    if (!rows.ok()) {
      EXPECT_TRUE(expected.isEmpty() && !rows.error().message.isEmpty());
      continue;
    }
    expectRows(*rows, expected + ' ' + kStatusRead, {});
  }
}

LogStartSettings settings(IntervalUnit unit, int interval) {
  LogStartSettings s{
      .name = "T1", .model = "QM120-RH", .reservation = {}, .now = kLastSecondsOf2024};
  s.unit = unit;
  s.interval = interval;
  return s;
}

TEST(Commands, LogStartRowsByModelAlarmsAndReservation) {
  LogStartSettings withAlarms = settings(IntervalUnit::Seconds, 2);
  withAlarms.loop = true;
  withAlarms.upperRaw = 0x0234;
  withAlarms.lowerRaw = 0x0100;
  withAlarms.upperOn = true;
  // Without alarms on this model; reserved for the last day, hour and minute a field allows.
  LogStartSettings reserved = settings(IntervalUnit::Minutes, 10);
  reserved.model = "QM100-RH";
  reserved.upperRaw = 0x1234;
  reserved.upperOn = reserved.lowerOn = true;
  reserved.reservation = Reservation{31, 23, 59};
  const QString start = "40.32.32 41.84.49 ";
  const std::pair<LogStartSettings, QString> cases[] = {
      {withAlarms, start + "49.1.1 " + kClock2024 + " 4 5 6 25.1.1 45.130.52 46.1 11.130.2"},
      {reserved, start + "49 " + kClock2024 + " 4 5 6 25 45 46 31.31 32.23 33.59 17.131.10"}};
  for (const auto& [s, expected] : cases) {
    SCOPED_TRACE(s.model.toStdString());
    const auto rows = logStartRows(s);
    ASSERT_TRUE(rows.ok());
    expectRows(*rows, expected + ' ' + kStatusRead, SessionMode::LogStart);
  }
  // Values that do not fit the logger are refused.
  const std::vector<std::function<void(LogStartSettings&)>> changes = {
      [](LogStartSettings& s) { s.unit = IntervalUnit{129}; },
      [](LogStartSettings& s) { s.interval = 0; },
      [](LogStartSettings& s) { s.interval = 256; },
      [](LogStartSettings& s) { s.upperRaw = 0x8000; },  // above 15 bits
      [](LogStartSettings& s) { s.lowerRaw = -1; },
      [](LogStartSettings& s) { s.reservation = Reservation(32, 0, 0); },
      [](LogStartSettings& s) { s.reservation = Reservation(1, 24, 0); },
      [](LogStartSettings& s) { s.reservation = Reservation(1, 0, 60); },
      [](LogStartSettings& s) { s.name = QString::fromUtf8("\u3042"); }};
  for (size_t i = 0; i < changes.size(); ++i) {
    LogStartSettings s = withAlarms;
    changes[i](s);
    EXPECT_FALSE(logStartRows(s).ok()) << "change " << i;
  }
}

TEST(Commands, OneLowResolutionRuleForEveryUse) {
  struct Case {
    IntervalUnit unit;
    int interval;
    int flag;       // resolution byte of (1, 25, f, f)
    int alarmMode;  // conversion mode of the alarm limits
  };
  const Case cases[] = {{IntervalUnit::Seconds, 1, 1, 2}, {IntervalUnit::Seconds, 2, 1, 2},
                        {IntervalUnit::Seconds, 3, 0, 3}, {IntervalUnit::Seconds, 59, 0, 3},
                        {IntervalUnit::Minutes, 1, 0, 3}, {IntervalUnit::Minutes, 2, 0, 3}};
  for (const Case& c : cases) {
    const LogStartSettings s = settings(c.unit, c.interval);
    const auto rows = logStartRows(s);
    ASSERT_TRUE(rows.ok());
    const CommandRow& resolution = (*rows)[9];
    ASSERT_EQ(resolution.b1, 25);
    EXPECT_EQ(std::make_pair(int(resolution.b2), int(resolution.b3)),
              std::make_pair(c.flag, c.flag))
        << c.interval;
    EXPECT_EQ(alarmConversionMode(s.intervalSeconds()), c.alarmMode) << c.interval;
  }
}

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
  EXPECT_TRUE(!refused.ok() && !refused.error().message.isEmpty());
  EXPECT_EQ(std::pair(queue.count(), int(queue.at(100).b1)), std::pair(101, 100));
  // A batch goes in wholly or not at all.
  CommandQueue batch;
  ASSERT_TRUE(batch.append(CommandRows(100, code(1))).ok());
  EXPECT_FALSE(batch.append(CommandRows(2, code(2))).ok());
  EXPECT_EQ(batch.count(), 100);
}

}  // namespace
}  // namespace termika
