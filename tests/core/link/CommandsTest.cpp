#include <gtest/gtest.h>

#include "core/link/Commands.h"

namespace termika::commands {
namespace {

// Rows written out by hand as {b1, b2, b3}; b0 is 1 in every row.
struct Expected {
  int b1;
  int b2;
  int b3;
};

void expectRows(const CommandRows& rows, const std::vector<Expected>& expected, const QString& mode,
                int param = 0) {
  ASSERT_EQ(rows.size(), expected.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].b0, 1) << "row " << i;
    EXPECT_EQ(rows[i].b1, expected[i].b1) << "row " << i;
    EXPECT_EQ(rows[i].b2, expected[i].b2) << "row " << i;
    EXPECT_EQ(rows[i].b3, expected[i].b3) << "row " << i;
    EXPECT_EQ(rows[i].mode, mode) << "row " << i;
    EXPECT_EQ(rows[i].param, param) << "row " << i;
  }
}

const std::vector<Expected> kStatusRead = {
    {99, 0, 0},  {42, 0, 0},  {43, 0, 0}, {30, 0, 0}, {23, 20, 0}, {23, 22, 0}, {23, 24, 0},
    {23, 16, 0}, {23, 18, 0}, {38, 0, 0}, {34, 0, 0}, {35, 0, 0},  {36, 0, 0},  {37, 0, 0},
    {47, 0, 0},  {48, 0, 0},  {50, 0, 0}, {51, 0, 0}, {57, 0, 0}};

