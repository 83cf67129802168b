#include "CliPrompts.h"

#include <cstdio>

namespace termika::cli {

QString CliPrompts::flatten(const QString& message) {
  QString out = message;
  out.replace(QStringLiteral("\r\r"), QStringLiteral(": "));
  out.replace(QLatin1Char('\r'), QLatin1Char(' '));
  out.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return out.trimmed();
}

void CliPrompts::info(const QString& /*title*/, const QString& message) {
  const QString line = flatten(message);
  m_messages << line;
  std::fprintf(stderr, "termika-cli: %s\n", line.toLocal8Bit().constData());
}

bool CliPrompts::ask(const QString& /*title*/, const QString& message) {
  const QString line = flatten(message);
  std::fprintf(stderr, "termika-cli: %s -> %s\n", line.toLocal8Bit().constData(),
               m_yes ? "yes" : "no");
  return m_yes;
}

std::optional<QString> CliPrompts::chooseSaveFile(const QString&, const QString&) {
  return std::nullopt;
}

std::optional<QString> CliPrompts::chooseOpenFile(const QString&) { return std::nullopt; }

}  // namespace termika::cli
