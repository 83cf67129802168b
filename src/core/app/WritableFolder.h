#pragma once

#include <QString>

#include "core/base/Result.h"

namespace termika {

// True when a file can really be created in `folder` (tried, not guessed from
// permission bits, which say yes to root even on a read-only mount).
bool isWritableFolder(const QString& folder);

// `preferred` when it is writable, else `fallback` (created if need be).
Result<QString> chooseWritableFolder(const QString& preferred, const QString& fallback);

}  // namespace termika
