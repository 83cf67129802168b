// Throughput of the exchange cycle over the in-process port: status reads
// answered at once by a minimal logger, so only the link's own work counts.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "BenchSupport.h"
#include "core/base/UserPrompts.h"
#include "core/link/Commands.h"
#include "core/link/Exchange.h"
#include "core/link/FrameReceiver.h"
#include "core/link/PipeTransport.h"
#include "core/model/AppState.h"

namespace termika {
namespace {

using bench::SilentPrompts;

// Answers every frame with (1, code, 0, 0), the identify request with a model and version.
QByteArray answerTo(const QByteArray& frameBytes) {
  const auto code = frame::decodePair(static_cast<std::uint8_t>(frameBytes.at(2)),
                                      static_cast<std::uint8_t>(frameBytes.at(3)))
                        .value_or(0);
  if (code == 99) return QByteArray("QM120-RH\x01\x05\xFF", 11);
  return frame::encode({1, code, 0, 0});
}

void BM_StatusReadExchanges(benchmark::State& state) {
  AppState app;
  SilentPrompts prompts;
  PipeTransport port;
  Exchange exchange(app, prompts, Timings{});
  std::int64_t bytes = 0;
  port.setPeer([&](const QByteArray& written) {
    const QByteArray answer = answerTo(written);
    bytes += written.size() + answer.size();
    port.deliver(answer);
  });
  if (!port.open().ok()) state.SkipWithError("port did not open");
  exchange.setTransport(&port);
  const CommandRows rows = commands::statusUpdateRows();

  for (auto _ : state) {
    if (!exchange.start(rows)) {
      state.SkipWithError("exchange refused");
      break;
    }
    while (exchange.isBusy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  if (prompts.messages != 0) state.SkipWithError("the link gave up");
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(bytes);
  state.counters["rows/s"] = benchmark::Counter(
      static_cast<double>(state.iterations() * rows.size()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StatusReadExchanges)->Iterations(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_FrameReceiverStream(benchmark::State& state) {
  QByteArray stream;
  for (int i = 0; i < 15000; ++i) {
    stream += frame::encode({static_cast<std::uint8_t>(i % 256), 1, 2, 3});
  }
  for (auto _ : state) {
    FrameReceiver receiver;
    std::size_t answers = 0;
    for (qsizetype at = 0; at < stream.size(); at += 64)
      answers += receiver.feed(stream.mid(at, 64)).size();
    benchmark::DoNotOptimize(answers);
  }
  state.SetBytesProcessed(state.iterations() * stream.size());
}
BENCHMARK(BM_FrameReceiverStream)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace termika

int main(int argc, char** argv) {
  return termika::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
