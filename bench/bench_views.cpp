// Timings of the views at the logger's full memory of 15000 points.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "core/data/DayTime.h"
#include "core/views/DumpModel.h"
#include "core/views/GraphGeometry.h"
#include "core/views/Navigation.h"
#include "ui/graph/GraphPainter.h"

namespace termika {
namespace {

constexpr int kPoints = 15000;

std::vector<PlotPoint> makePoints() {
  std::vector<PlotPoint> points;
  const qint64 start = secondsFromCivil(CivilTime{2010, 3, 1, 0, 0, 0});
  for (int i = 0; i < kPoints; ++i) {
    const float wave = static_cast<float>((i * 7919) % 2000) / 100.0f;
    points.push_back({start + 60LL * i, 10.0f + wave, 40.0f + wave, 1.0f + i / 5000,
                      static_cast<std::int16_t>(i + 1)});
  }
  return points;
}

GraphInput inputFor(const std::vector<PlotPoint>& points, GraphKind kind, QSize size) {
  GraphInput in;
  in.kind = kind;
  in.points = points;
  in.baseTime = points.back().time;
  in.width = points.back().time - points.front().time;
  in.range = kind == GraphKind::Temperature ? temperatureRange(200, 110) : humidityRange(500, 110);
  in.halfSpan = 110;
  in.size = size;
  in.unitText = QStringLiteral("C");
  in.titleText = QStringLiteral("T");
  return in;
}

void BM_Geometry15000(benchmark::State& state) {
  const auto points = makePoints();
  const GraphInput in = inputFor(points, GraphKind::Temperature, QSize(1600, 450));
  for (auto _ : state) benchmark::DoNotOptimize(buildGraphGeometry(in));
}
BENCHMARK(BM_Geometry15000)->Unit(benchmark::kMillisecond);

// Both graphs, geometry and painting, into one 1600 x 900 picture.
void BM_RedrawBothGraphs(benchmark::State& state) {
  const auto points = makePoints();
  QImage image(1600, 900, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    const GraphGeometry t =
        buildGraphGeometry(inputFor(points, GraphKind::Temperature, QSize(1600, 450)));
    draw(painter, t);
    painter.translate(0, 450);
    const GraphGeometry h =
        buildGraphGeometry(inputFor(points, GraphKind::Humidity, QSize(1600, 450)));
    draw(painter, h);
  }
}
BENCHMARK(BM_RedrawBothGraphs)->Unit(benchmark::kMillisecond);

struct RecordSet {
  QTemporaryDir dir;
  RecordFile file;
  RecordSet() {
    (void)file.open(dir.filePath(QStringLiteral("log.rand")));
    const auto points = makePoints();
    for (const PlotPoint& p : points) {
      DataRecord r;
      r.recordNo = p.recordNo;
      r.temperature = p.temperature;
      r.humidity = p.humidity;
      r.dateTime = secondsToDaySerial(p.time);
      r.segment = p.segment;
      (void)file.write(p.recordNo, r);
    }
  }
};

// Filling the list and showing its first screen of rows.
void BM_DumpModelReady(benchmark::State& state) {
  RecordSet set;
  DumpModel model(&set.file, UiText::load(UiText::Language::English));
  for (auto _ : state) {
    model.fill(kPoints);
    for (int r = 0; r < 40; ++r) {
      for (int c = 0; c < DumpModel::kColumnCount; ++c) {
        benchmark::DoNotOptimize(model.data(model.index(r, c)));
      }
    }
  }
}
BENCHMARK(BM_DumpModelReady)->Unit(benchmark::kMillisecond);

// A full sort of a freshly filled list by temperature (records read on demand).
void BM_DumpSortByTemperature(benchmark::State& state) {
  RecordSet set;
  DumpModel model(&set.file, UiText::load(UiText::Language::English));
  for (auto _ : state) {
    state.PauseTiming();
    model.setSort(0, 0);
    model.fill(kPoints);
    state.ResumeTiming();
    model.setSort(DumpModel::kTemperature, 1);
  }
}
BENCHMARK(BM_DumpSortByTemperature)->Unit(benchmark::kMillisecond);

void BM_LoadPlotPoints(benchmark::State& state) {
  RecordSet set;
  for (auto _ : state) benchmark::DoNotOptimize(loadPlotPoints(set.file, kPoints));
}
BENCHMARK(BM_LoadPlotPoints)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace termika

int main(int argc, char** argv) { return termika::bench::runBenchmarks<QApplication>(argc, argv); }
