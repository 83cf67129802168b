#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

#include "FrameTrace.h"

namespace termika {

// The simulated USB adapter: its presence is a file, and the program's
// simulated pin driver appends a line "pulse <levels> <epoch-ms>" to it for
// every CBUS pulse. The lines are copied into the trace so the probe's pulse
// sequence can be checked. The file starts with a mark line: a path that
// holds anything but such a file (left by a killed run) is refused, never
// truncated or removed.
class AdapterFile final : public QObject {
  Q_OBJECT
 public:
  AdapterFile(QString path, FrameTrace* trace, std::function<qint64()> clockMs,
              QObject* parent = nullptr);
  ~AdapterFile() override;

  bool create(QString* error);
  void remove();

 private:
  void poll();

  QString m_path;
  FrameTrace* m_trace;
  std::function<qint64()> m_clockMs;
  QTimer m_poll;
  qint64 m_offset = 0;
  QByteArray m_partial;
  bool m_created = false;
};

}  // namespace termika
