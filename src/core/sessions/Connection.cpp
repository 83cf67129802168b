#include "core/sessions/Connection.h"

#include "core/data/SetRecords.h"
#include "core/link/AnswerDispatcher.h"
#include "core/link/Commands.h"
#include "core/link/LatencyTimer.h"

namespace termika {

Connection::Connection(AppState& app, UserPrompts& prompts, SaveOffer& saveOffer,
                       Exchange& exchange, AdapterPins& pins, const PortMap& map,
                       TransportFactory factory, const Timings& timings, QObject* parent)
    : QObject(parent),
      m_app(app),
      m_prompts(prompts),
      m_saveOffer(saveOffer),
      m_exchange(exchange),
      m_pins(pins),
      m_map(map),
      m_discovery(timings, pins, map, std::move(factory)),
      m_watch(timings, pins, [this] { return !m_exchange.isBusy(); }) {
  connect(&m_discovery, &PortDiscovery::progress, this, &Connection::progress);
  connect(&m_discovery, &PortDiscovery::found, this, &Connection::onFound);
  connect(&m_discovery, &PortDiscovery::notFound, this, [this] {
    m_notFoundCause = m_discovery.fault();
    onNotFound();
  });
  connect(&m_discovery, &PortDiscovery::notice, this, &Connection::notice);
  connect(&m_discovery, &PortDiscovery::portSkipped, this,
          [this](int, const QString& reason) { Q_EMIT notice(reason); });
  connect(&m_watch, &AdapterWatch::unplugged, this, &Connection::disconnect);
  connect(&m_exchange, &Exchange::linkClosed, this, &Connection::onLinkClosed);
}

Connection::~Connection() {
  m_discovery.abort();
  m_watch.stop();
  if (m_exchange.transport() == m_transport.get()) m_exchange.setTransport(nullptr);
}

void Connection::setLatencyTimer(LatencyTimer* latency) {
  if (latency) connect(latency, &LatencyTimer::adviceGiven, this, &Connection::notice);
}

bool Connection::connectOrDisconnect() { return begin(true, 0); }

bool Connection::connectOnce(int port) { return begin(false, port); }

bool Connection::begin(bool scan, int port) {
  // The guard: one run at a time, and never under a running exchange.
  if (m_state == State::Connecting || m_exchange.isBusy()) return false;
  if (m_state == State::Connected) {
    disconnect();
    return true;
  }
  setState(State::Connecting);
  // With no adapter at all there is nothing to probe.
  if (m_pins.presence(QString()) == AdapterPresence::Absent) {
    m_notFoundCause = ProbeFault::NoAdapter;
    onNotFound();
    return true;
  }
  const bool started = scan ? m_discovery.scan() : m_discovery.probePort(port);
  if (!started) {
    setState(State::Disconnected);
    return false;
  }
  return true;
}

void Connection::abortScan() {
  if (m_state != State::Connecting) return;
  m_discovery.abort();
  setState(State::Disconnected);
}

void Connection::onFound(int port, const QString& model, Transport* transport) {
  m_transport.reset(transport);
  m_app.modelName = model;
  askSave(kLogSet, TextId::CommunicationLosesDownload, TextId::SaveLogQuestion);
  askSave(kRealTimeSet, TextId::CommunicationLosesMeasurements, TextId::SaveRealTimeQuestion);
  clearDeviceViews();
  m_app.portNumber = port;
  m_app.connected = true;
  m_app.runState = RunState::Idle;
  const auto path = m_map.devicePath(port);
  m_devicePath = path ? *path : QString();
  m_exchange.setTransport(m_transport.get());
  setState(State::Connected);
  m_watch.watch(m_devicePath);
  Q_EMIT connected(port);
  m_exchange.start(commands::connectRows());
}

void Connection::onNotFound() {
  setState(State::Disconnected);
  m_prompts.info(m_app.modelName, m_app.texts.after(m_app.modelName, TextId::ModelNotConnected));
  Q_EMIT notFound();
}

void Connection::askSave(int setIndex, TextId firstText, TextId secondText) {
  // A Yes whose save was cancelled or failed asks again: the set is only
  // given up on an explicit No.
  const QString prompt = m_app.texts.joined(firstText, secondText);
  while (!SaveOffer::mayDiscard(m_saveOffer.offerToSave(setIndex, prompt))) {
  }
}

void Connection::clearDeviceViews() {
  for (const int index : {static_cast<int>(kLogSet), static_cast<int>(kRealTimeSet)}) {
    DataSet& set = m_app.set(index);
    clearDataSet(set);
    set.unsaved = false;
  }
  Q_EMIT deviceViewsCleared();
}

void Connection::disconnect() {
  if (m_state == State::Connecting) {
    abortScan();
    return;
  }
  if (m_state != State::Connected) return;
  m_watch.stop();
  if (m_transport) m_transport->close();
  m_app.runState = RunState::Idle;
  m_exchange.endExchange();
  releasePort();
  setState(State::Disconnected);
  Q_EMIT disconnected();
}

void Connection::onLinkClosed() {
  if (m_state != State::Connected) return;
  m_watch.stop();
  releasePort();
  setState(State::Disconnected);
  Q_EMIT disconnected();
}

void Connection::releasePort() {
  m_app.connected = false;
  AnswerDispatcher::clearStatus(m_app.status);
  if (m_exchange.transport() == m_transport.get()) m_exchange.setTransport(nullptr);
  // The port may be the sender of the signal that brought us here.
  if (m_transport) m_transport.release()->deleteLater();
  m_devicePath.clear();
}

void Connection::setState(State state) {
  if (m_state == state) return;
  m_state = state;
  Q_EMIT stateChanged(state);
}

}  // namespace termika
