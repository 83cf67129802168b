#pragma once

#include <QString>
#include <QStringList>

namespace termika {

// The first of `folders` holding `relativePath` (the help item's address,
// "help/index.html"), as an absolute path; empty when none does.
QString findHelpPage(const QStringList& folders, const QString& relativePath);

// Where an installed or a freshly built program keeps its help page: the
// share folder next to the executable's bin folder, the system data
// folders, then the source tree's docs folder.
QStringList helpFolders(const QString& programFolder, const QString& sourceFolder);

}  // namespace termika
