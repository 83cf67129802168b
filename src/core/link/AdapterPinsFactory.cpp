#include "core/link/AdapterPinsFactory.h"

#include "core/base/Says.h"
#include "core/link/FtdiAdapterPins.h"
#include "core/link/SimulatedAdapterPins.h"

namespace termika {

Result<std::unique_ptr<AdapterPins>> makeAdapterPins(const QString& choice,
                                                     const QString& sysfsRoot) {
  const QString simPrefix = QStringLiteral("sim:");
  if (choice.isEmpty() || choice == QStringLiteral("ftdi")) {
    return std::unique_ptr<AdapterPins>(std::make_unique<FtdiAdapterPins>(sysfsRoot));
  }
  if (choice == QStringLiteral("none")) {
    return std::unique_ptr<AdapterPins>(std::make_unique<NoAdapterPins>());
  }
  if (choice.startsWith(simPrefix) && choice.size() > simPrefix.size()) {
    return std::unique_ptr<AdapterPins>(
        std::make_unique<SimulatedAdapterPins>(choice.mid(simPrefix.size())));
  }
  return Error{says("Unknown adapter \"%1\": use ftdi, none or sim:PATH.").arg(choice)};
}

}  // namespace termika
