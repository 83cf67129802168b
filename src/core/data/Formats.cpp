#include "core/data/Formats.h"

#include <cmath>

#include "core/data/DayTime.h"

namespace termika::fmt {

QString pointNo(int n) {
  return n < 0 ? QStringLiteral("-%1").arg(-n, 5, 10, QLatin1Char('0'))
               : QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0'));
}

QString dateTime(double daySerial) {
  const CivilTime t = civilFromDaySerial(daySerial);
  return QStringLiteral("%1/%2/%3 %4:%5:%6")
      .arg(t.year, 4, 10, QLatin1Char('0'))
      .arg(t.month, 2, 10, QLatin1Char('0'))
      .arg(t.day, 2, 10, QLatin1Char('0'))
      .arg(t.hour, 2, 10, QLatin1Char('0'))
      .arg(t.minute, 2, 10, QLatin1Char('0'))
      .arg(t.second, 2, 10, QLatin1Char('0'));
}

QString fixed2(double value) {
  // Round half away from zero on the decimal value, as the runtime does.
  const double rounded = std::round(value * 100.0) / 100.0;
  QString s = QString::number(rounded == 0.0 ? 0.0 : rounded, 'f', 2);
  return s;
}

}  // namespace termika::fmt
