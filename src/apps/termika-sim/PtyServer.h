#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <memory>

#include "FrameTrace.h"
#include "core/base/Result.h"
#include "sim/SimulatedLogger.h"

namespace termika {

// Serves a simulated logger on a pseudo-terminal: what the program writes to
// the terminal goes to the logger, the logger's answers are written back when
// they fall due. Virtual time is the real time since the server started.
class PtyServer final : public QObject {
  Q_OBJECT
 public:
  PtyServer(std::unique_ptr<SimulatedLogger> logger, FrameTrace* trace, QObject* parent = nullptr);
  ~PtyServer() override;

  // Opens the terminal in raw mode; the value is the device path to use.
  Result<QString> open();
  qint64 elapsedMs() const { return m_clock.elapsed(); }

 Q_SIGNALS:
  // The unplug fault fired: the terminal is closed.
  void unplugged();

 private:
  void onReadable();
  void onWritable();
  void pump();
  void closeTerminal();

  std::unique_ptr<SimulatedLogger> m_logger;
  FrameTrace* m_trace;
  int m_master = -1;
  int m_slave = -1;  // held open so the master never reads end-of-file between clients
  QSocketNotifier* m_readNotifier = nullptr;
  QSocketNotifier* m_writeNotifier = nullptr;
  QTimer m_due;
  QElapsedTimer m_clock;
  QByteArray m_outbox;
};

}  // namespace termika
