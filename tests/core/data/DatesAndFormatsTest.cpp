#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "core/base/UiText.h"
#include "core/data/DayTime.h"
#include "core/data/Formats.h"

namespace termika {
namespace {

constexpr qint64 kMay1 = 41395LL * 86400;  // 2013-05-01 in seconds since 1899-12-30

TEST(DayTime, DaySerialsOfKnownDatesRoundingWithCarryAndTimesBeyondAnyCalendarAsDayZero) {
  const std::pair<CivilTime, double> cases[] = {{{1899, 12, 30, 0, 0, 0}, 0.0},
                                                {{1900, 3, 1, 0, 0, 0}, 61.0},
                                                {{2024, 2, 29, 12, 0, 0}, 45351.5},
                                                {{2100, 3, 1, 0, 0, 0}, 73110.0}};
  for (const auto& [t, serial] : cases) {
    EXPECT_EQ(toDaySerial(t), serial) << serial;
    EXPECT_EQ(civilFromDaySerial(serial), t);
  }
  // Dates that do not exist are refused, not rolled over.
  for (const CivilTime t : {CivilTime{2023, 2, 29, 0, 0, 0}, CivilTime{2024, 2, 30, 0, 0, 0},
                            CivilTime{2024, 13, 1, 0, 0, 0}, CivilTime{2024, 1, 1, 24, 0, 0}}) {
    EXPECT_FALSE(toDaySerial(t)) << t.year << '-' << t.month << '-' << t.day << ' ' << t.hour;
  }
  // A hair short of 10:00 is 10:00; a hair short of midnight carries into the day.
  EXPECT_EQ(civilFromDaySerial(41395.0 + 10.0 / 24.0 - 1e-9), (CivilTime{2013, 5, 1, 10, 0, 0}));
  EXPECT_EQ(civilFromDaySerial(41395.0 - 0.4 / 86400.0), (CivilTime{2013, 5, 1, 0, 0, 0}));
  // Garbage in a record's time field once overflowed while being turned into a calendar date: the
  // last calendar day and a billion days either way still convert, anything beyond is day 0.
  const std::pair<double, qint64> converted[] = {{2958465.5, 255611419200LL},
                                                 {-1.5, -129600LL},
                                                 {1e9, 86400000000000LL},
                                                 {-1e9, -86400000000000LL}};
  for (const auto& [serial, seconds] : converted) EXPECT_EQ(daySerialToSeconds(serial), seconds);
  for (const double serial : {1.0000001e9, -1.0000001e9, -1.0675199116730e14, 1e300, -1e300,
                              double(INFINITY), -double(INFINITY), double(NAN)}) {
    EXPECT_EQ(daySerialToSeconds(serial), 0) << serial;
    EXPECT_EQ(fmt::dateTime(serial), "1899/12/30 00:00:00") << serial;
  }
  EXPECT_EQ(fmt::dateTime(2958465.5), "9999/12/31 12:00:00");
  EXPECT_EQ(fmt::dateTime(-1.5), "1899/12/28 12:00:00");
  EXPECT_EQ(fmt::dateTime(40180.0 + (3 * 3600 + 4 * 60 + 5) / 86400.0), "2010/01/02 03:04:05");
}

// Leaves digits where the next call's locals will be, so that a read past the
// end of a local text shows up.
[[gnu::noinline]] void fillStackWithDigits() {
  volatile char junk[512];
  for (auto& c : junk) c = '7';
}

// Reports and exports take readings as numbers: the shown text's value, for
// every reading a logger gives and for any float at all.
TEST(RuntimeFormats, MeasuredValuesBatteryVoltsPointNumbersAndTheNumberIsTheShownValue) {
  std::vector<float> floats = {NAN, INFINITY, -INFINITY, 1e20f, -3e38f, 1e-30f, 0.0005f, -0.005f};
  for (int k = -45000; k <= 105000; ++k) floats.push_back(static_cast<float>(k) / 1000.0f);
  std::mt19937 random(5);
  for (int i = 0; i < 100000; ++i)
    floats.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
  for (const float v : floats) {  // a value shown without a sign is no -0 either
    const QString shown = fmt::measuredValue(v, fmt::LeadingZero::Kept);
    fillStackWithDigits();
    const double n = fmt::measuredNumber(v);
    ASSERT_EQ(std::pair(n, std::signbit(n)), std::pair(shown.toDouble(), shown.startsWith(u'-')))
        << v;
  }
  // One rounding for every view, the CSV file's: the float's 7-digit decimal form, halves away
  // from zero (25.005f is 25.00499916 as a double but 25.00500 in 7 digits). "0.00" keeps the zero
  // before the point, "##.00" drops it; a value that rounds to zero has no sign.
  // The value, shown with the zero before the point kept and dropped.
  const std::tuple<float, const char*, const char*> values[] = {
      {25.005f, "25.01", "25.01"}, {0.005f, "0.01", ".01"},       {-0.5f, "-0.50", "-.50"},
      {-0.0f, "0.00", ".00"},      {-0.004f, "0.00", ".00"},      {-40.0f, "-40.00", "-40.00"},
      {15.355f, "15.36", "15.36"}, {99.995f, "100.00", "100.00"}, {29.999968f, "30.00", "30.00"}};
  for (const auto& [value, kept, dropped] : values)
    EXPECT_EQ(fmt::measuredValue(value, fmt::LeadingZero::Kept) + u'|' +
                  fmt::measuredValue(value, fmt::LeadingZero::Dropped),
              QLatin1String(kept) + u'|' + QLatin1String(dropped))
        << value;
  for (const auto& [volts, text] : {std::pair{2.675, "2.68"}, {1.005, "1.01"}, {-0.001, "0.00"}})
    EXPECT_EQ(fmt::fixed2(volts), QLatin1String(text)) << volts;
  EXPECT_EQ(fmt::pointNo(123) + fmt::pointNo(123456), "00123123456");
  EXPECT_EQ(fmt::dateTime(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5))), "2026/01/02 03:04:05");
}

