#pragma once

#include <QString>
#include <memory>

#include "core/base/Result.h"
#include "core/link/AdapterPins.h"

namespace termika {

// The pins chosen by `--adapter`: "ftdi" (also the default, empty), "none",
// or "sim:PATH" for the simulator's adapter file.
Result<std::unique_ptr<AdapterPins>> makeAdapterPins(
    const QString& choice, const QString& sysfsRoot = QStringLiteral("/sys"));

}  // namespace termika
