// Timings of printing at the logger's full memory: a PDF of a 15000-row dump,
// a PDF of one graph page and the summary report.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cmath>

#include "BenchSupport.h"
#include "core/data/DayTime.h"
#include "core/data/ExtremesUpdate.h"
#include "core/model/AppState.h"
#include "ui/print/PrintActions.h"
#include "ui/print/PrintTarget.h"
#include "ui/print/ReportPrint.h"

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

// A report as an auditor asks for it: ten and a half days of a daily wave
// between 14 and 26 °C against an upper limit of 25 °C (one excursion a day),
// summary and graph pages.
void BM_ReportPdf15000(benchmark::State& state) {
  QTemporaryDir dir;
  AppState app;
  fill(app, dir);
  std::vector<DataRecord> records = app.file(kLogSet).readRange(1, kPoints);
  for (size_t i = 0; i < records.size(); ++i) {
    records[i].temperature = 20.0f + 6.0f * static_cast<float>(std::sin(i * 2 * M_PI / 1440.0));
  }
  if (!app.file(kLogSet).writeRange(1, records)) std::abort();
  ReportOptions options;
  options.upperLimit = 25.0;
  const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
  int pages = 0;
  for (auto _ : state) {
    const Result<PagePainter> report = prepareReportPrint(app, kLogSet, options, "bench");
    const Result<PrintOutcome> written = report ? writePdf(pdf, *report) : report.error();
    if (!written)
      state.SkipWithError(qPrintable(written.error().message));
    else
      pages = written->pages;
  }
  state.counters["pages"] = pages;
}
BENCHMARK(BM_ReportPdf15000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace termika

int main(int argc, char** argv) { return termika::bench::runBenchmarks<QApplication>(argc, argv); }
