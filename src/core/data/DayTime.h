#pragma once

#include <QtGlobal>
#include <optional>

namespace termika {

// Times are day serials: whole days since 1899-12-30 plus the time of day as
// a fraction. They are zone-less local times, so every conversion here is
// plain calendar arithmetic with no time-zone or daylight-saving shift.
struct CivilTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;

  friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

bool isValidCivil(const CivilTime& t);

// Seconds since 1899-12-30 00:00:00; the exact integer form of a day serial.
qint64 secondsFromCivil(const CivilTime& t);
CivilTime civilFromSeconds(qint64 seconds);

// A day serial is turned into whole seconds by rounding to the nearest
// second with carry (41395.41666... is 10:00:00, not 09:59:59). A serial
// that is not finite or lies beyond a billion days either way gives 0.
qint64 daySerialToSeconds(double serial);
double secondsToDaySerial(qint64 seconds);

// nullopt when the date does not exist (Feb 30, month 13, ...).
std::optional<double> toDaySerial(const CivilTime& t);
CivilTime civilFromDaySerial(double serial);

}  // namespace termika
