#include <gtest/gtest.h>

#include "core/data/DayTime.h"

namespace termika {
namespace {

TEST(DayTime, DaySerialsOfKnownDates) {
  struct Case {
    CivilTime t;
    double serial;
  };
  const Case cases[] = {
      {{1899, 12, 30, 0, 0, 0}, 0.0},   {{1900, 3, 1, 0, 0, 0}, 61.0},
      {{2000, 1, 1, 0, 0, 0}, 36526.0}, {{2024, 2, 29, 12, 0, 0}, 45351.5},
      {{2100, 3, 1, 0, 0, 0}, 73110.0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toDaySerial(c.t), c.serial) << c.t.year << '-' << c.t.month << '-' << c.t.day;
    EXPECT_EQ(civilFromDaySerial(c.serial), c.t);
  }
  // Dates that do not exist are refused, not rolled over.
  for (const CivilTime t : {CivilTime{2023, 2, 29, 0, 0, 0}, CivilTime{2024, 2, 30, 0, 0, 0},
                            CivilTime{2024, 13, 1, 0, 0, 0}, CivilTime{2024, 1, 1, 24, 0, 0}}) {
    EXPECT_FALSE(toDaySerial(t)) << t.year << '-' << t.month << '-' << t.day << ' ' << t.hour;
  }
}

TEST(DayTime, RoundsToTheNearestSecondWithCarry) {
  // 41395.41666... is 2013-05-01 10:00:00 although the fraction is a hair short.
  EXPECT_EQ(civilFromDaySerial(41395.0 + 10.0 / 24.0 - 1e-9), (CivilTime{2013, 5, 1, 10, 0, 0}));
  EXPECT_EQ(civilFromDaySerial(41395.0 - 0.4 / 86400.0), (CivilTime{2013, 5, 1, 0, 0, 0}));
}

}  // namespace
}  // namespace termika
