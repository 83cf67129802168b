#pragma once

#include <QString>
#include <vector>

namespace termika {

// Every caption and message of the interface, indexed 0..2000, in Japanese or
// English. Unfilled indexes are empty strings. The language is chosen once per
// run; both tables fill the same indexes.
class UiText final {
 public:
  enum class Language { Japanese = 0, English = 1 };
  static constexpr int kSize = 2001;

  static UiText load(Language language);

  Language language() const { return m_language; }
  // Empty for an unfilled or out-of-range index, never an error.
  QString text(int index) const;
  QString operator[](int index) const { return text(index); }
  // True when the table holds a (possibly intentionally empty) entry.
  bool has(int index) const;

  // `head` (a model name) followed by text `index`: English words need a
  // blank between them, Japanese runs on ("Termika not connected.").
  QString after(const QString& head, int index) const {
    const QString tail = text(index);
    const bool blank = m_language == Language::English && !head.isEmpty() && !tail.isEmpty() &&
                       !tail.front().isSpace();
    return blank ? head + QLatin1Char(' ') + tail : head + tail;
  }

  // Two-part messages are joined by two carriage returns.
  QString joined(int first, int second) const {
    return text(first) + QStringLiteral("\r\r") + text(second);
  }

 private:
  Language m_language = Language::Japanese;
  std::vector<QString> m_texts;
  std::vector<bool> m_filled;
};

}  // namespace termika
