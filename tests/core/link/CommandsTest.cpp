#include <gtest/gtest.h>

#include <QStringList>

#include "core/link/Commands.h"

namespace termika::commands {
namespace {

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
    ASSERT_EQ(rows.ok(), !expected.isEmpty());
    if (!rows.ok()) {
      EXPECT_FALSE(rows.error().message.isEmpty());
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

}  // namespace
}  // namespace termika::commands
