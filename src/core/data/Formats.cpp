#include "core/data/Formats.h"

#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace termika::fmt {
namespace {

QString pad(qint64 value, int width) {
  return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// |value| rounded half away from zero to two decimals on its decimal form
// with `significant` digits.
struct TwoDecimals {
  QByteArray integerPart;  // no leading zeros; empty when zero
  QByteArray decimals;     // always two digits
  bool negative = false;
};

TwoDecimals roundTwoDecimals(double value, int significant) {
  TwoDecimals out;
  if (!std::isfinite(value)) value = 0.0;
  // "%.*e" gives d.ddddde±xx: `significant` digits and a decimal exponent.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, std::fabs(value));
  const char* e = std::strchr(buffer, 'e');
  QByteArray digits;
  for (const char* p = buffer; p < e; ++p) {
    if (*p != '.') digits += *p;
  }
  const int exponent = std::atoi(e + 1);
  // Value = 0.digits * 10^(exponent + 1): keep the digits down to 10^-2.
  const int keep = exponent + 1 + 2;
  QByteArray kept("0");
  bool roundUp = false;
  if (keep <= 0) {
    roundUp = keep == 0 && digits[0] >= '5';
  } else {
    kept = digits.left(keep);
    if (kept.size() < keep) kept.append(keep - kept.size(), '0');
    roundUp = keep < digits.size() && digits[keep] >= '5';
  }
  if (roundUp) {
    qsizetype i = kept.size() - 1;
    for (; i >= 0; --i) {
      if (kept[i] != '9') {
        ++kept[i];
        break;
      }
      kept[i] = '0';
    }
    if (i < 0) kept.prepend('1');
  }
  if (kept.size() < 3) kept.prepend(QByteArray(3 - kept.size(), '0'));
  out.decimals = kept.right(2);
  out.integerPart = kept.left(kept.size() - 2);
  while (out.integerPart.startsWith('0')) out.integerPart.remove(0, 1);
  const bool zero = out.integerPart.isEmpty() && out.decimals == "00";
  out.negative = value < 0 && !zero;
  return out;
}

// Sign, integer digits (or `zeroInteger` when there are none), point, decimals.
QString compose(const TwoDecimals& r, const char* zeroInteger) {
  QString out;
  out.reserve(r.integerPart.size() + 5);
  if (r.negative) out += QLatin1Char('-');
  out += r.integerPart.isEmpty() ? QLatin1String(zeroInteger) : QLatin1String(r.integerPart);
  out += QLatin1Char('.');
  out += QLatin1String(r.decimals);
  return out;
}

int parseNumber(const QString& text, bool& ok) {
  ok = !text.isEmpty() && text.size() <= 4;
  for (const QChar c : text) ok = ok && c.isDigit() && c.unicode() < 0x80;
  return ok ? text.toInt() : 0;
}

}  // namespace

QString interval(int seconds, const QString& minutesUnit, const QString& secondsUnit) {
  QString text;
  if (seconds / 60 > 0) text += QString::number(seconds / 60) + minutesUnit;
  if (seconds % 60 > 0) text += QString::number(seconds % 60) + secondsUnit;
  return text;
}

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

QString dateTime(const QDateTime& time) {
  const QDate d = time.date();
  const QTime t = time.time();
  return dateTime(
      toDaySerial({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()}).value_or(0.0));
}

QString fixed2(double value) { return compose(roundTwoDecimals(value, 15), "0"); }

QString measuredValue(float value, LeadingZero zero) {
  return compose(roundTwoDecimals(static_cast<double>(value), 7),
                 zero == LeadingZero::Kept ? "0" : "");
}

double measuredNumber(float value) {
  // The same rounding as measuredValue, in integers: the seven significant
  // digits D of |value| x 10^E are D x 10^(E-4) hundredths, of which the
  // part beyond a whole hundredth rounds half away from zero. Reports turn
  // every reading into a number, so this avoids building the text.
  const double magnitude = std::fabs(static_cast<double>(value));
  char buffer[32];
  const auto printed = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                     std::chars_format::scientific, 6);  // d.dddddde±XX
  // The text has no terminator: the exponent ends where to_chars stopped.
  int exponent = 99;
  if (std::isfinite(magnitude)) {
    const char* sign = std::find(buffer, printed.ptr, 'e') + 1;
    std::from_chars(*sign == '+' ? sign + 1 : sign, printed.ptr, exponent);
  }
  if (exponent > 12) {  // beyond any reading, and beyond 64-bit hundredths
    const TwoDecimals r = roundTwoDecimals(static_cast<double>(value), 7);
    return (r.negative ? -1 : 1) * (r.integerPart + '.' + r.decimals).toDouble();
  }
  std::int64_t digits = buffer[0] - '0';
  for (int i = 2; i < 8; ++i) digits = digits * 10 + (buffer[i] - '0');
  std::int64_t hundredths = exponent < -3 ? 0 : digits;  // below 0.001 is 0.00
  for (int i = 4; i < exponent; ++i) hundredths *= 10;
  if (exponent >= -3 && exponent < 4) {
    std::int64_t divisor = 1;
    for (int i = exponent; i < 4; ++i) divisor *= 10;
    hundredths = digits / divisor + (digits % divisor * 2 >= divisor ? 1 : 0);
  }
  const double rounded = static_cast<double>(hundredths) / 100.0;
  return value < 0 && hundredths != 0 ? -rounded : rounded;
}

