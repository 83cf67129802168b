#include "core/data/DayTime.h"

#include <cmath>

namespace termika {
namespace {

constexpr qint64 kSecondsPerDay = 86400;

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr qint64 daysFromEpoch1970(qint64 y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const qint64 era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<qint64>(doe) - 719468;
}

void civilFromEpoch1970(qint64 z, int& year, int& month, int& day) {
  z += 719468;
  const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const qint64 y = static_cast<qint64>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2 ? 1 : 0));
}

// 1899-12-30 counted from 1970-01-01.
constexpr qint64 kSerialEpochDays = daysFromEpoch1970(1899, 12, 30);

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

qint64 floorDiv(qint64 a, qint64 b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

}  // namespace

bool isValidCivil(const CivilTime& t) {
  return t.year >= 100 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
         t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

qint64 secondsFromCivil(const CivilTime& t) {
  const qint64 days =
      daysFromEpoch1970(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) -
      kSerialEpochDays;
  return days * kSecondsPerDay + qint64{t.hour} * 3600 + qint64{t.minute} * 60 + t.second;
}

CivilTime civilFromSeconds(qint64 seconds) {
  const qint64 days = floorDiv(seconds, kSecondsPerDay);
  qint64 rest = seconds - days * kSecondsPerDay;
  CivilTime t;
  civilFromEpoch1970(days + kSerialEpochDays, t.year, t.month, t.day);
  t.hour = static_cast<int>(rest / 3600);
  rest %= 3600;
  t.minute = static_cast<int>(rest / 60);
  t.second = static_cast<int>(rest % 60);
  return t;
}

qint64 daySerialToSeconds(double serial) {
  // Far beyond any calendar date (9999-12-31 is day 2958465), yet small
  // enough that the seconds and the calendar arithmetic on them never
  // overflow; a garbled record's time reads as day 0 like a NaN does.
  constexpr double kMaxSerialDays = 1e9;
  if (!std::isfinite(serial) || std::fabs(serial) > kMaxSerialDays) return 0;
  return std::llround(serial * static_cast<double>(kSecondsPerDay));
}

double secondsToDaySerial(qint64 seconds) {
  return static_cast<double>(seconds) / static_cast<double>(kSecondsPerDay);
}

std::optional<double> toDaySerial(const CivilTime& t) {
  if (!isValidCivil(t)) return std::nullopt;
  return secondsToDaySerial(secondsFromCivil(t));
}

CivilTime civilFromDaySerial(double serial) { return civilFromSeconds(daySerialToSeconds(serial)); }

}  // namespace termika
