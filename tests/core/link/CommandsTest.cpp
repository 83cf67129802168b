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

void expectRows(const CommandRows& rows, const QString& expected, const QString& mode,
                int param = 0) {
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

TEST(Commands, RowsOfEachSender) {
  struct Case {
    const char* name;
    CommandRows rows;
    QString expected;
    QString mode;
  };
  const Case cases[] = {
      {"status update", StatusUpdateRows(), kStatusRead, {}},
      {"stop", StopRows(), "12.14 " + kStatusRead, {}},
      {"connect", ConnectRows(), "16 " + kStatusRead, "port_open"},
      {"measurement read", QueueMeasurementRead("real"), "16 22 21", "real"},
      {"single measurement", SingleMeasurementRows(), "25 16 22 21", "real"},
      {"continuous at 2 s", ContinuousStartRows(2), "25.1.1 16 22 21", "real_con"},
      {"continuous at 5 s", ContinuousStartRows(5), "25 16 22 21", "real_con"},
      {"continuous at 2 min", ContinuousStartRows(120), "25 16 22 21", "real_con"},
      {"next continuous point", ContinuationRows(), "16 22 21", "real_con"},
      {"command 9", Command9Rows(), "87.14", {}},
      {"clock write", QueueClockWrite(kLastSecondsOf2024), kClock2024, {}},
      {"clock write 2031", QueueClockWrite({2031, 1, 2, 3, 4, 5}), "1.1.31 2.3.2 3.5.4", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectRows(c.rows, c.expected, c.mode);
  }
  expectRows(QueueStatusRead("download", 7), kStatusRead, "download", 7);
  EXPECT_EQ(InitAllBytes().toHex(), QByteArray("494e4954414c4cff"));
}

TEST(Commands, ClockSetAndDownloadChangeModeHalfway) {
  const CommandRows clock = NowTimeSetRows(kLastSecondsOf2024);
  ASSERT_EQ(clock.size(), 6u);
  expectRows({clock.begin(), clock.begin() + 3}, kClock2024, {});
  expectRows({clock.begin() + 3, clock.end()}, "4 5 6", "T_Set");
  // Download: stop, status, then the recording header at 0xF000.
  const CommandRows download = DownloadStartRows();
  ASSERT_EQ(download.size(), 21u);
  expectRows({download.begin(), download.begin() + 20}, "12.14 " + kStatusRead, "download");
  expectRows({download.begin() + 20, download.end()}, "8.240", "kiroten", 61440);
}

TEST(Commands, NameIsLeftPaddedSingleByteWindows31J) {
  struct Case {
    QString name;
    QString rows;  // empty: refused
  };
  const Case cases[] = {
      {"AB", "40.32.32 41.65.66"},
      {"T-01", "40.84.45 41.48.49"},
      {"", "40.32.32 41.32.32"},
      {"ABCDE", "40.65.66 41.67.68"},                              // first four kept
      {QString::fromUtf8("\uFF71\uFF72"), "40.32.32 41.177.178"},  // half-width kana
      {QString::fromUtf8("\u3042"), {}},
      {QString::fromUtf8("A\u6F22"), {}},
      {QString::fromUtf8("\u00E9"), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    const auto rows = SetLSNameRows(c.name);
    ASSERT_EQ(rows.ok(), !c.rows.isEmpty());
    if (rows.ok()) expectRows(*rows, c.rows + ' ' + kStatusRead, {});
    if (!rows.ok()) {
      EXPECT_FALSE(rows.error().message.isEmpty());
    }
  }
}

LogStartSettings baseSettings() {
  LogStartSettings s;
  s.name = QStringLiteral("T1");
  s.now = kLastSecondsOf2024;
  s.model = QStringLiteral("QM120-RH");
  return s;
}

TEST(Commands, LogStartRowsByModelAlarmsAndReservation) {
  struct Case {
    const char* model;
    bool loop;
    std::uint8_t unit;
    int interval, upperRaw, lowerRaw;
    bool upperOn, lowerOn;
    std::optional<Reservation> reservation;
    QString rows;  // before the status read
  };
  const QString start = "40.32.32 41.84.49 ";
  const Case cases[] = {
      {"QM120-RH", true, kUnitSeconds, 2, 0x0234, 0x0100, true, false, std::nullopt,
       start + "49.1.1 " + kClock2024 + " 4 5 6 25.1.1 45.130.52 46.1 11.130.2"},
      // Without alarms on this model; reserved for day 5, 7:30.
      {"QM100-RH", false, kUnitMinutes, 10, 0x1234, 0x0200, true, true, Reservation{5, 7, 30},
       start + "49 " + kClock2024 + " 4 5 6 25 45 46 31.5 32.7 33.30 17.131.10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    LogStartSettings s = baseSettings();
    s.model = c.model;
    s.loop = c.loop;
    s.unit = c.unit;
    s.interval = c.interval;
    s.upperRaw = c.upperRaw;
    s.lowerRaw = c.lowerRaw;
    s.upperOn = c.upperOn;
    s.lowerOn = c.lowerOn;
    s.reservation = c.reservation;
    const auto rows = LogStartRows(s);
    ASSERT_TRUE(rows.ok());
    expectRows(*rows, c.rows + ' ' + kStatusRead, "log_start");
  }
}

TEST(Commands, OneLowResolutionRuleForEveryUse) {
  struct Case {
    std::uint8_t unit;
    int interval;
    int flag;       // resolution byte of (1, 25, f, f)
    int alarmMode;  // conversion mode of the alarm limits
  };
  const Case cases[] = {
      {kUnitSeconds, 1, 1, 2},  {kUnitSeconds, 2, 1, 2}, {kUnitSeconds, 3, 0, 3},
      {kUnitSeconds, 59, 0, 3}, {kUnitMinutes, 1, 0, 3}, {kUnitMinutes, 2, 0, 3},
  };
  for (const Case& c : cases) {
    LogStartSettings s = baseSettings();
    s.unit = c.unit;
    s.interval = c.interval;
    const auto rows = LogStartRows(s);
    ASSERT_TRUE(rows.ok());
    const CommandRow& resolution = (*rows)[9];
    ASSERT_EQ(resolution.b1, 25);
    EXPECT_EQ(resolution.b2, c.flag) << c.interval;
    EXPECT_EQ(resolution.b3, c.flag) << c.interval;
    EXPECT_EQ(alarmConversionMode(s.intervalSeconds()), c.alarmMode) << c.interval;
  }
}

TEST(Commands, LogStartRefusesValuesThatDoNotFitTheLogger) {
  const std::vector<std::function<void(LogStartSettings&)>> changes = {
      [](LogStartSettings& s) { s.unit = 129; },
      [](LogStartSettings& s) { s.interval = 0; },
      [](LogStartSettings& s) { s.interval = 256; },
      [](LogStartSettings& s) { s.upperRaw = 0x8000; },  // above 15 bits
      [](LogStartSettings& s) { s.lowerRaw = -1; },
      [](LogStartSettings& s) {
        s.reservation = Reservation{1, 24, 0};
      },
      [](LogStartSettings& s) { s.name = QString::fromUtf8("\u3042"); },
  };
  for (size_t i = 0; i < changes.size(); ++i) {
    LogStartSettings s = baseSettings();
    changes[i](s);
    EXPECT_FALSE(LogStartRows(s).ok()) << "change " << i;
  }
}

}  // namespace
}  // namespace termika::commands
