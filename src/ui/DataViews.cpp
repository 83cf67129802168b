#include "ui/DataViews.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableView>
#include <QWidget>

#include "core/model/AppState.h"
#include "core/views/GraphGeometry.h"
#include "ui/dump/DumpTableView.h"
#include "ui/graph/GraphScrollBar.h"
#include "ui/graph/GraphView.h"

namespace termika {
namespace {

constexpr int kTemperatureImage = 0;
constexpr int kHumidityImage = 1;

// Which graphs a change of each bar redraws: the time bars of the
// temperature graph move both graphs, the others only their own.
struct Redraw {
  bool temperature;
  bool humidity;
};
Redraw redrawFor(Bar bar) {
  switch (bar) {
    case TemperatureWidth:
    case TemperatureOffset:
      return {true, true};
    case TemperatureHalfSpan:
    case TemperatureCentre:
      return {true, false};
    case HumidityWidth:
    case HumidityOffset:
    case HumidityHalfSpan:
    case HumidityCentre:
      break;
  }
  return {false, true};
}

// A page step of a tenth of the bar's length keeps clicks in the trough useful
// on both a 50-step and a 32767-step bar.
void setSteps(QScrollBar& bar) {
  const int length = bar.maximum() - bar.minimum();
  bar.setSingleStep(1);
  bar.setPageStep(std::max(1, length / 10));
}

}  // namespace

QString BarName(Bar bar) {
  const int n = static_cast<int>(bar);
  return n < 4 ? QStringLiteral("HScroll%1").arg(n + 1) : QStringLiteral("VScroll%1").arg(n - 3);
}

DataViews::DataViews(AppState& state, QWidget& window, QLabel& panel2)
    : QObject(&window), m_state(state), m_panel2(panel2), m_shown(state.CurrentSet) {
  m_ondo = window.findChild<GraphView*>(QStringLiteral("ondo"));
  m_situdo = window.findChild<GraphView*>(QStringLiteral("situdo"));
  Q_ASSERT(m_ondo != nullptr && m_situdo != nullptr);
  connect(m_ondo, &GraphView::cursorMoved, this, &DataViews::showCursor);
  connect(m_situdo, &GraphView::cursorMoved, this, &DataViews::showCursor);
  // A window resize moves both graphs, one after the other: both are drawn
  // once, when the layout has settled, so neither keeps a picture of the old size.
  m_resizeRedraw.setSingleShot(true);
  m_resizeRedraw.setInterval(0);
  connect(&m_resizeRedraw, &QTimer::timeout, this, &DataViews::graphResized);
  for (GraphView* graph : {m_ondo, m_situdo}) {
    connect(graph, &GraphView::resized, &m_resizeRedraw, qOverload<>(&QTimer::start));
  }

  for (int i = 0; i < kBarCount; ++i) {
    const Bar bar = static_cast<Bar>(i);
    QScrollBar* widget = window.findChild<QScrollBar*>(BarName(bar));
    Q_ASSERT(widget != nullptr);
    m_bars[static_cast<size_t>(i)] = widget;
    SetUpGraphScrollBar(*widget);
    connect(widget, &QScrollBar::valueChanged, this, [this, bar] { BarChanged(bar); });
  }

  const std::pair<const char*, ZoomButton> zooms[] = {
      {"Command3", ZoomButton::TemperatureSpanNarrower},
      {"Command10", ZoomButton::TemperatureSpanWider},
      {"Command15", ZoomButton::HumiditySpanWider},
      {"Command16", ZoomButton::HumiditySpanNarrower},
      {"Command17", ZoomButton::TimeZoomIn},
      {"Command18", ZoomButton::TimeZoomOut}};
  for (const auto& [name, zoom] : zooms) {
    if (auto* b = window.findChild<QAbstractButton*>(QString::fromLatin1(name))) {
      connect(b, &QAbstractButton::clicked, this, [this, button = zoom] { Zoom(button); });
    }
  }
  if (auto* fit = window.findChild<QAbstractButton*>(QStringLiteral("Command12")))
    connect(fit, &QAbstractButton::clicked, this, &DataViews::fitToData);

  for (int set = 0; set < kSetCount; ++set) {
    QTableView* list = window.findChild<QTableView*>(QStringLiteral("ListView1_%1").arg(set));
    Q_ASSERT(list != nullptr);
    m_lists[static_cast<size_t>(set)] = list;
    auto& model = m_models[static_cast<size_t>(set)];
    model = std::make_unique<DumpModel>(&state.file(set), state.Texts);
    SetUpDumpTable(*list, *model, set);
    connect(list, &QTableView::clicked, this, &DataViews::showItem);
    list->viewport()->installEventFilter(this);
    // A set never shown would otherwise come back with all bars at zero.
    termika::SaveView(DefaultNavigation(), state.set(set));
  }
  showNewestOnTop();
  m_nav = DefaultNavigation();
  applyBars();
}

DataViews::~DataViews() {
  // The tables hold raw pointers to the models: detach them first.
  for (const QPointer<QTableView>& list : m_lists) {
    if (!list.isNull()) list->setModel(nullptr);
  }
}

bool DataViews::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize) {
    for (const QPointer<QTableView>& list : m_lists) {
      if (!list.isNull() && list->viewport() == watched) SizeDumpColumns(*list);
    }
  }
  return QObject::eventFilter(watched, event);
}

