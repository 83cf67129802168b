#pragma once

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

namespace termika::testing {

inline void writeAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write(bytes);
}

// What a name holds, for "left exactly as it was": the bytes of a regular
// file, or the kind of anything else.
inline QByteArray fileState(const QString& path) {
  struct stat st {};
  if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return "(none)";
  if (S_ISFIFO(st.st_mode)) return "(fifo)";
  if (S_ISCHR(st.st_mode)) return "(character device)";
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// A 64 KiB tmpfs mounted for one test, so that writes run out of room the
// way they do on a full disk. Mounting needs root; where it is not allowed
// the test skips and says why (mounted() is false, why() tells).
class TinyDisk final {
 public:
  TinyDisk()
      : m_mounted(::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                          "size=64k") == 0),
        m_why(QStringLiteral("cannot mount a 64 KiB tmpfs here (%1): the full-disk cases are "
                             "skipped")
                  .arg(QString::fromLocal8Bit(std::strerror(errno)))) {}
  ~TinyDisk() {
    if (m_mounted) ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
  }

  bool mounted() const { return m_mounted; }
  const QString& why() const { return m_why; }
  QString path() const { return m_dir.path(); }
  QString filePath(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

  // Takes every free byte with a filler file.
  void fill() {
    QFile filler(filePath(".filler"));
    const QByteArray block(512, 'f');
    if (!filler.open(QIODevice::WriteOnly)) return;
    while (filler.write(block) == block.size() && filler.flush()) {
    }
  }

 private:
  QTemporaryDir m_dir;
  bool m_mounted;
  QString m_why;
};

}  // namespace termika::testing
