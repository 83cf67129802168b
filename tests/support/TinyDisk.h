#pragma once

#include <sys/mount.h>
#include <sys/statvfs.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

namespace termika::testing {

// A 64 KiB tmpfs mounted for one test, so that writes run out of room the
// way they do on a full disk. Mounting needs root; where it is not allowed
// the test skips and says why (mounted() is false, why() tells).
class TinyDisk final {
 public:
  TinyDisk() {
    if (!m_dir.isValid()) {
      m_why = QStringLiteral("no temporary folder to mount on");
      return;
    }
    if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, "size=64k") !=
        0) {
      m_why = QStringLiteral(
                  "cannot mount a 64 KiB tmpfs here (%1), so the full-disk cases "
                  "are skipped")
                  .arg(QString::fromLocal8Bit(std::strerror(errno)));
      return;
    }
    m_mounted = true;
  }
  ~TinyDisk() {
    if (m_mounted) ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
  }
  TinyDisk(const TinyDisk&) = delete;
  TinyDisk& operator=(const TinyDisk&) = delete;

  bool mounted() const { return m_mounted; }
  const QString& why() const { return m_why; }
  QString path() const { return m_dir.path(); }
  QString filePath(const QString& name) const { return m_dir.filePath(name); }

  // Takes every free byte but `leave` with a filler file.
  void fill(qint64 leave = 0) {
    QFile filler(filePath(QStringLiteral(".filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append)) return;
    const QByteArray block(512, 'f');
    while (free() > leave + block.size()) {
      if (filler.write(block) != block.size() || !filler.flush()) break;
    }
  }

 private:
  qint64 free() const {
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(m_dir.path()).constData(), &info) != 0) return 0;
    return static_cast<qint64>(info.f_bavail) * static_cast<qint64>(info.f_frsize);
  }

  QTemporaryDir m_dir;
  QString m_why;
  bool m_mounted = false;
};

}  // namespace termika::testing
