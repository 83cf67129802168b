#include "ui/HelpPage.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace termika {

QString findHelpPage(const QStringList& folders, const QString& relativePath) {
  for (const QString& folder : folders) {
    if (folder.isEmpty()) continue;
    const QFileInfo page(QDir(folder).filePath(relativePath));
    if (page.isFile()) return page.absoluteFilePath();
  }
  return {};
}

QStringList helpFolders(const QString& programFolder, const QString& sourceFolder) {
  QStringList folders{QDir(programFolder).filePath(QStringLiteral("../share/termika"))};
  for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
    folders << QDir(data).filePath(QStringLiteral("termika"));
  if (!sourceFolder.isEmpty()) folders << QDir(sourceFolder).filePath(QStringLiteral("docs"));
  return folders;
}

}  // namespace termika