bool DataViews::continuous() const { return m_state.runState == RunState::Continuous; }

const std::vector<PlotPoint>& DataViews::points(int set) {
  const auto i = static_cast<size_t>(set);
  if (!m_pointsValid[i]) reloadPoints(set);
  return m_points[i];
}

void DataViews::reloadPoints(int set) {
  const auto i = static_cast<size_t>(set);
  m_points[i] = LoadPlotPoints(m_state.file(set), m_state.set(set).Count);
  m_pointsValid[i] = true;
}

void DataViews::applyBars() {
  for (int i = 0; i < kBarCount; ++i) {
    QScrollBar* bar = m_bars[static_cast<size_t>(i)];
    ApplyScrollState(*bar, m_nav.bars[static_cast<size_t>(i)]);
    const QSignalBlocker blocker(bar);
    setSteps(*bar);
  }
}

void DataViews::SaveView(int set) {
  termika::SaveView(m_nav, m_state.set(set));
  auto& images = m_images[static_cast<size_t>(set)];
  images[kTemperatureImage] = m_ondo->image();
  images[kHumidityImage] = m_situdo->image();
}

void DataViews::RestoreView(int set) {
  termika::RestoreView(m_nav, m_state.set(set));
  UpdateTimeBase(m_nav, points(set), continuous());
  applyBars();
  const auto& images = m_images[static_cast<size_t>(set)];
  m_ondo->setImage(images[kTemperatureImage]);
  m_situdo->setImage(images[kHumidityImage]);
}

NavigationState DataViews::navigationOf(int set) {
  if (set == m_shown) return m_nav;
  NavigationState nav;
  termika::RestoreView(nav, m_state.set(set));
  UpdateTimeBase(nav, points(set), false);
  return nav;
}

void DataViews::ShowView(int set, int mode) {
  if (set < 0 || set >= kSetCount) return;
  SaveView(m_shown);
  m_panel2.clear();
  m_shown = set;
  m_state.CurrentSet = set;
  m_state.ViewMode = mode;
  RestoreView(set);
  if (m_refresh) m_refresh();
  // A stored picture of another size, or none, is drawn afresh; the mouse
  // readout also needs a drawn geometry.
  if (mode == 0 && m_state.set(set).Count > 0) DrawGraphs();
}

void DataViews::SetReplaced(int set) {
  reloadPoints(set);
  // A downloaded set comes marked, a file set with the remarks it was saved
  // with: the list shows the records as they are.
  model(set).fill(m_state.set(set).Count);
  NavigationState nav = set == m_shown ? m_nav : NavigationState{};
  if (set != m_shown) termika::RestoreView(nav, m_state.set(set));
  FitView(nav, points(set), m_state.set(set).AllExtremes, continuous());
  if (set == m_shown) {
    m_nav = nav;
    applyBars();
    DrawGraphs();
  } else {
    termika::SaveView(nav, m_state.set(set));
    m_images[static_cast<size_t>(set)] = {};
  }
}

