#pragma once

#include <QStringList>
#include <QTemporaryDir>

#include "FuzzSupport.h"
#include "core/app/CsvActions.h"
#include "core/link/AnswerDispatcher.h"
#include "core/link/Exchange.h"
#include "core/link/PipeTransport.h"
#include "core/link/Timings.h"
#include "core/model/AppState.h"
#include "core/sessions/Download.h"
#include "core/sessions/LinkLoss.h"
#include "core/sessions/RealTimeMeasurement.h"

namespace termika::fuzz {

// Row modes as fuzz_answer inputs number them: a mode's place in SessionMode,
// modulo the number of modes.
inline constexpr int kSessionModeCount = static_cast<int>(SessionMode::ContinuousMeasurement) + 1;
inline SessionMode sessionMode(std::uint8_t index) {
  return static_cast<SessionMode>(index % kSessionModeCount);
}

// A connected program with both long sessions on an in-process pipe; the
// caller plays the logger. `what` is the first byte of a fuzz_sessions
// input: 0 fast download, 1 slow download, 2 one-time and 3 continuous
// measurement.
class SessionRig final {
 public:
  SessionRig(const QString& recordFolder, int what)
      : exchange(app, prompts, timings), m_what(what) {
    for (int i = 0; i < kSetCount; ++i) {
      require(app.file(i).open(recordFolder + QStringLiteral("/set%1").arg(i)).ok());
    }
    app.connected = true;
    app.modelName = QStringLiteral("QM120-RH");
    app.status.usedMemory = 4000;  // the download asks the logger again
    app.downloadSlow = what == 1;
    require(pipe.open().ok());
    exchange.setTransport(&pipe);
    realTime.setClock([] { return qint64{3'900'000'000}; });
  }

  bool start() {
    switch (m_what) {
      case 0:
      case 1:
        return download.start();
      case 2:
        return realTime.measureOnce();
      default:
        return realTime.startSeries(RealTimeMeasurement::kMinSpacing, false);
    }
  }

  AppState app;
  SilentPrompts prompts;
  CsvSaveOffer saveOffer{app, prompts};
  const Timings timings;
  Exchange exchange;
  LinkLoss linkLoss{app, prompts, exchange};
  PipeTransport pipe;
  Download download{app, prompts, saveOffer, exchange};
  RealTimeMeasurement realTime{app, prompts, saveOffer, exchange, timings};

 private:
  int m_what;
};

}  // namespace termika::fuzz
