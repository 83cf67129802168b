#include "core/data/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

#include "core/base/Says.h"
#include "core/data/NativeFileName.h"

namespace termika {
namespace {

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// The folder part of a native path, "." for a bare name.
QByteArray folderOf(const QByteArray& native) {
  const qsizetype slash = native.lastIndexOf('/');
  if (slash < 0) return QByteArrayLiteral(".");
  return slash == 0 ? QByteArrayLiteral("/") : native.left(slash);
}

// Writes, flushes and syncs before the commit: QSaveFile::commit() alone
// reports success when its final flush fails, which leaves a cut-off file in
// place of the old one on a full disk.
Result<void> writeThrough(QSaveFile& file, const QString& path, const QByteArray& bytes) {
  if (!file.open(QIODevice::WriteOnly)) {
    return Error{says("Cannot create %1: %2").arg(shown(path), file.errorString())};
  }
  errno = 0;
  const bool written = file.write(bytes) == bytes.size() && file.flush() &&
                       (::fsync(file.handle()) == 0 || errno == EINVAL || errno == EROFS);
  const int error = errno;
  if (!written) {
    // Taken before cancelWriting(), which leaves only "Unknown error".
    const QString why = error != 0 ? systemReason(error) : file.errorString();
    file.cancelWriting();
    return Error{says("Cannot write %1: %2").arg(shown(path), why)};
  }
  if (!file.commit()) {
    return Error{says("Cannot save %1: %2").arg(shown(path), file.errorString())};
  }
  return {};
}

}  // namespace

Result<void> checkOutputFile(const QString& path) {
  if (path.isEmpty()) return Error{says("No file name was given.")};
  const QByteArray native = nativeFileName(path);
  struct stat st {};
  if (::stat(native.constData(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) {
      return Error{says("%1 is not a regular file (a folder, device, pipe or socket); "
                        "it is not replaced.")
                       .arg(shown(path))};
    }
    if (::access(native.constData(), W_OK) != 0) {
      const int error = errno;
      return Error{says("Cannot replace %1: %2").arg(shown(path), systemReason(error))};
    }
  } else if (const int error = errno; error != ENOENT) {
    return Error{says("Cannot use %1: %2").arg(shown(path), systemReason(error))};
  }
  const QByteArray folder = folderOf(native);
  const QString shownFolder = shown(fileNameFromNative(folder));
  QString why;
  if (::stat(folder.constData(), &st) != 0) {
    const int error = errno;
    why = error == ENOENT ? says("the folder %1 does not exist").arg(shownFolder)
                          : says("the folder %1: %2").arg(shownFolder, systemReason(error));
  } else if (!S_ISDIR(st.st_mode)) {
    why = says("%1 is not a folder").arg(shownFolder);
  } else if (::access(folder.constData(), W_OK | X_OK) != 0) {
    // access() also says no on a read-only mount, even to root.
    const int error = errno;
    why = says("no new file can be made in %1: %2").arg(shownFolder, systemReason(error));
  }
  if (!why.isEmpty()) return Error{says("Cannot save %1: %2.").arg(shown(path), why)};
  return {};
}

Result<void> commitFile(const QString& path, const QByteArray& bytes) {
  if (Result<void> usable = checkOutputFile(path); !usable) return usable;
  if (isQtFileName(path)) {
    QSaveFile file(path);
    return writeThrough(file, path, bytes);
  }
  // A name Qt cannot spell: the new file is made under a plain name in the
  // same folder, reached through the folder's descriptor, and renamed to
  // the real bytes at the end.
  const QByteArray native = nativeFileName(path);
  const int folder = ::open(folderOf(native).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) {
    const int error = errno;
    return Error{says("Cannot open the folder of %1: %2").arg(shown(path), systemReason(error))};
  }
  const QByteArray plain = ".termika-" + QByteArray::number(::getpid()) + ".part";
  QSaveFile file(QStringLiteral("/proc/self/fd/%1/%2").arg(folder).arg(QLatin1String(plain)));
  Result<void> done = writeThrough(file, path, bytes);
  if (done && ::renameat(folder, plain.constData(), folder,
                         native.mid(native.lastIndexOf('/') + 1).constData()) != 0) {
    const int error = errno;
    done = Error{says("Cannot save %1: %2").arg(shown(path), systemReason(error))};
    ::unlinkat(folder, plain.constData(), 0);
  }
  ::close(folder);
  return done;
}

}  // namespace termika
