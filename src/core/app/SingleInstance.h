#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace termika {

// Only one copy of the program may run: two would share the record files and
// Logger.ini. A lock left by a crashed copy is taken over.
class SingleInstance final {
 public:
  explicit SingleInstance(QString lockPath);
  ~SingleInstance();

  // The lock file in the per-user runtime folder.
  static QString defaultLockPath();

  // True when no other running copy holds the lock; it is then held until
  // this object goes away.
  bool acquire();

 private:
  QString m_path;
  std::unique_ptr<QLockFile> m_lock;
};

}  // namespace termika
