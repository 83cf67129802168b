#include "core/sessions/LoggerLink.h"

#include "core/model/AppState.h"

namespace termika {
namespace {

std::unique_ptr<AdapterPins> orNoPins(std::unique_ptr<AdapterPins> pins) {
  return pins ? std::move(pins) : std::make_unique<NoAdapterPins>();
}

TransportFactory factoryFor(TransportFactory given, const PortMap& map, AppState& state,
                            LatencyTimer* latency) {
  if (given) return given;
  return serialTransportFactory(
      map, [&state] { return state.baudSetting; }, latency);
}

}  // namespace

LoggerLink::LoggerLink(AppState& state, UserPrompts& prompts, SaveOffer& saveOffer,
                       LoggerLinkParts parts)
    : m_timings(parts.timings),
      m_map(std::move(parts.map)),
      m_pins(orNoPins(std::move(parts.pins))),
      m_latency(std::move(parts.latency)),
      m_exchange(state, prompts, m_timings),
      m_linkLoss(state, prompts, m_exchange),
      m_connection(state, prompts, saveOffer, m_exchange, *m_pins, m_map,
                   factoryFor(std::move(parts.factory), m_map, state, m_latency.get()), m_timings),
      m_download(state, prompts, saveOffer, m_exchange),
      m_realTime(state, prompts, saveOffer, m_exchange, m_timings),
      m_requests(state, prompts, m_exchange) {
  if (m_latency) m_connection.setLatencyTimer(m_latency.get());
}

LoggerLink::~LoggerLink() = default;

void LoggerLink::stop() {
  m_connection.abortScan();
  m_realTime.stopSeries();
  m_download.abandon();
  m_connection.disconnect();
}

}  // namespace termika
