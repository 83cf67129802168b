#pragma once

#include <QString>

namespace termika::fmt {

// Display formats of the program, reproducing the runtime patterns the
// loggers' users know. The decimal point is always "." whatever the locale.

// "00000": zero-padded to at least five digits (123456 keeps its sixth digit).
QString pointNo(int n);
// "yyyy/mm/dd hh:nn:ss" of a day serial, rounded to the nearest second.
QString dateTime(double daySerial);
// "0.00": exactly two decimals, leading zero, minus sign for negatives.
QString fixed2(double value);

}  // namespace termika::fmt
