#include "core/app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>
#include <utility>

namespace termika {

SingleInstance::SingleInstance(QString lockPath) : m_path(std::move(lockPath)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultLockPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return QDir(folder).filePath(QStringLiteral("termika.lock"));
}

bool SingleInstance::acquire() {
  if (m_lock && m_lock->isLocked()) return true;
  auto lock = std::make_unique<QLockFile>(m_path);
  // Never stale by age while its owner lives; a dead owner's lock is removed.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) {
    // Qt keeps a lock it cannot read for ever; no process can be behind it.
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock->error() != QLockFile::LockFailedError ||
        lock->getLockInfo(&pid, &host, &application) || !lock->removeStaleLockFile() ||
        !lock->tryLock(0)) {
      return false;
    }
  }
  m_lock = std::move(lock);
  return true;
}

QString SingleInstance::holder() const {
  qint64 pid = 0;
  QString host;
  QString application;
  if (!QLockFile(m_path).getLockInfo(&pid, &host, &application)) return QString();
  return QStringLiteral("%1 (process %2 on %3)").arg(application).arg(pid).arg(host);
}

}  // namespace termika
