#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "EventWait.h"
#include "ScriptedPrompts.h"
#include "core/app/AppState.h"
#include "core/data/DayTime.h"
#include "core/link/Commands.h"
#include "core/link/Exchange.h"
#include "core/link/PipeTransport.h"
#include "core/link/Timings.h"
#include "core/sim/SimScenario.h"
#include "core/sim/SimulatedPort.h"

namespace termika::testing {

// Timers run ten times faster than in the program, and so does the logger.
inline constexpr int kScale = 10;

inline SimScenario scenarioFrom(const char* json) {
  auto s = parseScenario(QByteArray(json));
  if (!s) qFatal("scenario: %s", qPrintable(s.error().message));
  return *s;
}

inline qint64 at(int y, int mo, int d, int h, int mi, int s) {
  return secondsFromCivil({y, mo, d, h, mi, s});
}

// The program's state, its record files, the exchange and a simulated
// logger already connected through a pipe.
class SessionBench {
 public:
  explicit SessionBench(const SimScenario& scenario, double speed = kScale)
      : timings(Timings{}.scaled(kScale)), exchange(app, prompts, timings) {
    for (int i = 0; i < kSetCount; ++i) {
      (void)app.file(i).open(dir.filePath(QStringLiteral("set%1.rand").arg(i)));
    }
    port = std::make_unique<SimulatedPort>(scenario, speed);
    pipe = port->makeTransport();
    (void)pipe->open();
    exchange.setTransport(pipe.get());
    app.ModelName = scenario.model;
    app.Connected = true;
  }

  // The status read the connection makes, so the panel fields are filled.
  bool readStatus() {
    if (!exchange.start(commands::StatusUpdateRows())) return false;
    return waitUntil([this] { return !exchange.isBusy(); });
  }

  QTemporaryDir dir;
  AppState app;
  ScriptedPrompts prompts;
  Timings timings;
  Exchange exchange;
  std::unique_ptr<SimulatedPort> port;
  std::unique_ptr<PipeTransport> pipe;
};

}  // namespace termika::testing
