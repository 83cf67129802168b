// The main window's own timings: start-up to the first paint, memory with a
// full logger memory loaded, the step from the last downloaded point to
// graphs and dump on screen, a wheel zoom step and a resize with their repaints.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <cmath>
#include <memory>

#include "BenchSupport.h"
#include "core/app/ProgramFiles.h"
#include "core/data/DayTime.h"
#include "core/data/ExtremesUpdate.h"
#include "core/model/AppState.h"
#include "ui/DataViews.h"
#include "ui/MainWindow.h"
#include "ui/graph/GraphView.h"

namespace termika {
namespace {

constexpr int kPoints = 15000;

// Counts the window's paint events.
class PaintCounter final : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

struct Window {
  QTemporaryDir dir;
  AppState state;
  std::unique_ptr<ProgramFiles> files;
  std::unique_ptr<MainWindow> window;
  Window() {
    files = std::make_unique<ProgramFiles>(dir.path());
    (void)files->open(state);
    window = std::make_unique<MainWindow>(state, Settings(dir.path(), dir.path()), *files);
  }
  ~Window() {
    window.reset();
    files->close(state);
  }
};

DataRecord pointAt(int i) {
  DataRecord r;
  r.recordNo = static_cast<std::int16_t>(i + 1);
  r.dateTime = secondsToDaySerial(secondsFromCivil({2026, 11, 1, 0, 0, 0}) + 60LL * i);
  r.temperature = static_cast<float>(20.0 + 6.0 * std::sin(i / 300.0));
  r.humidity = static_cast<float>(50.0 + 15.0 * std::cos(i / 450.0));
  r.segment = 1;
  return r;
}

double residentMegabytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0.0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:"))
      return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
  }
  return 0.0;
}

