#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace termika {

// Only one copy of the program may run: two would share the record files and
// Logger.ini. A lock that names no live process (left by a crashed copy, or
// empty or garbled) is taken over.
class SingleInstance final {
 public:
  explicit SingleInstance(QString lockPath);
  ~SingleInstance();

  // The lock file in the per-user runtime folder.
  static QString defaultLockPath();

  // True when no other running copy holds the lock; it is then held until
  // this object goes away.
  bool acquire();
  // The copy that holds the lock, for the message a second copy gives.
  QString holder() const;

 private:
  QString m_path;
  std::unique_ptr<QLockFile> m_lock;
};

}  // namespace termika
