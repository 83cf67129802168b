#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "core/link/PortMap.h"
#include "core/link/Transport.h"

namespace termika {

class LatencyTimer;

// Makes the (closed) transport for a port number; null when the number has no
// device. Discovery takes one, so tests can plug in ports held in memory.
using TransportFactory = std::function<std::unique_ptr<Transport>(int port)>;

// Serial ports named by `map`, at the baud rate `baudSetting` returns when
// the port is made (the user may change it between scans).
TransportFactory serialTransportFactory(PortMap map, std::function<QString()> baudSetting,
                                        LatencyTimer* latency);

}  // namespace termika
