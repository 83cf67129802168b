#include "core/app/WritableFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include "core/base/Says.h"

namespace termika {

bool isWritableFolder(const QString& folder) {
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) return false;
  QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".termika-probe-XXXXXX")));
  return probe.open();
}

Result<QString> chooseWritableFolder(const QString& preferred, const QString& fallback) {
  if (isWritableFolder(preferred)) return preferred;
  if (!fallback.isEmpty() && QDir().mkpath(fallback) && isWritableFolder(fallback)) {
    return fallback;
  }
  return Error{says("Neither %1 nor %2 is a writable folder.").arg(preferred, fallback)};
}

}  // namespace termika
