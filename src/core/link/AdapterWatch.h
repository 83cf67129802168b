#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

#include "core/link/AdapterPins.h"
#include "core/link/Timings.h"

namespace termika {

// While connected and the link idle, looks every
// Timings::adapterCheck whether the port's adapter is still plugged in. It
// only enumerates, so the open port is never disturbed; an adapter the
// library cannot see ("unavailable") is not taken for an unplugged one.
class AdapterWatch final : public QObject {
  Q_OBJECT
 public:
  // `linkIdle` tells whether the command queue is empty; null means always.
  AdapterWatch(const Timings& timings, AdapterPins& pins, std::function<bool()> linkIdle,
               QObject* parent = nullptr);

  // Starts watching the adapter of the connected port.
  void watch(const QString& portPath);
  void stop();
  bool watching() const { return m_timer.isActive(); }

 Q_SIGNALS:
  // Emitted once; watching stops with it.
  void unplugged();

 private:
  void checkAdapterPresent();

  AdapterPins& m_pins;
  std::function<bool()> m_linkIdle;
  QTimer m_timer;
  QString m_portPath;
};

}  // namespace termika