void BM_StartupToFirstPaint(benchmark::State& state) {
  for (auto _ : state) {
    Window w;
    PaintCounter counter;
    w.window->installEventFilter(&counter);
    w.window->show();
    while (counter.paints == 0) QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}
BENCHMARK(BM_StartupToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_RssWith15000PointCsv(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("full.csv"));
  {
    QString text = QStringLiteral(
        "\"認識名称\",\"開始時刻\",\"記録点数\",\"記録間隔\",\"上限温度設定\",\"下限温度設定\"\r\n"
        "\"FULL\",\"2026/11/01 00:00:00\",\"15000\",\"60\",\"OFF\",\"OFF\"\r\n"
        "\"記録番号\",\"日時\",\"温度\",\"湿度\",\"備考\"\r\n");
    for (int i = 0; i < kPoints; ++i) {
      const DataRecord r = pointAt(i);
      const CivilTime t = civilFromDaySerial(r.dateTime);
      text += QStringLiteral("%1,\"%2/%3/%4 %5:%6:00\",\"%7\",\"%8\",\"\"\r\n")
                  .arg(i + 1)
                  .arg(t.year)
                  .arg(t.month, 2, 10, QLatin1Char('0'))
                  .arg(t.day, 2, 10, QLatin1Char('0'))
                  .arg(t.hour, 2, 10, QLatin1Char('0'))
                  .arg(t.minute, 2, 10, QLatin1Char('0'))
                  .arg(r.temperature, 0, 'f', 2)
                  .arg(r.humidity, 0, 'f', 2);
    }
    QFile file(path);
    (void)file.open(QIODevice::WriteOnly);
    file.write(QStringEncoder("windows-31j").encode(text));
  }
  for (auto _ : state) {
    Window w;
    w.window->show();
    QApplication::processEvents();
    if (!w.window->openCsvFile(path)) state.SkipWithError("the CSV was not read");
    QApplication::processEvents();
    state.counters["points"] = w.state.set(kFileSet).count;
    state.counters["RSS_MB"] = residentMegabytes();
  }
}
BENCHMARK(BM_RssWith15000PointCsv)->Unit(benchmark::kMillisecond)->Iterations(1);

// A full log set of 15000 points in the window's record file.
void fillLogSet(Window& w) {
  DataSet& set = w.state.set(kLogSet);
  for (int i = 0; i < kPoints; ++i) {
    const DataRecord r = pointAt(i);
    (void)w.state.file(kLogSet).write(i + 1, r);
    updateExtremes(r, set.allExtremes);
  }
  set.count = kPoints;
}

// Both graphs painted on the screen now, not at the next turn of the loop.
void repaintGraphs(Window& w) {
  w.window->controls().temperatureGraph->repaint();
  w.window->controls().humidityGraph->repaint();
}

// What the window does once the last point of a download is stored.
void BM_LastPointToGraphsAndDump(benchmark::State& state) {
  Window w;
  w.window->resize(1600, 1000);
  w.window->show();
  QApplication::processEvents();
  fillLogSet(w);
  for (auto _ : state) {
    w.window->views().setReplaced(kLogSet);
    w.window->refreshState();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_LastPointToGraphsAndDump)->Unit(benchmark::kMillisecond);

// One wheel notch over the temperature graph of a full log set, in and out
// in turn: the bars move, both graphs are drawn again and painted.
void BM_WheelZoomStep15000(benchmark::State& state) {
  Window w;
  w.window->resize(1600, 1000);
  w.window->show();
  QApplication::processEvents();
  fillLogSet(w);
  w.window->views().setReplaced(kLogSet);
  w.window->refreshState();  // the bars, and so the gestures, come alive
  QApplication::processEvents();
  GraphView* graph = w.window->controls().temperatureGraph;
  const QPointF at(graph->width() / 2.0, graph->height() / 2.0);
  int notch = 120;
  for (auto _ : state) {
    QWheelEvent wheel(at, graph->mapToGlobal(at), {}, {0, notch}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(graph, &wheel);
    repaintGraphs(w);
    notch = -notch;
  }
  state.counters["width_steps"] = w.window->views().navigation().bar(TemperatureWidth).value;
}
BENCHMARK(BM_WheelZoomStep15000)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

// The window grown from 800 x 600 to 1920 x 1080 with a full log set shown,
// until both graphs are drawn at their new size and painted.
void BM_ResizeRepaint800To1920(benchmark::State& state) {
  Window w;
  w.window->resize(800, 600);
  w.window->show();
  QApplication::processEvents();
  fillLogSet(w);
  w.window->views().setReplaced(kLogSet);
  const GraphView* graph = w.window->controls().temperatureGraph;
  const auto settle = [&] {
    do {
      QApplication::processEvents();
    } while (graph->image().size() != graph->size() * graph->devicePixelRatio());
    repaintGraphs(w);
  };
  settle();
  for (auto _ : state) {
    w.window->resize(1920, 1080);
    settle();
    state.PauseTiming();
    w.window->resize(800, 600);
    settle();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ResizeRepaint800To1920)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

// What each measured point keeps in memory once the window has shown it
// (refreshed and painted, as a real-time point is): its plot point, its dump
// row and the view's bookkeeping. RSS is read after a warm-up, so the figure
// is growth per point, not start-up.
void BM_MemoryPerRealTimePoint(benchmark::State& state) {
  constexpr int kWarmUp = 1000;
  constexpr int kMeasured = 4000;
  for (auto _ : state) {
    Window w;
    w.window->resize(1600, 1000);
    w.window->show();
    QApplication::processEvents();
    w.window->views().showView(kRealTimeSet, w.state.viewMode);
    DataSet& set = w.state.set(kRealTimeSet);
    double before = 0.0;
    for (int i = 0; i < kWarmUp + kMeasured; ++i) {
      if (i == kWarmUp) before = residentMegabytes();
      const DataRecord r = pointAt(i);
      (void)w.state.file(kRealTimeSet).write(i + 1, r);
      updateExtremes(r, set.allExtremes);
      set.count = i + 1;
      w.window->views().pointAppended(kRealTimeSet);
      w.window->refreshState();
      QApplication::processEvents();
    }
    state.counters["bytes_per_point"] = (residentMegabytes() - before) * 1024 * 1024 / kMeasured;
  }
}
BENCHMARK(BM_MemoryPerRealTimePoint)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace termika

int main(int argc, char** argv) { return termika::bench::runBenchmarks<QApplication>(argc, argv); }
