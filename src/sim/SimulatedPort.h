#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "core/link/PipeTransport.h"
#include "sim/SimScenario.h"
#include "sim/SimulatedLogger.h"

namespace termika {

// Connects a SimulatedLogger to the program in process: the pipe it hands
// out feeds the logger, and the logger's timed answers are delivered by a
// timer when their virtual time comes. Virtual ms = real elapsed ms times
// the speed factor, so a test can run the logger's 500 ms habits at 20x
// alongside Timings scaled by 20. Speed 0 means unpaced: every answer goes
// out as soon as it is due in the logger's own time line, without waiting.
class SimulatedPort final : public QObject {
  Q_OBJECT
 public:
  explicit SimulatedPort(SimScenario scenario, double speed = 1.0, QObject* parent = nullptr);
  ~SimulatedPort() override;

  // A new (closed) pipe whose peer is this logger. Only the newest pipe
  // receives answers; the port stays usable when an old pipe is deleted.
  std::unique_ptr<PipeTransport> makeTransport();

  SimulatedLogger& logger() { return *m_logger; }
  const SimulatedLogger& logger() const { return *m_logger; }
  double speed() const { return m_speed; }

  // The logger's virtual time now.
  qint64 virtualNow() const;

  // Adapter unplugged: the logger goes silent and the pipe fails.
  void unplug();

 private:
  void onWritten(const QByteArray& bytes);
  void pump();

  std::unique_ptr<SimulatedLogger> m_logger;
  double m_speed = 1.0;
  QElapsedTimer m_clock;
  qint64 m_unpacedNow = 0;  // virtual time when unpaced: follows the answers
  QTimer m_due;
  QPointer<PipeTransport> m_pipe;
};

}  // namespace termika
