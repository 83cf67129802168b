#include "core/data/Formats.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdio>

namespace termika::fmt {
namespace {

QString pad(qint64 value, int width) {
  return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// Formats |value| with two decimals, rounding half away from zero on its
// decimal form with `significant` digits; returns the digits without sign and
// whether the result is zero.
struct TwoDecimals {
  QString integerPart;  // "" when zero
  QString decimals;     // always two digits
  bool negative = false;
};

TwoDecimals roundTwoDecimals(double value, int significant) {
  TwoDecimals out;
  if (!std::isfinite(value)) value = 0.0;
  // "%.*e" gives d.ddddde±xx: `significant` digits and a decimal exponent.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, std::fabs(value));
  const QString text = QString::fromLatin1(buffer);
  const qsizetype e = text.indexOf(QLatin1Char('e'));
  QString digits = text.left(e);
  digits.remove(QLatin1Char('.'));
  const int exponent = text.mid(e + 1).toInt();
  // Value = 0.digits * 10^(exponent + 1); keep digits up to 10^-2.
  const int keep = exponent + 1 + 2;  // digits before the second decimal inclusive
  QString kept;
  bool roundUp = false;
  if (keep <= 0) {
    roundUp = keep == 0 && digits.at(0) >= QLatin1Char('5');
    kept = QStringLiteral("0");
  } else {
    kept = digits.left(keep);
    while (kept.size() < keep) kept += QLatin1Char('0');
    roundUp = keep < digits.size() && digits.at(keep) >= QLatin1Char('5');
  }
  if (roundUp) {
    qsizetype i = kept.size() - 1;
    for (; i >= 0; --i) {
      if (kept[i] == QLatin1Char('9')) {
        kept[i] = QLatin1Char('0');
      } else {
        kept[i] = QChar(kept[i].unicode() + 1);
        break;
      }
    }
    if (i < 0) kept.prepend(QLatin1Char('1'));
  }
  while (kept.size() < 3) kept.prepend(QLatin1Char('0'));
  out.decimals = kept.right(2);
  out.integerPart = kept.left(kept.size() - 2);
  while (out.integerPart.startsWith(QLatin1Char('0'))) out.integerPart.remove(0, 1);
  const bool zero = out.integerPart.isEmpty() && out.decimals == QLatin1String("00");
  out.negative = value < 0 && !zero;
  return out;
}

QString hash00With(double value, int significant) {
  const TwoDecimals r = roundTwoDecimals(value, significant);
  return (r.negative ? QStringLiteral("-") : QString()) + r.integerPart + QLatin1Char('.') +
         r.decimals;
}

int parseNumber(const QString& text, bool& ok) {
  ok = !text.isEmpty() && text.size() <= 4;
  for (const QChar c : text) ok = ok && c.isDigit() && c.unicode() < 0x80;
  return ok ? text.toInt() : 0;
}

}  // namespace

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
  const TwoDecimals r = roundTwoDecimals(value, 15);
  return (r.negative ? QStringLiteral("-") : QString()) +
         (r.integerPart.isEmpty() ? QStringLiteral("0") : r.integerPart) + QLatin1Char('.') +
         r.decimals;
}

QString hash00(float value) { return hash00With(static_cast<double>(value), 7); }
QString hash00(double value) { return hash00With(value, 15); }

QString generalDate(double daySerial) {
  const CivilTime t = civilFromDaySerial(daySerial);
  QString out = QStringLiteral("%1/%2/%3").arg(pad(t.year, 4), pad(t.month, 2), pad(t.day, 2));
  if (t.hour != 0 || t.minute != 0 || t.second != 0) {
    out += QStringLiteral(" %1:%2:%3")
               .arg(QString::number(t.hour), pad(t.minute, 2), pad(t.second, 2));
  }
  return out;
}

std::optional<double> parseGeneralDate(const QString& text) {
  static const QRegularExpression re(QStringLiteral(
      "^\\s*(\\d{4})/(\\d{1,2})/(\\d{1,2})(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
  const QRegularExpressionMatch m = re.match(text);
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
