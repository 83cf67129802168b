#pragma once

#include <QHash>
#include <QString>
#include <QTranslator>
#include <memory>

#include "core/base/UiText.h"

namespace termika {

// The program's own messages in Japanese, read from the message table: the
// English text is the key. Texts the table lacks stay English.
class MessageTranslator final : public QTranslator {
 public:
  MessageTranslator();

  QString translate(const char* context, const char* sourceText, const char* disambiguation,
                    int n) const override;
  bool isEmpty() const override { return m_japanese.isEmpty(); }
  // Every English key of the table, for the check that the code uses them all.
  QList<QString> keys() const { return m_japanese.keys(); }

 private:
  QHash<QString, QString> m_japanese;
};

// Everything outside the text tables in the language of the run: Qt's own
// words (standard buttons, file dialogs) and our messages. Installed on the
// application for as long as this object lives.
class Translations final {
 public:
  explicit Translations(UiText::Language language);
  ~Translations();
  Translations(const Translations&) = delete;
  Translations& operator=(const Translations&) = delete;

  // Qt's translation of its own words was found (Debian: qt6-translations-l10n).
  bool qtWordsLoaded() const { return m_qtLoaded; }

 private:
  std::unique_ptr<QTranslator> m_qt;
  std::unique_ptr<MessageTranslator> m_messages;
  bool m_qtLoaded = false;
};

}  // namespace termika
