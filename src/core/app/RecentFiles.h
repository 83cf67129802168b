#pragma once

#include <QString>
#include <QStringList>

namespace termika {

class Preferences;

// The CSV files opened last, newest first: each file once, at most kLimit.
// Paths are kept absolute and cleaned, so one file reached by two spellings
// is still one entry.
class RecentFiles final {
 public:
  static constexpr int kLimit = 8;

  RecentFiles() = default;
  // A stored list is cleaned the same way (a hand-edited file may repeat
  // entries or hold too many).
  explicit RecentFiles(const QStringList& files);

  const QStringList& files() const { return m_files; }
  // Puts `path` first, dropping an older entry of the same file and the
  // oldest one beyond the limit.
  void add(const QString& path);
  // False when the file was not in the list.
  bool remove(const QString& path);

  static RecentFiles loadFrom(const Preferences& preferences);
  void storeIn(Preferences& preferences) const;

 private:
  static QString normalized(const QString& path);

  QStringList m_files;
};

}  // namespace termika
