#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace termika::testing {

// Runs the event loop until `done` holds or `timeoutMs` has passed.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
  QElapsedTimer clock;
  clock.start();
  QTimer wake;
  wake.start(2);
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

inline void runFor(int ms) {
  waitUntil([] { return false; }, ms);
}

}  // namespace termika::testing