void DataViews::PointAppended(int set) {
  const auto i = static_cast<size_t>(set);
  const int count = m_state.set(set).Count;
  if (m_pointsValid[i] && static_cast<int>(m_points[i].size()) + 1 == count) {
    // Only the newest record is read: a long series must not reread its file per point.
    if (const auto newest = m_state.file(set).read(count)) {
      m_points[i].push_back(toPlotPoint(*newest));
    } else {
      reloadPoints(set);
    }
  } else {
    reloadPoints(set);
  }
  // Measured points are marked here, one changed row at a time.
  DumpModel& list = model(set);
  list.appendRow(count);
  if (Result<void> marked = list.MarkExtremeRows(m_state.set(set).AllExtremes); !marked) {
    qWarning("%s", qUtf8Printable(marked.error().message));
  }
  if (set != m_shown) return;
  UpdateTimeBase(m_nav, points(set), continuous());
  AutoFitView(m_nav, m_state.set(set).AllExtremes);
  applyBars();
  DrawGraphs();
}

void DataViews::SetCleared(int set) {
  const auto i = static_cast<size_t>(set);
  m_points[i].clear();
  m_pointsValid[i] = true;
  model(set).Clear();
  if (set == kRealTimeSet) showNewestOnTop();
  m_images[i] = {};
  if (set == m_shown) {
    m_ondo->setImage(QImage());
    m_situdo->setImage(QImage());
  }
}

void DataViews::showNewestOnTop() { model(kRealTimeSet).setSort(DumpModel::kNumber, 1); }

void DataViews::ClearDeviceViews() {
  for (int set : {int(kLogSet), int(kRealTimeSet)}) {
    m_images[static_cast<size_t>(set)] = {};
    if (set == m_shown) {
      m_ondo->setImage(QImage());
      m_situdo->setImage(QImage());
    }
  }
}

void DataViews::DrawGraphs(bool temperature, bool humidity) {
  DataSet& set = m_state.set(m_shown);
  const std::vector<PlotPoint>& shown = points(m_shown);
  if (shown.empty()) return;
  m_busy = true;
  const auto input = [&](GraphKind kind, const GraphView& view) {
    GraphInput in;
    in.kind = kind;
    in.points = shown;
    in.baseTime = m_nav.baseTime;
    const GraphWindow window = WindowOf(m_nav, kind);
    in.width = window.width;
    in.offset = window.offset;
    in.range = RangeOf(m_nav, kind);
    in.halfSpan = HalfSpanOf(m_nav, kind);
    in.model = set.Model;
    in.upperAlarm = set.UpperAlarm;
    in.lowerAlarm = set.LowerAlarm;
    in.size = view.size();
    const bool t = kind == GraphKind::Temperature;
    in.unitText = m_state.Texts[t ? 1120 : 1125];
    in.titleText = m_state.Texts[t ? 1039 : 1041];
    return in;
  };
  if (temperature) {
    const GraphGeometry g = BuildGraphGeometry(input(GraphKind::Temperature, *m_ondo));
    set.SelectedExtremes = g.selected;
    m_ondo->showGraph(g);
  }
  if (humidity) m_situdo->showGraph(BuildGraphGeometry(input(GraphKind::Humidity, *m_situdo)));
  set.DrawnCount = set.Count;
  m_busy = false;
}

void DataViews::BarChanged(Bar bar) {
  QScrollBar* widget = m_bars[static_cast<size_t>(bar)];
  m_nav.bar(bar).value = StateValueOf(*widget, widget->value());
  if (m_busy || continuous()) return;
  if (!UpdateTimeBase(m_nav, points(m_shown), false)) return;
  applyBars();
  const Redraw redraw = redrawFor(bar);
  DrawGraphs(redraw.temperature, redraw.humidity);
}

void DataViews::Zoom(ZoomButton button) {
  if (m_state.set(m_shown).Count == 0) return;
  const std::optional<Bar> changed = ApplyZoom(m_nav, button);
  if (!changed) return;
  applyBars();
  BarChanged(*changed);
}

void DataViews::fitToData() {
  if (m_state.set(m_shown).Count == 0) return;
  m_busy = true;
  FitView(m_nav, points(m_shown), m_state.set(m_shown).AllExtremes, continuous());
  applyBars();
  m_busy = false;
  DrawGraphs();
}

void DataViews::showCursor(double secondsBack) {
  m_panel2.setText(
      ShowCursorReadout(secondsBack, m_nav, points(m_shown), continuous(), m_busy, m_state.Texts));
}

void DataViews::showItem(const QModelIndex& index) {
  const auto* list = qobject_cast<const DumpModel*>(index.model());
  if (list != nullptr) m_panel2.setText(list->ItemClickText(index.row()));
}

void DataViews::graphResized() {
  if (m_state.ViewMode == 0 && !m_busy && m_state.set(m_shown).Count > 0) DrawGraphs();
}

}  // namespace termika
