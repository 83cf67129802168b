#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <optional>

#include "EventWait.h"
#include "ScriptedPrompts.h"
#include "core/app/CsvActions.h"
#include "core/link/SimulatedAdapterPins.h"
#include "core/model/AppState.h"
#include "core/sessions/LoggerLink.h"

namespace termika::testing {

// Timers run four times faster than in the program: a pty to a local
// simulator answers in well under a millisecond, so no answer comes late.
inline constexpr int kFaultScale = 4;

// The program's core as the window wires it, on a real serial port: the
// connection with its scan and pulses, the exchange and every session.
class FaultProgram final {
 public:
  FaultProgram(const QString& portPattern, const QString& adapterFile)
      : link(app, prompts, saveOffer, partsFor(portPattern, adapterFile)) {
    for (int i = 0; i < kSetCount; ++i) {
      (void)app.file(i).open(records.filePath(QStringLiteral("set%1.rand").arg(i)));
    }
    QObject::connect(&download, &Download::finished, [this](Download::Outcome outcome) {
      downloadResult = outcome == Download::Outcome::Complete;
    });
  }

  static LoggerLinkParts partsFor(const QString& portPattern, const QString& adapterFile) {
    LoggerLinkParts parts;
    parts.timings = Timings{}.scaled(kFaultScale);
    parts.pins = std::make_unique<SimulatedAdapterPins>(adapterFile);
    parts.map = *PortMap::fromTemplate(portPattern);
    return parts;
  }

  bool busy() const {
    return connection.isConnecting() || exchange.isBusy() || download.running() ||
           exchange.state() != Exchange::State::Idle;
  }

  // Probes port 1 and waits for the scan and the status read to end.
  bool connect() {
    if (!connection.connectOnce(1)) return false;
    return settle() && connection.isConnected();
  }

  // Waits until nothing runs any more (a continuous series is stopped first
  // by the caller); false when the program is still busy after `ms`.
  bool settle(int ms = 20000) {
    const bool idle = waitUntil([this] { return !busy(); }, ms);
    runFor(5);  // a message deferred to the next turn of the event loop
    return idle;
  }

  std::vector<QString> messages() const {
    std::vector<QString> out;
    for (const auto& call : prompts.callsOf(ScriptedPrompts::Kind::Info))
      out.push_back(call.message);
    return out;
  }

  QTemporaryDir records;
  AppState app;
  ScriptedPrompts prompts;
  CsvSaveOffer saveOffer{app, prompts};
  LoggerLink link;
  const Timings& timings = link.timings();
  Exchange& exchange = link.exchange();
  Connection& connection = link.connection();
  Download& download = link.download();
  RealTimeMeasurement& realTime = link.realTime();
  DeviceRequests& requests = link.requests();
  std::optional<bool> downloadResult;
};

}  // namespace termika::testing
