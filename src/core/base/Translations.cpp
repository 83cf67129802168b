#include "core/base/Translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>

// Resources of a static library must be registered by hand.
static void initMessageResources() { Q_INIT_RESOURCE(texts); }

namespace termika {

MessageTranslator::MessageTranslator() {
  initMessageResources();
  QFile file(QStringLiteral(":/termika/texts/messages-ja.tsv"));
  if (!file.open(QIODevice::ReadOnly)) return;
  const QString all = QString::fromUtf8(file.readAll());
  for (const QStringView line : QStringView(all).split(u'\n', Qt::SkipEmptyParts)) {
    const qsizetype tab = line.indexOf(u'\t');
    if (tab > 0) m_japanese.insert(line.left(tab).toString(), line.mid(tab + 1).toString());
  }
}

QString MessageTranslator::translate(const char* context, const char* sourceText,
                                     const char* disambiguation, int n) const {
  static_cast<void>(disambiguation);
  static_cast<void>(n);
  if (qstrcmp(context, "termika") != 0) return {};
  return m_japanese.value(QString::fromUtf8(sourceText));
}

Translations::Translations(UiText::Language language) {
  if (language != UiText::Language::Japanese) return;
  m_qt = std::make_unique<QTranslator>();
  m_qtLoaded = m_qt->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qt"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (m_qtLoaded) QCoreApplication::installTranslator(m_qt.get());
  m_messages = std::make_unique<MessageTranslator>();
  QCoreApplication::installTranslator(m_messages.get());
}

Translations::~Translations() {
  if (m_messages) QCoreApplication::removeTranslator(m_messages.get());
  if (m_qt && m_qtLoaded) QCoreApplication::removeTranslator(m_qt.get());
}

}  // namespace termika
