// Timings of printing at the logger's full memory: a PDF of a 15000-row dump
// and a PDF of one graph page.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "core/model/AppState.h"
#include "core/data/DayTime.h"
#include "core/data/ExtremesUpdate.h"
#include "ui/print/PrintActions.h"

namespace termika {
namespace {

constexpr int kPoints = 15000;

// The log set filled with a day-and-a-half wave, one point a minute, every
// tenth point with an alarm remark.
void fill(AppState& state, const QTemporaryDir& dir) {
  if (!state.file(kLogSet).open(dir.filePath(QStringLiteral("log.rand")))) std::abort();
  DataSet& set = state.set(kLogSet);
  set.allExtremes.reset();
  const double start = *toDaySerial(CivilTime{2010, 3, 1, 0, 0, 0});
  std::vector<DataRecord> records;
  for (int i = 0; i < kPoints; ++i) {
    DataRecord r;
    r.recordNo = static_cast<std::int16_t>(i + 1);
    const float wave = static_cast<float>((i * 7919) % 2000) / 100.0f;
    r.temperature = 10.0f + wave;
    r.humidity = 40.0f + wave;
    r.dateTime = start + i / 1440.0;
    r.segment = 1.0f;
    r.remarks = fitRemarks(i % 10 == 0 ? QStringLiteral("上限越 ") : QString());
    updateExtremes(r, set.allExtremes);
    records.push_back(r);
  }
  if (!state.file(kLogSet).writeRange(1, records)) std::abort();
  set.count = kPoints;
  set.interval = 60;
  set.model = QStringLiteral("QM120-RH");
  set.loggerName = QStringLiteral("BNCH");
}

void BM_DumpPdf15000(benchmark::State& state) {
  QTemporaryDir dir;
  AppState app;
  fill(app, dir);
  const QString pdf = dir.filePath(QStringLiteral("dump.pdf"));
  int pages = 0;
  for (auto _ : state) {
    const Result<int> written = printSetToPdf(app, kLogSet, true, pdf);
    if (!written)
      state.SkipWithError(qPrintable(written.error().message));
    else
      pages = *written;
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_DumpPdf15000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GraphPdf15000(benchmark::State& state) {
  QTemporaryDir dir;
  AppState app;
  fill(app, dir);
  const QString pdf = dir.filePath(QStringLiteral("graph.pdf"));
  for (auto _ : state) {
    const Result<int> written = printSetToPdf(app, kLogSet, false, pdf);
    if (!written) state.SkipWithError(qPrintable(written.error().message));
  }
}
BENCHMARK(BM_GraphPdf15000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace termika

int main(int argc, char** argv) { return termika::bench::runBenchmarks<QApplication>(argc, argv); }