QString generalDate(double daySerial) {
  const CivilTime t = civilFromDaySerial(daySerial);
  char buffer[48];
  if (t.hour == 0 && t.minute == 0 && t.second == 0) {
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", t.year, t.month, t.day);
  } else {
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
  }
  return QString::fromLatin1(buffer);
}

std::optional<double> parseGeneralDate(const QString& text) {
  static const QRegularExpression kRe(QStringLiteral(
      "^\\s*(\\d{4})/(\\d{1,2})/(\\d{1,2})(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
  const QRegularExpressionMatch m = kRe.match(text);
  if (!m.hasMatch()) return std::nullopt;
  bool ok = true;
  auto field = [&](int i) {
    if (m.captured(i).isEmpty()) return 0;
    bool fieldOk = false;
    const int v = parseNumber(m.captured(i), fieldOk);
    ok = ok && fieldOk;
    return v;
  };
  const CivilTime t{field(1), field(2), field(3), field(4), field(5), field(6)};
  if (!ok) return std::nullopt;
  return toDaySerial(t);
}

QString isoLocalTime(double daySerial, const QTimeZone& zone) {
  const CivilTime t = civilFromDaySerial(daySerial);
  const QDate date(t.year, t.month, t.day);
  const QTime time(t.hour, t.minute, t.second);
  const QDateTime local(date, time, zone);
  // A time skipped by a change to summer time takes the offset in force a
  // day before: no zone changes twice within a day.
  const int offset = local.isValid() ? local.offsetFromUtc()
                                     : QDateTime(date.addDays(-1), time, zone).offsetFromUtc();
  const int minutes = std::abs(offset) / 60;
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", t.year, t.month,
                t.day, t.hour, t.minute, t.second, offset < 0 ? '-' : '+', minutes / 60,
                minutes % 60);
  return QString::fromLatin1(buffer);
}

std::optional<double> parseIsoLocalTime(const QString& text) {
  static const QRegularExpression kRe(
      QStringLiteral("^\\s*(\\d{4})-(\\d{2})-(\\d{2})[T ](\\d{2}):(\\d{2})(?::(\\d{2}))?"
                     "(?:Z|[+-](\\d{2}):?(\\d{2}))?\\s*$"));
  const QRegularExpressionMatch m = kRe.match(text);
  if (!m.hasMatch()) return std::nullopt;
  auto field = [&m](int i) { return m.captured(i).toInt(); };
  if (field(7) > 23 || field(8) > 59) return std::nullopt;
  return toDaySerial({field(1), field(2), field(3), field(4), field(5), field(6)});
}

QString fileStamp(double daySerial) {
  const CivilTime t = civilFromDaySerial(daySerial);
  return pad(t.year % 100, 2) + pad(t.month, 2) + pad(t.day, 2) + QLatin1Char('_') +
         pad(t.hour, 2) + pad(t.minute, 2) + pad(t.second, 2);
}

QString formatRuntimeDate(const QString& pattern, const CivilTime& time) {
  QString out;
  bool afterHour = false;  // "mm" right after an hour token means minutes
  for (qsizetype i = 0; i < pattern.size();) {
    const QChar c = pattern.at(i).toLower();
    qsizetype run = 1;
    while (i + run < pattern.size() && pattern.at(i + run).toLower() == c) ++run;
    const bool token = c == u'y' || c == u'm' || c == u'd' || c == u'h' || c == u'n' || c == u's';
    if (!token) {
      out += pattern.mid(i, run);
      i += run;
      continue;
    }
    const int width = run >= 2 ? 2 : 1;
    if (c == u'y') {
      out += run >= 3 ? pad(time.year, 4) : pad(time.year % 100, 2);
    } else if (c == u'm') {
      out += pad(afterHour ? time.minute : time.month, width);
    } else if (c == u'd') {
      out += pad(time.day, width);
    } else if (c == u'h') {
      out += pad(time.hour, width);
    } else if (c == u'n') {
      out += pad(time.minute, width);
    } else {
      out += pad(time.second, width);
    }
    afterHour = c == u'h';
    i += run;
  }
  return out;
}

QString formatRuntimeNumber(const QString& pattern, int value) {
  // The first run of digit placeholders takes the number; everything else is
  // literal text around it.
  QString out;
  bool placed = false;
  for (qsizetype i = 0; i < pattern.size();) {
    const QChar c = pattern.at(i);
    if (placed || (c != u'0' && c != u'#')) {
      out += c;
      ++i;
      continue;
    }
    int zeros = 0;
    while (i < pattern.size() && (pattern.at(i) == u'0' || pattern.at(i) == u'#')) {
      if (pattern.at(i) == u'0') ++zeros;
      ++i;
    }
    const QString digits = pad(std::abs(static_cast<qint64>(value)), zeros);
    out += (value < 0 ? QStringLiteral("-") : QString()) +
           (digits == QLatin1String("0") && zeros == 0 ? QString() : digits);
    placed = true;
  }
  return out;
}

}  // namespace termika::fmt
