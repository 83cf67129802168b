#pragma once

#include <QDateTime>

namespace termika {

// When a pending reservation turns into a recording: the first minute from
// the minute of `now` on whose day of month, hour and minute are the
// reserved ones, this month or in the months after. Invalid when no such
// minute exists (day 0 or 32, hour 24, ...).
QDateTime reservedStart(const QDateTime& now, int day, int hour, int minute);

}  // namespace termika
