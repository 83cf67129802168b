#pragma once

#include <QString>
#include <vector>

#include "core/base/TextId.h"

namespace termika {

// Every caption and message of the interface, in Japanese or English, named
// by TextId (the key column of the tables). Numbers without an entry are empty
// strings. The language is chosen once per run; both tables fill the same
// numbers.
class UiText final {
 public:
  enum class Language { Japanese = 0, English = 1 };
  static constexpr int kSize = 2001;

  static UiText load(Language language);

  Language language() const { return m_language; }
  QString text(TextId id) const { return numbered(static_cast<int>(id)); }
  QString operator[](TextId id) const { return text(id); }
  // The text `offset` entries after `first`, for runs of entries picked by an
  // index (table columns, extremes, the shown data set).
  QString inRange(TextId first, int offset) const {
    return numbered(static_cast<int>(first) + offset);
  }
  // By the entry's number: empty for an unfilled or out-of-range number,
  // never an error.
  QString numbered(int number) const;
  // True when the table holds a (possibly intentionally empty) entry.
  bool hasNumber(int number) const;

  // `head` (a model name) followed by text `id`: English words need a
  // blank between them, Japanese runs on ("Termika not connected.").
  QString after(const QString& head, TextId id) const {
    const QString tail = text(id);
    const bool blank = m_language == Language::English && !head.isEmpty() && !tail.isEmpty() &&
                       !tail.front().isSpace();
    return blank ? head + QLatin1Char(' ') + tail : head + tail;
  }

  // Two-part messages are joined by two carriage returns.
  QString joined(TextId first, TextId second) const {
    return text(first) + QStringLiteral("\r\r") + text(second);
  }

 private:
  Language m_language = Language::Japanese;
  std::vector<QString> m_texts;
  std::vector<bool> m_filled;
};

}  // namespace termika
