#include "core/base/UiText.h"

#include <QFile>

// Resources of a static library must be registered by hand.
static void initTextResources() { Q_INIT_RESOURCE(texts); }

namespace termika {

UiText UiText::load(Language language) {
  initTextResources();
  UiText table;
  table.m_language = language;
  table.m_texts.assign(kSize, QString());
  table.m_filled.assign(kSize, false);
  const QString path = language == Language::Japanese ? QStringLiteral(":/termika/texts/ja.tsv")
                                                      : QStringLiteral(":/termika/texts/en.tsv");
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return table;
  // One entry per line: the number, a tab, the key, a tab, the text exactly
  // as shown (leading and trailing blanks belong to it). "\t", "\r" and
  // "\\" are escaped.
  const QString all = QString::fromUtf8(file.readAll());
  for (const QStringView line : QStringView(all).split(u'\n')) {
    const qsizetype tab = line.indexOf(u'\t');
    const qsizetype keyEnd = line.indexOf(u'\t', tab + 1);
    if (tab <= 0 || keyEnd < 0) continue;
    bool ok = false;
    const int index = line.left(tab).toInt(&ok);
    if (!ok || index < 0 || index >= kSize) continue;
    QString text;
    const QStringView raw = line.mid(keyEnd + 1);
    for (qsizetype i = 0; i < raw.size(); ++i) {
      if (raw[i] == u'\\' && i + 1 < raw.size()) {
        const QChar next = raw[++i];
        text += next == u't' ? QChar(u'\t') : next == u'r' ? QChar(u'\r') : next;
      } else {
        text += raw[i];
      }
    }
    table.m_texts[static_cast<size_t>(index)] = text;
    table.m_filled[static_cast<size_t>(index)] = true;
  }
  return table;
}

QString UiText::numbered(int index) const {
  if (index < 0 || index >= static_cast<int>(m_texts.size())) return {};
  return m_texts[static_cast<size_t>(index)];
}

bool UiText::hasNumber(int index) const {
  return index >= 0 && index < static_cast<int>(m_filled.size()) &&
         m_filled[static_cast<size_t>(index)];
}

}  // namespace termika
