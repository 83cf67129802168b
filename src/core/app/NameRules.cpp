#include "core/app/NameRules.h"

#include "core/base/UiText.h"
#include "core/data/Cp932.h"

namespace termika::name_rules {

QString forbiddenCharacters() { return QStringLiteral("\\/:*?\"<>|"); }

QString forbiddenCharacterLine() {
  QString line(11, QLatin1Char(' '));
  const QString chars = forbiddenCharacters();
  for (qsizetype i = 0; i < chars.size(); ++i) {
    if (i > 0) line += QLatin1Char(' ');
    line += chars[i];
  }
  return line;
}

bool containsForbidden(const QString& name) {
  const QString chars = forbiddenCharacters();
  for (const QChar c : name) {
    if (chars.contains(c)) return true;
  }
  return false;
}

NameFault check(const QString& name) {
  if (containsForbidden(name)) return NameFault::ForbiddenCharacter;
  for (const QChar c : name) {
    if (c.category() == QChar::Other_Control) return NameFault::ControlCharacter;
  }
  if (!cp932::isSingleByteText(name)) return NameFault::DoubleByteCharacter;
  if (name.size() > kMaxLength) return NameFault::TooLong;
  return NameFault::None;
}

QString unstorableCharacters(const QString& name) {
  QString found;
  for (const QChar c : name) {
    if (!cp932::isSingleByteText(QString(c)) && !found.contains(c)) found += c;
  }
  return found;
}

QString refusalMessage(const UiText& texts, TextId heading, const QString& name) {
  QString detail;
  const NameFault fault = check(name);
  if (fault == NameFault::DoubleByteCharacter || fault == NameFault::ControlCharacter) {
    // No table text names double-byte characters, so list the ones typed in
    // the same layout as the forbidden ones.
    detail = QString(11, QLatin1Char(' '));
    const QString bad = unstorableCharacters(name);
    for (qsizetype i = 0; i < bad.size(); ++i) {
      if (i > 0) detail += QLatin1Char(' ');
      detail += bad[i];
    }
  } else {
    detail = forbiddenCharacterLine();
  }
  return texts[heading] + QStringLiteral("\r\r") + detail;
}

QString padded(const QString& name) {
  const QString head = name.left(kMaxLength);
  return QString(kMaxLength - head.size(), QLatin1Char(' ')) + head;
}

}  // namespace termika::name_rules
