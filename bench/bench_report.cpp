// Figures for the report's summary of a full logger (15000 points).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cmath>

#include "BenchSupport.h"
#include "core/data/DayTime.h"
#include "core/report/ReportPoints.h"
#include "core/report/Summary.h"

namespace termika {
namespace {

constexpr int kPoints = 15000;

// A cold room at 5 °C, 1-minute interval, three recording blocks, with a
// daily door-open excursion above 8 °C and a few dips below 2 °C.
std::vector<DataRecord> fullLogger() {
  std::vector<DataRecord> records(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    DataRecord& r = records[static_cast<size_t>(i)];
    const int block = 1 + i / 5000;
    r.dateTime = secondsToDaySerial(41395LL * 86400 + 60LL * i + 3600LL * (block - 1));
    r.temperature = static_cast<float>(5.0 + 3.5 * std::sin(i / 229.0) + (i % 1440 < 20 ? 4 : 0));
    r.humidity = static_cast<float>(60.0 + 20.0 * std::cos(i / 97.0));
    r.segment = static_cast<float>(block);
    r.recordNo = static_cast<std::int16_t>(i + 1);
  }
  return records;
}

void BM_SummaryWithMkt15000(benchmark::State& state) {
  report::Input input;
  input.points = report::pointsFromRecords(fullLogger());
  input.intervalSeconds = 60;
  input.limits = {8.0, 2.0};
  for (auto _ : state) {
    const std::optional<report::Summary> s = report::summarize(input);
    benchmark::DoNotOptimize(s->meanKineticTemperature);
  }
}
BENCHMARK(BM_SummaryWithMkt15000)->Unit(benchmark::kMillisecond);

void BM_ReportPointsFromRecords15000(benchmark::State& state) {
  const std::vector<DataRecord> records = fullLogger();
  for (auto _ : state) benchmark::DoNotOptimize(report::pointsFromRecords(records).size());
}
BENCHMARK(BM_ReportPointsFromRecords15000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace termika

int main(int argc, char** argv) {
  return termika::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
