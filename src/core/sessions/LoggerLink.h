#pragma once

#include <memory>

#include "core/link/AdapterPins.h"
#include "core/link/Exchange.h"
#include "core/link/LatencyTimer.h"
#include "core/link/PortFactory.h"
#include "core/link/PortMap.h"
#include "core/link/Timings.h"
#include "core/sessions/Connection.h"
#include "core/sessions/DeviceRequests.h"
#include "core/sessions/Download.h"
#include "core/sessions/LinkLoss.h"
#include "core/sessions/RealTimeMeasurement.h"

namespace termika {

struct AppState;
class SaveOffer;
class UserPrompts;

// What a link is built from: the adapter's pins, the port naming, how a port
// is made and the timings. Tests hand in ports held in memory.
struct LoggerLinkParts {
  std::unique_ptr<AdapterPins> pins;  // none: no adapter to pulse or watch
  PortMap map = PortMap::platformDefault();
  // Empty: serial ports named by `map` at the state's speed.
  TransportFactory factory;
  std::unique_ptr<LatencyTimer> latency;  // may be null
  Timings timings;
};

// Everything that talks to a logger, built once in the order the parts
// depend on each other: the pins and latency timer, the exchange, the loss
// handling, the connection, and the sessions on top. The members are
// destroyed in reverse, so every session goes before the exchange and the
// pins it refers to. The window, the command line and the tests share it.
class LoggerLink final {
 public:
  LoggerLink(AppState& state, UserPrompts& prompts, SaveOffer& saveOffer, LoggerLinkParts parts);
  ~LoggerLink();
  LoggerLink(const LoggerLink&) = delete;
  LoggerLink& operator=(const LoggerLink&) = delete;

  const Timings& timings() const { return m_timings; }
  AdapterPins& pins() { return *m_pins; }
  LatencyTimer* latency() { return m_latency.get(); }
  Exchange& exchange() { return m_exchange; }
  const Exchange& exchange() const { return m_exchange; }
  Connection& connection() { return m_connection; }
  Download& download() { return m_download; }
  const Download& download() const { return m_download; }
  RealTimeMeasurement& realTime() { return m_realTime; }
  DeviceRequests& requests() { return m_requests; }

  // Ends whatever runs at exit: the port scan, a series, a download, and
  // closes the port.
  void stop();

 private:
  Timings m_timings;
  PortMap m_map;
  std::unique_ptr<AdapterPins> m_pins;
  std::unique_ptr<LatencyTimer> m_latency;
  Exchange m_exchange;
  LinkLoss m_linkLoss;
  Connection m_connection;
  Download m_download;
  RealTimeMeasurement m_realTime;
  DeviceRequests m_requests;
};

}  // namespace termika
