#pragma once

#include <QByteArray>
#include <QString>

#include "core/base/Result.h"

namespace termika {

// Checks that `path` may take a file the program writes: its folder exists
// and takes new files, and the name is free or held by a regular file that
// may be replaced. A device, pipe, socket or folder at the name is never
// replaced, whatever the user's rights.
Result<void> checkOutputFile(const QString& path);

// Every file the program writes (CSV, PDF, Logger.ini) is replaced through
// this one function: the bytes go to a new file beside the old one, are
// flushed to the disk and checked, and only then take the old file's name.
// On any failure the old file stays exactly as it was and the error names
// the system's reason ("No space left on device").
Result<void> commitFile(const QString& path, const QByteArray& bytes);

}  // namespace termika
