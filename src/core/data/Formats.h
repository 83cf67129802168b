#pragma once

#include <QDateTime>
#include <QString>
#include <QTimeZone>
#include <optional>

#include "core/data/DayTime.h"

namespace termika::fmt {

// Display formats of the program, reproducing the runtime patterns the
// loggers' users know. The decimal point is always "." whatever the locale.

// "00000": zero-padded to at least five digits (123456 keeps its sixth digit).
QString pointNo(int n);
// "yyyy/mm/dd hh:nn:ss" of a day serial, rounded to the nearest second.
QString dateTime(double daySerial);
// The same layout for a clock reading: every time of day the program shows.
QString dateTime(const QDateTime& time);
// "0.00": exactly two decimals, leading zero, minus sign for negatives
// (the battery voltage). Rounded half away from zero on the value's
// 15-significant-digit decimal form, so 1.005 gives "1.01".
QString fixed2(double value);

// A measured temperature or humidity, the same on screen, on paper, in the
// readout and in the CSV file: two decimals, rounded half away from zero on
// the single-precision value's 7-significant-digit form (25.005f -> "25.01").
// "0.00" keeps the zero before the point, "##.00" drops it (0.5 -> ".50",
// -0.5 -> "-.50"); a value that rounds to zero carries no minus sign.
enum class LeadingZero { Kept, Dropped };
QString measuredValue(float value, LeadingZero zero);
// The value measuredValue shows, as a number: what exports write and what
// reports compare against limits.
double measuredNumber(float value);

// The general date of a Japanese system: "yyyy/MM/dd H:mm:ss", and the date
// alone when the time, rounded to the second, is exactly 00:00:00. This is
// what CSV files hold, so files stay readable by the spreadsheet programs and
// earlier files our users have.
QString generalDate(double daySerial);
// Reads what generalDate writes, also with one-digit month/day/hour and
// without seconds ("2013/5/1 9:05"). nullopt for text that is not such a date
// or a date that does not exist (2013/02/30).
std::optional<double> parseGeneralDate(const QString& text);

// An interval as whole minutes and remaining seconds, each number followed by
// its unit ("1 分30 秒"); a part that is zero is left out, so 0 is "".
QString interval(int seconds, const QString& minutesUnit, const QString& secondsUnit);
// ISO 8601 for other programs: the local time as recorded, with the offset
// `zone` has at that time ("2013-05-01T10:00:00+09:00"). A time that a
// daylight-saving change skips keeps its digits and the offset before it.
QString isoLocalTime(double daySerial, const QTimeZone& zone);
// Reads "YYYY-MM-DDThh:mm[:ss]" (or a blank for the "T") with an optional
// offset ("Z", "+09:00", "+0900"). The local time is taken as written and the
// offset only checked, so a file shows the times its logger recorded
// wherever it is opened, as the program's own files do.
std::optional<double> parseIsoLocalTime(const QString& text);

// "yymmdd_hhnnss", the time stamp in proposed file names.
QString fileStamp(double daySerial);

// Date and number patterns of the runtime as the text tables hold them
// ("yyyy年mm月dd日", "yyyy/mm/dd", "00時"). Their tokens follow the runtime's
// rules, not Qt's: "mm" is the month unless it follows an hour token, minutes
// are "nn", and "0" in a number pattern is a digit that is always shown.
QString formatRuntimeDate(const QString& pattern, const CivilTime& time);
QString formatRuntimeNumber(const QString& pattern, int value);

}  // namespace termika::fmt
