#include "core/app/ReservedStart.h"

namespace termika {

QDateTime reservedStart(const QDateTime& now, int day, int hour, int minute) {
  const QTime time(hour, minute);
  if (!time.isValid() || day < 1 || day > 31) return {};
  const QDateTime thisMinute(now.date(), QTime(now.time().hour(), now.time().minute()));
  const QDate first(now.date().year(), now.date().month(), 1);
  // Day 31 comes again within two months at most; a year covers every case.
  for (int months = 0; months <= 12; ++months) {
    const QDate month = first.addMonths(months);
    if (day > month.daysInMonth()) continue;
    QDateTime start(QDate(month.year(), month.month(), day), time);
    if (start >= thisMinute) return start;
  }
  return {};
}

}  // namespace termika
