#include <gtest/gtest.h>

#include "core/app/UiText.h"
#include "core/data/Formats.h"

namespace termika {
namespace {

TEST(RuntimeFormats, Hash00OfSinglePrecisionValues) {
  struct Case {
    float value;
    const char* text;
  };
  const Case cases[] = {
      {25.005f, "25.01"},  // 25.00499916 as a double, 25.00500 in 7 digits
      {0.005f, ".01"},     // 0.004999999888 as a double
      {1.005f, "1.01"},    {0.5f, ".50"},      {-0.5f, "-.50"},  {0.0f, ".00"},
      {-0.0f, ".00"},      {0.004f, ".00"},    {-0.004f, ".00"},  // rounds to zero: no sign
      {100.0f, "100.00"},  {-40.0f, "-40.00"}, {-3.2f, "-3.20"}, {29.999968f, "30.00"},
      {99.995f, "100.00"},  // carry through every digit
      {59.8286f, "59.83"}, {-0.0026f, ".00"},
  };
  for (const Case& c : cases) EXPECT_EQ(fmt::hash00(c.value), QLatin1String(c.text)) << c.value;
}

TEST(RuntimeFormats, Hash00AndFixed2OfDoubles) {
  EXPECT_EQ(fmt::hash00(2.675), "2.68");  // 2.67499999999999982 is 2.67500000000000 in 15 digits
  EXPECT_EQ(fmt::hash00(0.125), ".13");
  EXPECT_EQ(fmt::hash00(-0.125), "-.13");  // half away from zero
  EXPECT_EQ(fmt::fixed2(1.005), "1.01");
  EXPECT_EQ(fmt::fixed2(3.2), "3.20");
  EXPECT_EQ(fmt::fixed2(0.5), "0.50");
  EXPECT_EQ(fmt::fixed2(-0.5), "-0.50");
  EXPECT_EQ(fmt::fixed2(0.0), "0.00");
  EXPECT_EQ(fmt::fixed2(-0.001), "0.00");
  EXPECT_EQ(fmt::fixed2(21.005), "21.01");
  EXPECT_EQ(fmt::pointNo(123), "00123");
  EXPECT_EQ(fmt::pointNo(123456), "123456");
}

TEST(RuntimeFormats, GeneralDateLeavesOutMidnight) {
  // 2013-05-01 is day 41395.
  struct Case {
    double serial;
    const char* text;
  };
  const Case cases[] = {
      {41395.0, "2013/05/01"},
      {41395.0 + 36000.0 / 86400.0, "2013/05/01 10:00:00"},
      {41395.41666666, "2013/05/01 10:00:00"},  // a hair short of 10:00 rounds up
      {41395.0 + (9 * 3600 + 5 * 60 + 7) / 86400.0, "2013/05/01 9:05:07"},
      {41395.0 + 1.0 / 86400.0, "2013/05/01 0:00:01"},
      {41395.0 - 0.4 / 86400.0, "2013/05/01"},  // rounds to midnight
      {41395.0 + 86399.0 / 86400.0, "2013/05/01 23:59:59"},
      {36526.0, "2000/01/01"},
      {45351.5, "2024/02/29 12:00:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(fmt::generalDate(c.serial), QLatin1String(c.text));
  // The dump list's fixed form keeps midnight.
  EXPECT_EQ(fmt::dateTime(40180.0 + (3 * 3600 + 4 * 60 + 5) / 86400.0), "2010/01/02 03:04:05");
}

TEST(RuntimeFormats, ParseGeneralDate) {
  struct Case {
    const char* text;
    qint64 seconds;  // since 1899-12-30, or -1 for "not a date"
  };
  const qint64 may1 = 41395LL * 86400;
  const Case cases[] = {
      {"2013/05/01", may1},
      {"2013/05/01 10:00:00", may1 + 36000},
      {"2013/5/1 9:05", may1 + 9 * 3600 + 5 * 60},
      {" 2013/05/01 0:00:01 ", may1 + 1},
      {"2024/02/29 12:00:00", 45351LL * 86400 + 43200},
      {"2013/02/30", -1},
      {"2023/02/29", -1},
      {"2013/05/01 24:00:00", -1},
      {"2013/05/01 10:60:00", -1},
      {"2013-05-01", -1},
      {"13/05/01", -1},
      {"", -1},
      {"2013/05/01 10", -1},
      {"2013/05/01x", -1},
  };
  for (const Case& c : cases) {
    const auto serial = fmt::parseGeneralDate(QString::fromLatin1(c.text));
    if (c.seconds < 0) {
      EXPECT_FALSE(serial) << c.text;
    } else {
      ASSERT_TRUE(serial) << c.text;
      EXPECT_EQ(daySerialToSeconds(*serial), c.seconds) << c.text;
    }
  }
  EXPECT_FALSE(fmt::parseGeneralDate(QStringLiteral("２０１３/05/01")));
}

TEST(RuntimeFormats, RuntimeDatePatternsAndTokens) {
  const CivilTime t{2024, 3, 7, 9, 45, 6};
  const UiText ja = UiText::load(UiText::Language::Japanese);
  const UiText en = UiText::load(UiText::Language::English);
  const std::pair<QString, QString> dates[] = {
      {ja.text(351), QStringLiteral("2024年03月07日")},  // "mm" after the year is the month
      {en.text(351), "2024/03/07"},
      {"hh:mm", "09:45"},  // after an hour, mm is the minutes
      {"yy/m/d h:nn:ss", "24/3/7 9:45:06"},
      {"yymmdd_hhnnss", "240307_094506"},
      {"yyyy/mm/dd hh:nn", "2024/03/07 09:45"},
  };
  for (const auto& [pattern, text] : dates) {
    EXPECT_EQ(fmt::formatRuntimeDate(pattern, t), text) << pattern.toStdString();
  }
  const std::tuple<QString, int, QString> numbers[] = {
      {ja.text(352), 9, QStringLiteral("09時")},
      {ja.text(353), 5, QStringLiteral("05分")},
      {en.text(352), 23, "23"},
      {en.text(353), 0, "00"},
      {"00", 123, "123"},
      {QStringLiteral("000点"), 7, QStringLiteral("007点")},
  };
  for (const auto& [pattern, value, text] : numbers) {
    EXPECT_EQ(fmt::formatRuntimeNumber(pattern, value), text) << pattern.toStdString();
  }
  EXPECT_EQ(fmt::fileStamp(41395.0 + 36000.0 / 86400.0), "130501_100000");
  EXPECT_EQ(fmt::fileStamp(36526.0 + (23 * 3600 + 59 * 60 + 9) / 86400.0), "000101_235909");
}

}  // namespace
}  // namespace termika