std::vector<Expected> concat(std::vector<Expected> a, const std::vector<Expected>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const CivilTime kLastSecondsOf2024{2024, 12, 31, 23, 59, 58};

TEST(Commands, StatusReadIsNineteenRowsInOrder) {
  expectRows(QueueStatusRead(), kStatusRead, {});
  expectRows(QueueStatusRead(QStringLiteral("download"), 7), kStatusRead,
             QStringLiteral("download"), 7);
}

TEST(Commands, ClockWriteTakesEveryFieldFromOneMoment) {
  expectRows(QueueClockWrite(kLastSecondsOf2024), {{1, 12, 24}, {2, 23, 31}, {3, 58, 59}}, {});
  expectRows(QueueClockWrite(CivilTime{2031, 1, 2, 3, 4, 5}), {{1, 1, 31}, {2, 3, 2}, {3, 5, 4}},
             {});
}

TEST(Commands, ClockSetReadsTheClockBackInClockSetMode) {
  const CommandRows rows = NowTimeSetRows(kLastSecondsOf2024);
  ASSERT_EQ(rows.size(), 6u);
  expectRows({rows.begin(), rows.begin() + 3}, {{1, 12, 24}, {2, 23, 31}, {3, 58, 59}}, {});
  expectRows({rows.begin() + 3, rows.end()}, {{4, 0, 0}, {5, 0, 0}, {6, 0, 0}},
             QStringLiteral("T_Set"));
}

TEST(Commands, SimpleSenders) {
  struct Case {
    const char* name;
    CommandRows rows;
    std::vector<Expected> expected;
    QString mode;
  };
  const std::vector<Case> cases = {
      {"status update", StatusUpdateRows(), kStatusRead, {}},
      {"stop", StopRows(), concat({{12, 14, 0}}, kStatusRead), {}},
      {"connect", ConnectRows(), concat({{16, 0, 0}}, kStatusRead), QStringLiteral("port_open")},
      {"measurement read",
       QueueMeasurementRead(QStringLiteral("real")),
       {{16, 0, 0}, {22, 0, 0}, {21, 0, 0}},
       QStringLiteral("real")},
      {"single measurement",
       SingleMeasurementRows(),
       {{25, 0, 0}, {16, 0, 0}, {22, 0, 0}, {21, 0, 0}},
       QStringLiteral("real")},
      {"continuous at 2 s",
       ContinuousStartRows(2),
       {{25, 1, 1}, {16, 0, 0}, {22, 0, 0}, {21, 0, 0}},
       QStringLiteral("real_con")},
      {"continuous at 5 s",
       ContinuousStartRows(5),
       {{25, 0, 0}, {16, 0, 0}, {22, 0, 0}, {21, 0, 0}},
       QStringLiteral("real_con")},
      {"continuous at 2 min",
       ContinuousStartRows(120),
       {{25, 0, 0}, {16, 0, 0}, {22, 0, 0}, {21, 0, 0}},
       QStringLiteral("real_con")},
      {"next continuous point",
       ContinuationRows(),
       {{16, 0, 0}, {22, 0, 0}, {21, 0, 0}},
       QStringLiteral("real_con")},
      {"command 9", Command9Rows(), {{87, 14, 0}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectRows(c.rows, c.expected, c.mode);
  }
}

TEST(Commands, DownloadStartStopsReadsStatusThenTheHeaderAt0xF000) {
  const CommandRows rows = DownloadStartRows();
  ASSERT_EQ(rows.size(), 21u);
  expectRows({rows.begin(), rows.begin() + 20}, concat({{12, 14, 0}}, kStatusRead),
             QStringLiteral("download"));
  expectRows({rows.begin() + 20, rows.end()}, {{8, 240, 0}}, QStringLiteral("kiroten"), 61440);
}

TEST(Commands, NameIsLeftPaddedSingleByteWindows31J) {
  struct Case {
    QString name;
    std::vector<Expected> rows;
  };
  const std::vector<Case> cases = {
      {QStringLiteral("AB"), {{40, 32, 32}, {41, 65, 66}}},
      {QStringLiteral("T-01"), {{40, 84, 45}, {41, 48, 49}}},
      {QString(), {{40, 32, 32}, {41, 32, 32}}},
      {QStringLiteral("ABCDE"), {{40, 65, 66}, {41, 67, 68}}},                // first four kept
      {QString::fromUtf8("\uFF71\uFF72"), {{40, 32, 32}, {41, 0xB1, 0xB2}}},  // half-width kana
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    const auto rows = SetLSNameRows(c.name);
    ASSERT_TRUE(rows.ok());
    expectRows(*rows, concat(c.rows, kStatusRead), {});
  }
}

TEST(Commands, NameWithDoubleByteCharactersIsRefused) {
  for (const QString& name :
       {QString::fromUtf8("\u3042"), QString::fromUtf8("A\u6F22"), QString::fromUtf8("\u00E9")}) {
    const auto rows = SetLSNameRows(name);
    ASSERT_FALSE(rows.ok()) << name.toStdString();
    EXPECT_FALSE(rows.error().message.isEmpty());
  }
}

LogStartSettings baseSettings() {
  LogStartSettings s;
  s.name = QStringLiteral("T1");
  s.now = kLastSecondsOf2024;
  s.model = QStringLiteral("QM120-RH");
  return s;
}

TEST(Commands, LogStartWithAlarmsAndNoReservation) {
  LogStartSettings s = baseSettings();
  s.loop = true;
  s.unit = kUnitSeconds;
  s.interval = 2;
  s.upperRaw = 0x0234;
  s.upperOn = true;
  s.lowerRaw = 0x0100;
  s.lowerOn = false;
  const auto rows = LogStartRows(s);
  ASSERT_TRUE(rows.ok());
  expectRows(*rows,
             concat({{40, 32, 32},
                     {41, 84, 49},
                     {49, 1, 1},
                     {1, 12, 24},
                     {2, 23, 31},
                     {3, 58, 59},
                     {4, 0, 0},
                     {5, 0, 0},
                     {6, 0, 0},
                     {25, 1, 1},
                     {45, 0x82, 0x34},
                     {46, 0x01, 0x00},
                     {11, 130, 2}},
                    kStatusRead),
             QStringLiteral("log_start"));
}

TEST(Commands, LogStartOnAModelWithoutAlarmsWithReservation) {
  LogStartSettings s = baseSettings();
  s.model = QStringLiteral("QM100-RH");
  s.unit = kUnitMinutes;
  s.interval = 10;
  s.upperRaw = 0x1234;
  s.upperOn = true;
  s.lowerRaw = 0x0200;
  s.lowerOn = true;
  s.reservation = Reservation{5, 7, 30};
  const auto rows = LogStartRows(s);
  ASSERT_TRUE(rows.ok());
  expectRows(*rows,
             concat({{40, 32, 32},
                     {41, 84, 49},
                     {49, 0, 0},
                     {1, 12, 24},
                     {2, 23, 31},
                     {3, 58, 59},
                     {4, 0, 0},
                     {5, 0, 0},
                     {6, 0, 0},
                     {25, 0, 0},
                     {45, 0, 0},
                     {46, 0, 0},
                     {31, 5, 0},
                     {32, 7, 0},
                     {33, 30, 0},
                     {17, 131, 10}},
                    kStatusRead),
             QStringLiteral("log_start"));
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
  struct Case {
    const char* name;
    std::function<void(LogStartSettings&)> change;
  };
  const std::vector<Case> cases = {
      {"unit", [](LogStartSettings& s) { s.unit = 129; }},
      {"interval 0", [](LogStartSettings& s) { s.interval = 0; }},
      {"interval 256", [](LogStartSettings& s) { s.interval = 256; }},
      {"raw limit above 15 bits", [](LogStartSettings& s) { s.upperRaw = 0x8000; }},
      {"negative raw limit", [](LogStartSettings& s) { s.lowerRaw = -1; }},
      {"reservation hour",
       [](LogStartSettings& s) {
         s.reservation = Reservation{1, 24, 0};
       }},
      {"double-byte name", [](LogStartSettings& s) { s.name = QString::fromUtf8("\u3042"); }},
  };
  for (const Case& c : cases) {
    LogStartSettings s = baseSettings();
    c.change(s);
    const auto rows = LogStartRows(s);
    EXPECT_FALSE(rows.ok()) << c.name;
  }
}

TEST(Commands, InitAllIsEightRawBytes) {
  EXPECT_EQ(InitAllBytes().toHex(), QByteArray("494e4954414c4cff"));
}

}  // namespace
}  // namespace termika::commands
