#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "core/base/UserPrompts.h"
#include "core/link/AnswerDispatcher.h"
#include "core/link/CommandQueue.h"
#include "core/link/FrameReceiver.h"
#include "core/link/Timings.h"
#include "core/link/Transport.h"
#include "core/model/AppState.h"

namespace termika {

// Why the link gave up on the logger and closed the port.
enum class LinkFailure {
  NoAnswer,  // silence after every resend
  Rejected,  // a rejection after every resend
  PortLost,  // the port failed (a pulled adapter, a failed write)
};

// The exchange cycle: sends the queued rows one after another, collects each
// answer, hands it to HandleAnswer, resends on silence and on rejections and
// gives up when the logger does not answer: it then closes the port and says
// why (linkLost, failed); what that means for the program's state and what
// the user is told is for the layers above. All waiting is done by timers;
// nothing here blocks or spins an event loop of its own.
class Exchange final : public QObject {
  Q_OBJECT
 public:
  enum class State {
    Idle,      // nothing queued
    Awaiting,  // a row has been sent, its answer is awaited
    Draining,  // dropping stray input until the line is quiet, then sending
  };
  Q_ENUM(State)

  // `app` and `prompts` are the dispatcher's: it fills the logger status and
  // confirms settings.
  Exchange(AppState& app, UserPrompts& prompts, const Timings& timings, QObject* parent = nullptr);
  ~Exchange() override;

  // The port to talk through; not owned. nullptr detaches.
  void setTransport(Transport* transport);
  Transport* transport() const { return m_transport; }

  // Starts an exchange with `rows`. Refused (false) while another exchange
  // runs, or when the rows are empty or too many for the queue.
  bool start(const CommandRows& rows);
  // Writes bytes outside the framing (INITALL): only when idle; the input
  // that follows is drained before the next exchange. False when refused or
  // the write failed.
  bool sendRaw(const QByteArray& bytes);
  // Ends the running exchange at once without a message (a session's
  // watchdog gave up); stray input is drained before the next one.
  void abort();

  bool isBusy() const { return !m_queue.isEmpty(); }
  State state() const { return m_state; }
  const CommandQueue& queue() const { return m_queue; }
  AnswerDispatcher& dispatcher() { return m_dispatcher; }
  const Timings& timings() const { return m_timings; }

  // Resend counters of the current row.
  int retryCount() const { return m_retryCount; }
  int rejectCount() const { return m_rejectCount; }

  void sendCurrentRow();
  // Ends the exchange: queue emptied, timers off, input dropped, busy
  // pointer restored; exchangeEnded tells the window to refresh.
  void endExchange();
  // Stops the link's timers; an exchange still running is ended with them.
  void stopLink();

 Q_SIGNALS:
  void stateChanged(termika::Exchange::State state);
  // The queue ran out or the exchange was ended: time to refresh the window.
  void exchangeEnded();
  // The busy pointer goes on after a slow answer and off once the exchange ends.
  void busyPointer(bool busy);
  // The link closed the port itself: the logger is gone. Emitted before the
  // exchange ends, so everything that follows sees the state without it.
  void linkLost(termika::LinkFailure failure);
  // A time-out, a final rejection or a lost port ended any running session.
  void sessionAborted();
  // The link closed the port itself (time-out, rejections, port failure).
  void linkClosed();
  // The link gave up on a running exchange: the user is to be told why.
  // Last of the signals of a failure; a port lost between exchanges has none.
  void failed(termika::LinkFailure failure);

 private:
  void onReadyRead();
  void onTimeOut();
  void onBusyPointer();
  void onDrainQuiet();
  void onTransportFailed(const QString& message);
  void handleEvent(const FrameReceiver::Event& event);
  void handleGarbled();
  // What the session of the current row makes of a bad answer; `otherwise`
  // when no session owns the row.
  AnswerAction askSession(AnswerAction (SessionHandler::*hook)(CommandRow&),
                          AnswerAction otherwise);
  void applyAction(AnswerAction action);
  void sendNextRow();
  void enterDrain();
  void giveUp(LinkFailure failure);
  void closeLink();
  void setState(State state);
  void stopTimers();

  Timings m_timings;
  AnswerDispatcher m_dispatcher;
  QPointer<Transport> m_transport;
  CommandQueue m_queue;
  FrameReceiver m_receiver;
  State m_state = State::Idle;

  QTimer m_timeOut;
  QTimer m_busyTimer;
  QTimer m_drainTimer;
  QElapsedTimer m_drainSince;

  int m_retryCount = 0;
  int m_rejectCount = 0;
  quint64 m_sendGeneration = 0;
  bool m_busyShown = false;
  bool m_needsDrain = false;
  bool m_inHandler = false;
  bool m_readPending = false;
};

}  // namespace termika
