#include "core/link/PortFactory.h"

#include <QPointer>
#include <utility>

#include "core/link/LatencyTimer.h"
#include "core/link/SerialTransport.h"

namespace termika {

TransportFactory serialTransportFactory(PortMap map, std::function<QString()> baudSetting,
                                        LatencyTimer* latency) {
  QPointer<LatencyTimer> guardedLatency(latency);
  return [map = std::move(map), baudSetting = std::move(baudSetting),
          guardedLatency](int port) -> std::unique_ptr<Transport> {
    const auto path = map.devicePath(port);
    if (!path) {
      return nullptr;
    }
    return std::make_unique<SerialTransport>(*path, baudSetting(), guardedLatency.data());
  };
}

}  // namespace termika
