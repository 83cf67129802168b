#pragma once

#include <QByteArray>

#include "core/Result.h"
#include "core/link/Transport.h"

namespace termika {

// ReopenPort: closes and opens again a port that is open (a lost USB serial
// port often comes back that way). False, and nothing done, when the port
// was closed to begin with, or when it will not open again.
bool ReopenPort(Transport& port);

// Writes; after a failed write, reopens the port and tries exactly once more,
// so a step that keeps failing cannot loop forever.
Result<void> writeWithReopen(Transport& port, const QByteArray& bytes);

}  // namespace termika
