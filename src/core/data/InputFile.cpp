#include "core/data/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <cerrno>
#include <cstring>

#include "core/base/Says.h"
#include "core/data/NativeFileName.h"

namespace termika {
namespace {

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Closes the descriptor on every way out.
class Descriptor final {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return m_fd; }

 private:
  int m_fd;
};

}  // namespace

Result<QByteArray> readInputFile(const QString& path, qint64 maxBytes, InputKind kind) {
  const QString shown = QDir::toNativeSeparators(path);
  const bool regularOnly = kind == InputKind::RegularOnly;
  // Without O_NONBLOCK opening a FIFO waits for a writer.
  const Descriptor fd(::open(nativeFileName(path).constData(),
                             O_RDONLY | O_CLOEXEC | (regularOnly ? O_NONBLOCK : 0)));
  if (fd.get() < 0) {
    const int error = errno;
    return Error{says("Cannot open %1: %2").arg(shown, systemReason(error))};
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    const int error = errno;
    return Error{says("Cannot read %1: %2").arg(shown, systemReason(error))};
  }
  if (S_ISDIR(st.st_mode) || (regularOnly && !S_ISREG(st.st_mode))) {
    return Error{says("%1 is not a regular file.").arg(shown)};
  }
  if (regularOnly) ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
  QByteArray bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      const int error = errno;
      if (error == EINTR) continue;
      return Error{says("Cannot read %1: %2").arg(shown, systemReason(error))};
    }
    if (bytes.size() + n > maxBytes) {
      return Error{says("%1 is larger than %2 bytes.").arg(shown).arg(maxBytes)};
    }
    bytes.append(buffer, static_cast<qsizetype>(n));
  }
  return bytes;
}

bool isSameFile(const QString& first, const QString& second) {
  struct stat a {};
  struct stat b {};
  return ::stat(nativeFileName(first).constData(), &a) == 0 &&
         ::stat(nativeFileName(second).constData(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

}  // namespace termika
