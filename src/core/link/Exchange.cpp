#include "core/link/Exchange.h"

namespace termika {
namespace {

constexpr int kMaxTimeOutResends = 3;
constexpr int kMaxRejectResends = 10;
// A logger that never falls quiet must not hold the link forever.
constexpr int kMaxDrainPeriods = 20;

}  // namespace

Exchange::Exchange(AppState& app, UserPrompts& prompts, const Timings& timings, QObject* parent)
    : QObject(parent), m_timings(timings), m_dispatcher(app, prompts) {
  for (QTimer* t : {&m_timeOut, &m_busyTimer, &m_drainTimer}) {
    t->setSingleShot(true);
    // Resends go out on the wire at fixed steps; a coarse timer may fire early.
    t->setTimerType(Qt::PreciseTimer);
  }
  connect(&m_timeOut, &QTimer::timeout, this, &Exchange::onTimeOut);
  connect(&m_busyTimer, &QTimer::timeout, this, &Exchange::onBusyPointer);
  connect(&m_drainTimer, &QTimer::timeout, this, &Exchange::onDrainQuiet);
}

Exchange::~Exchange() = default;

void Exchange::setTransport(Transport* transport) {
  if (m_transport) disconnect(m_transport, nullptr, this, nullptr);
  m_transport = transport;
  if (!m_transport) return;
  connect(m_transport, &Transport::readyRead, this, &Exchange::onReadyRead);
  connect(m_transport, &Transport::failed, this, &Exchange::onTransportFailed);
}

bool Exchange::start(const CommandRows& rows) {
  if (isBusy() || rows.empty()) return false;
  m_queue.clear();
  if (!m_queue.append(rows)) {
    m_queue.clear();
    return false;
  }
  m_retryCount = 0;
  m_rejectCount = 0;
  if (m_state == State::Draining) return true;  // the row goes out once the line is quiet
  sendNextRow();
  return true;
}

bool Exchange::sendRaw(const QByteArray& bytes) {
  if (isBusy() || !m_transport || !m_transport->isOpen()) return false;
  if (!m_transport->write(bytes)) return false;
  m_needsDrain = true;
  enterDrain();
  return true;
}

void Exchange::abort() {
  if (!isBusy()) return;
  m_needsDrain = true;
  endExchange();
}

void Exchange::sendCurrentRow() {
  if (!m_queue.hasCurrent()) {
    endExchange();
    return;
  }
  if (m_transport) m_transport->discardInput();
  m_receiver.reset();
  ++m_sendGeneration;
  const CommandRow& row = m_queue.current();
  // Resends of the same row keep the pointer's clock running, so a silent
  // logger shows the busy pointer before the link gives up.
  if (!m_busyTimer.isActive() && !m_busyShown) m_busyTimer.start(m_timings.busyPointer);
  // A fast download streams after one request; a second request would start
  // a second stream, so this row is never resent on silence.
  if (row.opcode() == Opcode::StreamMemory) {
    m_timeOut.stop();
  } else {
    m_timeOut.start(m_timings.timeOut);
  }
  setState(State::Awaiting);
  // A closed port writes nothing; the time-out path then ends the exchange.
  if (!m_transport || !m_transport->isOpen()) return;
  if (const auto written = m_transport->write(frame::encode(row.bytes())); !written) {
    onTransportFailed(written.error().message);
  }
}

void Exchange::endExchange() {
  if (m_busyShown) {
    m_busyShown = false;
    Q_EMIT busyPointer(false);
  }
  m_queue.clear();
  stopTimers();
  m_receiver.reset();
  if (m_transport) m_transport->discardInput();
  m_rejectCount = 0;
  m_retryCount = 0;
  setState(State::Idle);
  Q_EMIT exchangeEnded();
}

void Exchange::stopLink() {
  stopTimers();
  // Without its timers a running exchange could never end: end it here.
  if (isBusy() || m_state != State::Idle) endExchange();
}

void Exchange::stopTimers() {
  m_timeOut.stop();
  m_busyTimer.stop();
  m_drainTimer.stop();
}

void Exchange::onReadyRead() {
  if (!m_transport) return;
  if (m_inHandler) {
    // A handler is showing a message; take these bytes once it returns.
    m_readPending = true;
    return;
  }
  const QByteArray bytes = m_transport->readAll();
  if (m_state == State::Draining) {
    m_drainTimer.start(m_timings.drainSilence);
    return;
  }
  if (m_state != State::Awaiting) return;  // stray bytes between exchanges
  const auto events = m_receiver.feed(bytes);
  const quint64 generation = m_sendGeneration;
  for (const FrameReceiver::Event& event : events) {
    // Bytes that arrived before a new request went out belong to no row.
    if (m_state != State::Awaiting || m_sendGeneration != generation) break;
    handleEvent(event);
  }
}

void Exchange::handleEvent(const FrameReceiver::Event& event) {
  if (!m_queue.hasCurrent()) return;
  if (event.kind == FrameReceiver::Kind::Overflow) {
    handleGarbled();
    return;
  }
  if (frame::isRejection(event.bytes)) {
    m_timeOut.stop();
    m_busyTimer.stop();
    m_retryCount = 0;
    const AnswerAction action =
        askSession(&SessionHandler::onRejectedAnswer, AnswerAction::RepeatRow);
    if (action != AnswerAction::RepeatRow) {
      applyAction(action);
      return;
    }
    ++m_rejectCount;
    if (m_rejectCount <= kMaxRejectResends) {
      sendCurrentRow();
    } else {
      giveUp(LinkFailure::Rejected);
    }
    return;
  }
  const auto answer = AnswerDispatcher::parse(m_queue.current().b1, event.bytes);
  if (!answer) {
    handleGarbled();
    return;
  }
  m_timeOut.stop();
  m_busyTimer.stop();
  // A row that needed a resend may still get a late answer to an earlier
  // send; it must not be taken for the answer to the next row.
  if (m_retryCount > 0) m_needsDrain = true;
  m_retryCount = 0;
  m_rejectCount = 0;

  m_inHandler = true;
  const AnswerAction action = m_dispatcher.handleAnswer(m_queue, *answer);
  m_inHandler = false;
  applyAction(action);
  if (m_readPending) {
    m_readPending = false;
    QMetaObject::invokeMethod(this, &Exchange::onReadyRead, Qt::QueuedConnection);
  }
}

void Exchange::handleGarbled() {
  // Discarded without advancing: the time-out resends the row. A session
  // whose row has no resend (a stream) decides for itself.
  const AnswerAction action = askSession(&SessionHandler::onGarbledAnswer, AnswerAction::AwaitMore);
  if (action != AnswerAction::AwaitMore) applyAction(action);
}

AnswerAction Exchange::askSession(AnswerAction (SessionHandler::*hook)(CommandRow&),
                                  AnswerAction otherwise) {
  SessionHandler* handler = m_dispatcher.sessionHandler(m_queue.current().mode);
  if (!handler) return otherwise;
  m_inHandler = true;
  const AnswerAction action = (handler->*hook)(m_queue.current());
  m_inHandler = false;
  return action;
}

void Exchange::applyAction(AnswerAction action) {
  if (m_state == State::Idle) return;  // the handler ended the exchange itself
  switch (action) {
    case AnswerAction::Advance:
      m_queue.advance();
      if (m_queue.hasCurrent()) {
        sendNextRow();
      } else {
        endExchange();
      }
      break;
    case AnswerAction::RepeatRow:
      sendNextRow();
      break;
    case AnswerAction::AwaitMore:
      break;
    case AnswerAction::Finish:
      m_needsDrain = true;
      endExchange();
      break;
  }
}

void Exchange::sendNextRow() {
  if (m_needsDrain) {
    enterDrain();
  } else {
    sendCurrentRow();
  }
}

void Exchange::enterDrain() {
  m_timeOut.stop();
  m_busyTimer.stop();
  m_receiver.reset();
  if (m_transport) m_transport->discardInput();
  m_drainSince.start();
  setState(State::Draining);
  m_drainTimer.start(m_timings.drainSilence);
}

void Exchange::onDrainQuiet() {
  if (m_state != State::Draining) return;
  if (m_transport && m_transport->isOpen()) {
    const QByteArray late = m_transport->readAll();
    const bool endless = m_drainSince.elapsed() > m_timings.drainSilence.count() * kMaxDrainPeriods;
    if (!late.isEmpty() && !endless) {
      m_drainTimer.start(m_timings.drainSilence);
      return;
    }
  }
  m_needsDrain = false;
  if (m_queue.hasCurrent()) {
    sendCurrentRow();
  } else {
    setState(State::Idle);
  }
}

void Exchange::onTimeOut() {
  if (m_state != State::Awaiting || !m_queue.hasCurrent()) return;
  if (m_retryCount < kMaxTimeOutResends) {
    ++m_retryCount;
    sendCurrentRow();
    return;
  }
  giveUp(LinkFailure::NoAnswer);
}

void Exchange::onBusyPointer() {
  if (m_state != State::Awaiting || m_busyShown) return;
  m_busyShown = true;
  Q_EMIT busyPointer(true);
}

void Exchange::onTransportFailed(const QString& message) {
  Q_UNUSED(message);
  // Never reopened and retried here: the errors that get this far mean the
  // port is gone (a pulled adapter), and one that comes back needs a new
  // connection's probe before anything is sent to whatever now answers.
  if (isBusy()) {
    giveUp(LinkFailure::PortLost);
  } else {
    // Between exchanges a continuous measurement may still be running.
    closeLink();
    stopTimers();
    Q_EMIT linkLost(LinkFailure::PortLost);
    setState(State::Idle);
    Q_EMIT sessionAborted();
    Q_EMIT linkClosed();
  }
}

void Exchange::giveUp(LinkFailure failure) {
  // Everything is wound down before the failure is reported, so no timer
  // fires a second report and no handler runs while the user is told.
  stopTimers();
  closeLink();
  Q_EMIT linkLost(failure);
  endExchange();
  Q_EMIT sessionAborted();
  Q_EMIT linkClosed();
  Q_EMIT failed(failure);
}

void Exchange::closeLink() {
  if (m_transport && m_transport->isOpen()) m_transport->close();
  m_needsDrain = false;
}

void Exchange::setState(State state) {
  if (m_state == state) return;
  m_state = state;
  Q_EMIT stateChanged(state);
}

}  // namespace termika
