// Figures for the data layer at a full logger's size (15000 points).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "core/base/UiText.h"
#include "core/data/Conversion.h"
#include "core/data/Csv.h"
#include "core/data/DayTime.h"

namespace termika {
namespace {

constexpr int kPoints = 15000;

struct Fixture {
  QTemporaryDir dir;
  RecordFile file;
  DataSet set;
  UiText texts = UiText::load(UiText::Language::Japanese);

  Fixture() {
    (void)file.open(dir.filePath(QStringLiteral("log.rand")));
    set.interval = 60;
    set.model = QStringLiteral("QM120-RH");
    set.loggerName = QStringLiteral("R101");
    set.upperAlarm = {30, 0, 128};
    set.lowerAlarm = {5, 0, 128};
    std::vector<DataRecord> records(kPoints);
    for (int i = 0; i < kPoints; ++i) {
      DataRecord& r = records[static_cast<size_t>(i)];
      const int t = 3000 + (i * 7) % 8000;
      const int h = 500 + (i * 13) % 3000;
      r.raw = {static_cast<std::uint8_t>(t >> 8), static_cast<std::uint8_t>(t & 0xFF),
               static_cast<std::uint8_t>(h >> 8), static_cast<std::uint8_t>(h & 0xFF)};
      r.dateTime = secondsToDaySerial(41395LL * 86400 + 60LL * i);
      r.segment = 1;
      r.recordNo = static_cast<std::int16_t>(i + 1);
      convertSample(r, set.interval);
    }
    (void)file.writeRange(1, records);
    set.count = kPoints;
    (void)convertDataSet(set, file, texts);  // alarm remarks as after a download
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_CsvWrite(benchmark::State& state) {
  Fixture& f = fixture();
  const QString path = f.dir.filePath(QStringLiteral("w.csv"));
  for (auto _ : state) {
    const Result<void> r = writeCsvFile(path, f.set, f.file, f.texts);
    benchmark::DoNotOptimize(r.ok());
  }
}
BENCHMARK(BM_CsvWrite)->Unit(benchmark::kMillisecond);

void BM_CsvRead(benchmark::State& state) {
  Fixture& f = fixture();
  const QString path = f.dir.filePath(QStringLiteral("r.csv"));
  (void)writeCsvFile(path, f.set, f.file, f.texts);
  for (auto _ : state) {
    const CsvReadResult r = readCsvFile(path, f.texts);
    benchmark::DoNotOptimize(r.ok());
  }
}
BENCHMARK(BM_CsvRead)->Unit(benchmark::kMillisecond);

void BM_ConvertDataSet(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    const Result<void> r = convertDataSet(f.set, f.file, f.texts);
    benchmark::DoNotOptimize(r.ok());
  }
}
BENCHMARK(BM_ConvertDataSet)->Unit(benchmark::kMillisecond);

void BM_RecordFileWriteRead(benchmark::State& state) {
  Fixture& f = fixture();
  RecordFile other;
  (void)other.open(f.dir.filePath(QStringLiteral("copy.rand")));
  const std::vector<DataRecord> records = f.file.readRange(1, kPoints);
  for (auto _ : state) {
    (void)other.writeRange(1, records);
    const std::vector<DataRecord> back = other.readRange(1, kPoints);
    benchmark::DoNotOptimize(back.size());
  }
}
BENCHMARK(BM_RecordFileWriteRead)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace termika

int main(int argc, char** argv) {
  return termika::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
