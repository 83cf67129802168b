// Fast download of a full logger through the frame codec and the simulated
// logger, all in process and unpaced: the cost the simulator adds to tests.
#include <benchmark/benchmark.h>

#include "core/link/Frame.h"
#include "sim/SimulatedLogger.h"

namespace {

termika::SimScenario fullMemory() {
  termika::SimScenario s;
  s.clockSeconds = 46000LL * 86400;
  s.intervalUnit = termika::IntervalUnit::Minutes;
  s.intervalValue = 1;
  s.blocks.push_back({s.clockSeconds - 15000LL * 60, 15000});
  return s;
}

void FastStreamOf15000Points(benchmark::State& state) {
  termika::SimulatedLogger logger(fullMemory());
  const QByteArray request = termika::frame::encode({1, 44, 234, 96});  // 60000 bytes
  for (auto _ : state) {
    logger.receive(request);
    int points = 0;
    unsigned checksum = 0;
    for (const termika::SimChunk& chunk : logger.takeOutputUntil(logger.now())) {
      // Split the delivered bytes into answers and decode each, as the link does.
      qsizetype start = 0;
      for (qsizetype end = chunk.bytes.indexOf('\xff'); end >= 0;
           end = chunk.bytes.indexOf('\xff', start)) {
        const auto point = termika::frame::decodeAnswer(chunk.bytes.mid(start, end - start + 1));
        if (point) {
          ++points;
          checksum += (*point)[1];
        }
        start = end + 1;
      }
    }
    if (points != 15000) state.SkipWithError("not all points arrived");
    benchmark::DoNotOptimize(checksum);
  }
}
BENCHMARK(FastStreamOf15000Points)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
