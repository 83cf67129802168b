#pragma once

#include <QByteArray>
#include <QString>

#include "core/base/Result.h"

namespace termika {

enum class InputKind {
  Stream,       // a file, pipe, FIFO or /proc file, read to its end
  RegularOnly,  // a plain file only: anything else is refused unopened
};

// The whole content of `path`, at most `maxBytes` (more is an error, not a
// cut). Pipes and /proc files report no size, so everything is read to the
// end of the stream. A FIFO waits for its writer, as with any program that
// reads one, unless only regular files are wanted.
Result<QByteArray> readInputFile(const QString& path, qint64 maxBytes,
                                 InputKind kind = InputKind::Stream);

// True when both names lead to one file (the same device and inode), by
// whatever links or spellings.
bool isSameFile(const QString& first, const QString& second);

}  // namespace termika
