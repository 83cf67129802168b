#include "core/link/PortDiscovery.h"

#include <QMetaMethod>
#include <algorithm>
#include <utility>

#include "core/base/Says.h"
#include "core/data/LoggerModel.h"
#include "core/link/Frame.h"
#include "core/link/Protocol.h"

namespace termika {

PortDiscovery::PortDiscovery(const Timings& timings, AdapterPins& pins, PortMap map,
                             TransportFactory factory, QObject* parent)
    : QObject(parent),
      m_timings(timings),
      m_pins(pins),
      m_map(std::move(map)),
      m_factory(std::move(factory)) {
  m_timer.setSingleShot(true);
  // The pulse widths are part of what the logger expects; coarse timers could stretch them.
  m_timer.setTimerType(Qt::PreciseTimer);
  connect(&m_timer, &QTimer::timeout, this, &PortDiscovery::step);
}

PortDiscovery::~PortDiscovery() {
  m_timer.stop();
  if (m_transport) {
    m_transport->close();
  }
}

QByteArray PortDiscovery::probeFrame() {
  return frame::encode({1, toByte(Opcode::Identify), 0, 0});
}

std::optional<QString> PortDiscovery::recogniseModel(const QByteArray& answer) {
  if (answer.contains(kModelTreatedAsAbsent.latin1())) {
    return std::nullopt;
  }
  for (const QLatin1String model : {kModelWithAlarms, kModelWithoutAlarms}) {
    if (answer.contains(model.latin1())) {
      return QString(model);
    }
  }
  return std::nullopt;
}

bool PortDiscovery::probePort(int port) { return start({port}); }

bool PortDiscovery::scan() {
  std::vector<int> ports;
  for (int port = PortMap::kLastProbedPort; port >= PortMap::kFirstPort; --port) {
    ports.push_back(port);
  }
  return start(std::move(ports));
}

bool PortDiscovery::start(std::vector<int> ports) {
  if (busy()) {
    return false;
  }
  m_noticeGiven = false;
  m_fault = ProbeFault::None;
  m_ports = std::move(ports);
  m_portIndex = 0;
  const AdapterPresence presence = m_pins.presence(QString());
  if (presence == AdapterPresence::Absent) {
    m_ports.clear();  // no adapter, no logger: straight to "not connected"
    noteFault(ProbeFault::NoAdapter);
  }
  enter(State::Opening, Timings::ms{0});
  if (presence == AdapterPresence::Unavailable) {
    noticeOnce(says("The adapter's pins cannot be reached (%1); probing without the pulse.")
                   .arg(m_pins.description()));
  }
  return true;
}

void PortDiscovery::abort() {
  m_timer.stop();
  if (m_transport) {
    m_transport->close();
    m_transport.reset();
  }
  if (m_state != State::Idle) {
    m_state = State::Idle;
    Q_EMIT stateChanged(m_state);
  }
}

void PortDiscovery::enter(State state, Timings::ms delay) {
  const bool changed = state != m_state;
  m_state = state;
  m_timer.start(delay);
  if (changed) {
    Q_EMIT stateChanged(m_state);
  }
}

void PortDiscovery::step() {
  switch (m_state) {
    case State::Idle:
      break;
    case State::Opening:
      openPort();
      break;
    case State::LeadWait:
      pulse(kPinsHigh);
      if (!busy()) {
        return;  // aborted by a receiver of notice
      }
      enter(State::PinsHigh, m_timings.pulseHigh);
      break;
    case State::PinsHigh:
      pulse(kPinsLow);
      if (!busy()) {
        return;
      }
      enter(State::TrailWait, m_timings.pulseTrail);
      break;
    case State::TrailWait:
      m_returnPolls = 0;
      reopenForProbe();
      break;
    case State::WaitingForPort:
      reopenForProbe();
      break;
    case State::AwaitingAnswer:
      judgeAnswer();
      break;
  }
}

void PortDiscovery::openPort() {
  if (m_portIndex >= m_ports.size()) {
    m_transport.reset();
    m_state = State::Idle;
    Q_EMIT stateChanged(m_state);
    Q_EMIT notFound();
    return;
  }
  const int port = currentPort();
  m_transport = m_factory ? m_factory(port) : nullptr;
  noteFault(ProbeFault::NoPort);  // until it opens
  if (!m_transport) {
    Q_EMIT portSkipped(port, says("Port %1 has no device name.").arg(port));
    nextPort();
    return;
  }
  connect(m_transport.get(), &Transport::readyRead, this, &PortDiscovery::collectInput);
  if (auto opened = m_transport->open(); !opened) {
    Q_EMIT portSkipped(port, opened.error().message);
    nextPort();
    return;
  }
  m_attempt = 0;
  beginAttempt();
}

void PortDiscovery::beginAttempt() {
  Q_EMIT progress(currentPort(), m_attempt);
  if (!m_transport) {
    return;  // aborted by a receiver of progress
  }
  // The pulse detaches a real adapter's serial driver: never with our port open.
  m_transport->close();
  enter(State::LeadWait, m_timings.pulseLead);
}

void PortDiscovery::pulse(std::uint8_t levels) {
  if (auto pulsed = m_pins.pulse(portPath(), levels); !pulsed) {
    noticeOnce(pulsed.error().message);
  }
}

void PortDiscovery::reopenForProbe() {
  if (m_transport->open()) {
    sendProbe();
    return;
  }
  if (++m_returnPolls > kPortReturnPolls) {
    attemptFailed();
    return;
  }
  enter(State::WaitingForPort, std::max(Timings::ms{1}, m_timings.portReturn / kPortReturnPolls));
}

void PortDiscovery::sendProbe() {
  m_transport->discardInput();
  m_answer.clear();
  if (!m_transport->write(probeFrame())) {
    attemptFailed();
    return;
  }
  enter(State::AwaitingAnswer, m_timings.probeAnswer);
}

void PortDiscovery::collectInput() {
  const QByteArray bytes = m_transport->readAll();
  if (m_state != State::AwaitingAnswer) {
    return;  // nothing asked: stray bytes
  }
  m_answer.append(bytes.left(kMaxAnswerBytes - m_answer.size()));
}

void PortDiscovery::judgeAnswer() {
  collectInput();
  const auto model = recogniseModel(m_answer);
  if (!model) {
    noteFault(classifyProbeAnswer(m_answer));
    attemptFailed();
    return;
  }
  const int port = currentPort();
  disconnect(m_transport.get(), nullptr, this, nullptr);
  Transport* transport = m_transport.release();
  m_state = State::Idle;
  Q_EMIT stateChanged(m_state);
  if (!isSignalConnected(QMetaMethod::fromSignal(&PortDiscovery::found))) {
    delete transport;  // nobody to hand it to
    return;
  }
  Q_EMIT found(port, *model, transport);
}

void PortDiscovery::attemptFailed() {
  m_transport->close();
  if (++m_attempt < kAttempts) {
    beginAttempt();
  } else {
    nextPort();
  }
}

void PortDiscovery::nextPort() {
  m_transport.reset();
  if (!busy()) {
    return;  // aborted by a receiver of portSkipped
  }
  ++m_portIndex;
  enter(State::Opening, Timings::ms{0});
}

void PortDiscovery::noticeOnce(const QString& message) {
  if (!m_noticeGiven) {
    m_noticeGiven = true;
    Q_EMIT notice(message);
  }
}

QString PortDiscovery::portPath() const {
  const auto path = m_map.devicePath(currentPort());
  return path ? *path : QString();
}

}  // namespace termika