// The general date leaves out midnight and drops leading zeros of the hour.
TEST(RuntimeFormats, GeneralDateIsoTimesRuntimePatternsAndIntervals) {
  const std::pair<qint64, const char*> formatted[] = {
      {kMay1, "2013/05/01"},
      {kMay1 + 9 * 3600 + 5 * 60 + 7, "2013/05/01 9:05:07"},
      {kMay1 + 1, "2013/05/01 0:00:01"},
      {kMay1 + 86399, "2013/05/01 23:59:59"}};
  for (const auto& [seconds, text] : formatted)
    EXPECT_EQ(fmt::generalDate(seconds / 86400.0), QLatin1String(text));
  EXPECT_EQ(fmt::generalDate(41395.41666666), "2013/05/01 10:00:00");
  EXPECT_EQ(fmt::generalDate(41395.0 - 0.4 / 86400.0), "2013/05/01");
  const std::pair<const char*, qint64> parsed[] = {
      {"2013/05/01", kMay1},
      {"2013/5/1 9:05", kMay1 + 9 * 3600 + 5 * 60},
      {" 2013/05/01 0:00:01 ", kMay1 + 1},
      {"2024/02/29 12:00:00", 45351LL * 86400 + 43200}};
  for (const auto& [text, seconds] : parsed) {
    const auto serial = fmt::parseGeneralDate(QString::fromUtf8(text));
    ASSERT_TRUE(serial) << text;
    EXPECT_EQ(daySerialToSeconds(*serial), seconds) << text;
  }
  for (const char* text :
       {"2013/02/30", "2023/02/29", "2013/05/01 24:00:00", "2013/05/01 10:60:00", "2013-05-01",
        "13/05/01", "", "2013/05/01 10", "2013/05/01x", "２０１３/05/01"})
    EXPECT_FALSE(fmt::parseGeneralDate(QString::fromUtf8(text))) << text;
  // Exports write the recorded local time with the zone's offset at that time;
  // reading takes the local time as written, whatever the offset.
  const std::tuple<qint64, const char*, const char*> iso[] = {
      {kMay1 + 36000, "UTC", "2013-05-01T10:00:00+00:00"},
      {kMay1 + 36000, "Europe/Berlin", "2013-05-01T10:00:00+02:00"},
      // 02:30 never happened on the night clocks went forward: digits kept, offset from before.
      {kMay1 - 31 * 86400 + 9000, "Europe/Berlin", "2013-03-31T02:30:00+01:00"}};
  for (const auto& [seconds, zone, text] : iso)
    EXPECT_EQ(fmt::isoLocalTime(secondsToDaySerial(seconds), QTimeZone(zone)), text) << zone;
  for (const char* text : {"2013-05-01T10:00:00+09:00", "2013-05-01T10:00:00-0330",
                           " 2013-05-01 10:00:00Z ", "2013-05-01T10:00"})
    EXPECT_EQ(daySerialToSeconds(fmt::parseIsoLocalTime(text).value_or(0)), kMay1 + 36000) << text;
  for (const char* text : {"2013-02-30T00:00:00", "2013-05-01T24:00:00",
                           "2013-05-01T10:00:00+25:00", "2013-05-01T10:00:00+09:60", "2013-05-01",
                           "2013-05-01T10:00:00.5", "2013/05/01 10:00:00", "2013-5-1T10:00:00"})
    EXPECT_FALSE(fmt::parseIsoLocalTime(QString::fromUtf8(text))) << text;
  const CivilTime t{2024, 3, 7, 9, 45, 6};
  const UiText ja = UiText::load(UiText::Language::Japanese);
  const UiText en = UiText::load(UiText::Language::English);
  const std::pair<QString, QString> dates[] = {
      {ja[TextId::ReserveDateFormat],
       QStringLiteral("2024年03月07日")},  // "mm" after the year is the month
      {"hh:mm", "09:45"},                  // after an hour, mm is the minutes
      {"yy/m/d h:nn:ss", "24/3/7 9:45:06"},
      {"yymmdd_hhnnss", "240307_094506"},
      {"yyyy/mm/dd hh:nn", "2024/03/07 09:45"},
  };
  for (const auto& [pattern, text] : dates)
    EXPECT_EQ(fmt::formatRuntimeDate(pattern, t), text) << pattern.toStdString();
  const std::tuple<QString, int, QString> numbers[] = {
      {ja[TextId::ReserveHourFormat], 9, QStringLiteral("09時")},
      {ja[TextId::ReserveMinuteFormat], 5, QStringLiteral("05分")},
      {en[TextId::ReserveMinuteFormat], 0, "00"},
      {"00", 123, "123"},
      {QStringLiteral("000点"), 7, QStringLiteral("007点")}};
  for (const auto& [pattern, value, text] : numbers)
    EXPECT_EQ(fmt::formatRuntimeNumber(pattern, value), text) << pattern.toStdString();
  EXPECT_EQ(fmt::fileStamp(41395.0 + 36000.0 / 86400.0) + u' ' +
                fmt::fileStamp(36526.0 + (23 * 3600 + 59 * 60 + 9) / 86400.0),
            "130501_100000 000101_235909");
  // The status panel's units; the printed header passes its own.
  const std::pair<int, const char*> intervals[] = {
      {90, "1 分30 秒"}, {60, "1 分"}, {45, "45 秒"}, {61, "1 分1 秒"}, {14400, "240 分"}, {0, ""}};
  for (const auto& [seconds, text] : intervals)
    EXPECT_EQ(fmt::interval(seconds, ja[TextId::IntervalMinutes], ja[TextId::IntervalSeconds]),
              QString::fromUtf8(text))
        << seconds;
}

}  // namespace
}  // namespace termika
