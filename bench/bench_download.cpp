// A full 15000-point download through the in-process simulated logger,
// unpaced, fast (streamed) and slow (one request per point): only the
// program's own work counts, the wire time is left out.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <optional>

#include "BenchSupport.h"
#include "core/app/CsvActions.h"
#include "core/base/UserPrompts.h"
#include "core/link/Commands.h"
#include "core/link/Exchange.h"
#include "core/model/AppState.h"
#include "core/sessions/Download.h"
#include "sim/SimScenario.h"
#include "sim/SimulatedPort.h"

namespace termika {
namespace {

using bench::SilentPrompts;

constexpr char kFullMemory[] = R"({
  "model": "QM120-RH", "loggerName": "BNCH", "clock": "2026-12-20 00:00:00",
  "interval": {"unit": "minutes", "value": 1},
  "recording": {"blocks": [{"start": "2026-12-01 00:00:00", "points": 9000},
                           {"start": "2026-12-08 00:00:00", "points": 6000}]},
  "sensor": {"seed": 3}
})";

void waitIdle(const Exchange& exchange) {
  while (exchange.isBusy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BM_FullDownload(benchmark::State& state) {
  const bool slow = state.range(0) != 0;
  const auto scenario = parseScenario(QByteArray(kFullMemory));
  if (!scenario) {
    state.SkipWithError("scenario");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    QTemporaryDir dir;
    AppState app;
    SilentPrompts prompts;
    for (int i = 0; i < kSetCount; ++i) {
      (void)app.file(i).open(dir.filePath(QStringLiteral("set%1.rand").arg(i)));
    }
    Exchange exchange(app, prompts, Timings{});
    SimulatedPort port(*scenario, 0.0);  // unpaced
    auto pipe = port.makeTransport();
    (void)pipe->open();
    exchange.setTransport(pipe.get());
    app.modelName = scenario->model;
    app.downloadSlow = slow;
    exchange.start(commands::statusUpdateRows());
    waitIdle(exchange);
    CsvSaveOffer saveOffer(app, prompts);
    Download download(app, prompts, saveOffer, exchange);
    std::optional<bool> ok;
    QObject::connect(&download, &Download::finished, [&ok](bool done) { ok = done; });
    state.ResumeTiming();

    download.start();
    while (!ok || exchange.isBusy()) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    state.PauseTiming();
    if (!*ok || app.set(kLogSet).count != 15000 || prompts.messages != 0) {
      state.SkipWithError("the download did not complete");
    }
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * 15000);
}
BENCHMARK(BM_FullDownload)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("slow")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace termika

int main(int argc, char** argv) {
  return termika::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
