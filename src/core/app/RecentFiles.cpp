#include "core/app/RecentFiles.h"

#include <QDir>
#include <QFileInfo>

#include "core/app/Preferences.h"

namespace termika {

RecentFiles::RecentFiles(const QStringList& files) {
  // Added oldest first, so the newest stays in front.
  for (auto it = files.crbegin(); it != files.crend(); ++it) add(*it);
}

QString RecentFiles::normalized(const QString& path) {
  return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void RecentFiles::add(const QString& path) {
  if (path.trimmed().isEmpty()) return;
  const QString file = normalized(path);
  m_files.removeAll(file);
  m_files.prepend(file);
  while (m_files.size() > kLimit) m_files.removeLast();
}

bool RecentFiles::remove(const QString& path) { return m_files.removeAll(normalized(path)) > 0; }

RecentFiles RecentFiles::loadFrom(const Preferences& preferences) {
  return RecentFiles(preferences.recentFiles());
}

void RecentFiles::storeIn(Preferences& preferences) const { preferences.setRecentFiles(m_files); }

}  // namespace termika
