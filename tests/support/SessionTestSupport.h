#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <vector>

#include "EventWait.h"
#include "ScenarioFixture.h"
#include "ScriptedPrompts.h"
#include "core/app/CsvActions.h"
#include "core/data/DayTime.h"
#include "core/link/Commands.h"
#include "core/link/Exchange.h"
#include "core/link/PipeTransport.h"
#include "core/link/Timings.h"
#include "core/model/AppState.h"
#include "core/sessions/LoggerLink.h"
#include "sim/SimulatedPort.h"

namespace termika::testing {

// Timers run ten times faster than in the program, and so does the logger.
inline constexpr int kScale = 10;

inline qint64 at(int y, int mo, int d, int h, int mi, int s) {
  return secondsFromCivil({y, mo, d, h, mi, s});
}

// The points of one set, in record order.
inline std::vector<DataRecord> records(const AppState& app, int set) {
  std::vector<DataRecord> out;
  for (int i = 1; i <= app.set(set).count; ++i) out.push_back(app.file(set).read(i).value());
  return out;
}

// Pins whose adapter the test can pull out.
class PullablePins final : public AdapterPins {
 public:
  Result<void> pulse(const QString&, std::uint8_t) override { return {}; }
  AdapterPresence presence(const QString&) override {
    return plugged ? AdapterPresence::Present : AdapterPresence::Absent;
  }
  QString description() const override { return QStringLiteral("test pins"); }
  bool plugged = true;
};

// The program's state, its record files, its link and a simulated logger.
// Without `loggerPort` the logger is already connected to the exchange
// through a pipe; with it, the logger waits on that port number for the
// connection to find it (every other number has no device).
class SessionBench {
 public:
  explicit SessionBench(const SimScenario& scenario, double speed = kScale, int loggerPort = 0)
      : port(std::make_unique<SimulatedPort>(scenario, speed)),
        link(app, prompts, saveOffer, parts(loggerPort)) {
    for (int i = 0; i < kSetCount; ++i) {
      (void)app.file(i).open(dir.filePath(QStringLiteral("set%1.rand").arg(i)));
    }
    if (loggerPort != 0) return;
    pipe = port->makeTransport();
    (void)pipe->open();
    exchange.setTransport(pipe.get());
    app.modelName = scenario.model;
    app.connected = true;
  }

  // The status read the connection makes, so the panel fields are filled.
  bool readStatus() { return exchange.start(commands::statusUpdateRows()) && idle(); }
  bool idle() {
    return waitUntil([this] { return !exchange.isBusy(); });
  }

  QTemporaryDir dir;
  AppState app;
  ScriptedPrompts prompts;
  CsvSaveOffer saveOffer{app, prompts};
  std::unique_ptr<SimulatedPort> port;
  std::unique_ptr<PipeTransport> pipe;  // plugged in by the bench
  PipeTransport* lastPipe = nullptr;    // the last one the connection made
  LoggerLink link;
  Exchange& exchange = link.exchange();
  Connection& connection = link.connection();
  Download& download = link.download();
  RealTimeMeasurement& realTime = link.realTime();
  DeviceRequests& requests = link.requests();
  PullablePins& pins = static_cast<PullablePins&>(link.pins());

 private:
  LoggerLinkParts parts(int loggerPort) {
    LoggerLinkParts parts;
    parts.timings = Timings{}.scaled(kScale);
    parts.pins = std::make_unique<PullablePins>();
    parts.map = *PortMap::fromTemplate(QStringLiteral("/sim/tty%1"));
    parts.factory = [this, loggerPort](int n) -> std::unique_ptr<Transport> {
      if (n != loggerPort) return nullptr;
      auto made = port->makeTransport();
      lastPipe = made.get();
      return made;
    };
    return parts;
  }
};

inline QString scenarioPath(const char* name) {
  return qEnvironmentVariable("TERMIKA_SOURCE_DIR") + QStringLiteral("/scenarios/") +
         QLatin1String(name);
}

// One of the scenarios shipped with the program.
inline SimScenario scenarioFile(const char* name) {
  auto s = loadScenario(scenarioPath(name));
  if (!s) qFatal("scenario %s: %s", name, qPrintable(s.error().message));
  return *s;
}

// Three runs of 60, 48 and 96 points, ten minutes apart, alarm limits 26 and 18 on.
inline constexpr char kThreeBlocks[] = "qm120-three-blocks.json";
// 16000 one-minute points in two runs of a loop recording: memory wrapped once, write position
// 1000 points.
inline constexpr char kWrappedOnce[] = R"({
  "model": "QM120-RH", "loggerName": "LOOP", "clock": "2026-12-20 00:00:00",
  "state": "idle", "recordMode": "loop", "interval": {"unit": "minutes", "value": 1},
  "recording": {"blocks": [{"start": "2026-11-01 00:00:00", "points": 9000},
                           {"start": "2026-11-08 00:00:00", "points": 7000}],
                "olderEntry": "2026-10-01 00:00:00"},
  "sensor": {"seed": 9}
})";

// A bench that has read the logger's status, and a download session on it.
struct DownloadRun {
  explicit DownloadRun(const SimScenario& scenario, bool readStatus = true) : bench(scenario) {
    EXPECT_TRUE(!readStatus || bench.readStatus());
  }
  explicit DownloadRun(const char* json) : DownloadRun(scenarioFrom(json)) {}

  // Starts a download and runs until it has finished and the link is idle; true when complete,
  // nullopt: not started. `outcome` holds how it ended.
  std::optional<bool> download(bool slow) {
    bench.app.downloadSlow = slow;
    std::optional<Download::Outcome> ended;
    const auto watch =
        QObject::connect(&session, &Download::finished, [&](Download::Outcome o) { ended = o; });
    const bool started = session.start();
    if (started) {
      EXPECT_TRUE(waitUntil([&] { return ended.has_value() && !bench.exchange.isBusy(); }, 60000));
      runFor(5);  // a deferred message
    }
    QObject::disconnect(watch);
    outcome = ended;
    if (!started || !ended) return std::nullopt;
    return *ended == Download::Outcome::Complete;
  }

  std::vector<DataRecord> records() const { return testing::records(bench.app, kLogSet); }

  // Compares the log set with the points the scenario's logger holds, or with the first `kept`
  // of them in address order, the part a cancel keeps: times and raws alike, a new run wherever
  // the logger's run changes or points are missing.
  void expectSetMatchesLogger(int kept = LoggerMemory::kPoints) const {
    std::vector<SimPoint> expected;
    for (const SimPoint& p : bench.port->logger().expectedTimeOrder())
      if (p.address < 4 * kept) expected.push_back(p);
    const std::vector<DataRecord> got = records();
    const int interval = bench.app.set(kLogSet).interval;
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
      ASSERT_EQ(got[i].recordNo, static_cast<int>(i) + 1);
      ASSERT_EQ(got[i].dateTime, secondsToDaySerial(expected[i].seconds)) << "record " << i + 1;
      ASSERT_EQ(got[i].raw, expected[i].raw) << "record " << i + 1;
      const bool newRun = i > 0 && (expected[i].segment != expected[i - 1].segment ||
                                    expected[i].seconds - expected[i - 1].seconds != interval);
      ASSERT_EQ(i > 0 && got[i].segment != got[i - 1].segment, newRun) << "record " << i + 1;
    }
  }

  SessionBench bench;
  Download& session = bench.download;
  std::optional<Download::Outcome> outcome;
};

}  // namespace termika::testing
