#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/data/DayTime.h"
#include "core/data/Formats.h"

namespace termika {
namespace {

// A record file with garbage in a record's time field once made the dump
// list overflow while turning the time into a calendar date.
TEST(FuzzRegressionDayTime, TimesBeyondAnyCalendarReadAsDayZero) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double serial;
    qint64 seconds;
    const char* text;
  };
  const Case cases[] = {
      // The last day the calendar knows still converts exactly.
      {2958465.5, 255611419200LL, "9999/12/31 12:00:00"},
      {-1.5, -129600LL, "1899/12/28 12:00:00"},
      // The outermost serials still taken: a billion days either way.
      {1e9, 86400000000000LL, nullptr},
      {-1e9, -86400000000000LL, nullptr},
      // Beyond them, and the value the fuzzer found, everything is day 0.
      {1.0000001e9, 0, "1899/12/30 00:00:00"},
      {-1.0000001e9, 0, "1899/12/30 00:00:00"},
      {-1.0675199116730e14, 0, "1899/12/30 00:00:00"},
      {1e300, 0, "1899/12/30 00:00:00"},
      {-1e300, 0, "1899/12/30 00:00:00"},
      {inf, 0, "1899/12/30 00:00:00"},
      {-inf, 0, "1899/12/30 00:00:00"},
      {nan, 0, "1899/12/30 00:00:00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(daySerialToSeconds(c.serial), c.seconds) << c.serial;
    if (c.text != nullptr) {
      EXPECT_EQ(fmt::dateTime(c.serial), QLatin1String(c.text)) << c.serial;
    }
  }
}

}  // namespace
}  // namespace termika
