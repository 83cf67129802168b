#include "ui/DataViews.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableView>
#include <QToolButton>
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

}  // namespace

DataViews::DataViews(AppState& state, QWidget& window, const MainWindowControls& ui)
    : QObject(&window), m_state(state), m_panel2(*ui.noticePanel), m_shown(state.currentSet) {
  m_ondo = ui.temperatureGraph;
  m_situdo = ui.humidityGraph;
  Q_ASSERT(m_ondo != nullptr && m_situdo != nullptr);
  for (GraphView* graph : {m_ondo, m_situdo}) {
    connect(graph, &GraphView::cursorMoved, this,
            [this, graph](double secondsBack) { showCursor(*graph, secondsBack); });
    connect(graph, &GraphView::cursorLeft, this, &DataViews::hideCursor);
    connect(graph, &GraphView::gesture, this, [this, graph](const GraphGesture& gesture) {
      onGesture(graph == m_ondo ? GraphKind::Temperature : GraphKind::Humidity, gesture);
    });
  }
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
    QScrollBar* widget = ui.bars[static_cast<size_t>(i)];
    Q_ASSERT(widget != nullptr);
    m_bars[static_cast<size_t>(i)] = widget;
    setUpGraphScrollBar(*widget);
    connect(widget, &QScrollBar::valueChanged, this, [this, bar] { barChanged(bar); });
  }

  for (int i = 0; i < kZoomButtonCount; ++i) {
    connect(ui.zoomButtons[static_cast<size_t>(i)], &QAbstractButton::clicked, this,
            [this, button = static_cast<ZoomButton>(i)] { zoom(button); });
  }
  connect(ui.fitButton, &QAbstractButton::clicked, this, &DataViews::fitToData);

  for (int set = 0; set < kSetCount; ++set) {
    QTableView* list = ui.dumpLists[static_cast<size_t>(set)];
    Q_ASSERT(list != nullptr);
    m_lists[static_cast<size_t>(set)] = list;
    auto& model = m_models[static_cast<size_t>(set)];
    model = std::make_unique<DumpModel>(&state.file(set), state.texts);
    setUpDumpTable(*list, *model);
    connect(list, &QTableView::clicked, this, &DataViews::showItem);
    list->viewport()->installEventFilter(this);
    // A set never shown would otherwise come back with all bars at zero.
    termika::saveView(defaultNavigation(), state.set(set));
  }
  showNewestOnTop();
  m_nav = defaultNavigation();
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
      if (!list.isNull() && list->viewport() == watched) sizeDumpColumns(*list);
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
  m_points[i] = loadPlotPoints(m_state.file(set), m_state.set(set).count);
  m_pointsValid[i] = true;
}

void DataViews::applyBars() {
  for (int i = 0; i < kBarCount; ++i) {
    QScrollBar* bar = m_bars[static_cast<size_t>(i)];
    applyScrollState(*bar, m_nav.bars[static_cast<size_t>(i)]);
    const QSignalBlocker blocker(bar);
    const BarSteps steps = barSteps(m_nav, static_cast<Bar>(i));
    bar->setSingleStep(steps.single);
    bar->setPageStep(steps.page);
  }
}

void DataViews::saveView(int set) {
  termika::saveView(m_nav, m_state.set(set));
  auto& images = m_images[static_cast<size_t>(set)];
  images[kTemperatureImage] = m_ondo->image();
  images[kHumidityImage] = m_situdo->image();
}

void DataViews::restoreView(int set) {
  termika::restoreView(m_nav, m_state.set(set));
  updateTimeBase(m_nav, points(set), continuous());
  applyBars();
  const auto& images = m_images[static_cast<size_t>(set)];
  m_ondo->setImage(images[kTemperatureImage]);
  m_situdo->setImage(images[kHumidityImage]);
}

NavigationState DataViews::navigationOf(int set) {
  if (set == m_shown) return m_nav;
  NavigationState nav;
  termika::restoreView(nav, m_state.set(set));
  updateTimeBase(nav, points(set), false);
  return nav;
}

void DataViews::showView(int set, int mode) {
  if (set < 0 || set >= kSetCount) return;
  saveView(m_shown);
  m_panel2.clear();
  m_shown = set;
  m_state.currentSet = set;
  m_state.viewMode = mode;
  restoreView(set);
  if (m_refresh) m_refresh();
  // A stored picture of another size, or none, is drawn afresh; the mouse
  // readout also needs a drawn geometry.
  if (mode == 0 && m_state.set(set).count > 0) drawGraphs();
}

void DataViews::setReplaced(int set) {
  reloadPoints(set);
  // A downloaded set comes marked, a file set with the remarks it was saved
  // with: the list shows the records as they are.
  model(set).fill(m_state.set(set).count);
  NavigationState nav = set == m_shown ? m_nav : NavigationState{};
  if (set != m_shown) termika::restoreView(nav, m_state.set(set));
  fitView(nav, points(set), m_state.set(set).allExtremes, continuous());
  if (set == m_shown) {
    m_nav = nav;
    applyBars();
    drawGraphs();
  } else {
    termika::saveView(nav, m_state.set(set));
    m_images[static_cast<size_t>(set)] = {};
  }
}

void DataViews::pointAppended(int set) {
  const auto i = static_cast<size_t>(set);
  const int count = m_state.set(set).count;
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
  if (Result<void> marked = list.markExtremeRows(m_state.set(set).allExtremes); !marked) {
    qWarning("%s", qUtf8Printable(marked.error().message));
  }
  if (set != m_shown) return;
  updateTimeBase(m_nav, points(set), continuous());
  autoFitView(m_nav, m_state.set(set).allExtremes);
  applyBars();
  drawGraphs();
}

void DataViews::setCleared(int set) {
  const auto i = static_cast<size_t>(set);
  m_points[i].clear();
  m_pointsValid[i] = true;
  model(set).clear();
  if (set == kRealTimeSet) showNewestOnTop();
  m_images[i] = {};
  if (set == m_shown) {
    m_ondo->setImage(QImage());
    m_situdo->setImage(QImage());
  }
}

void DataViews::showNewestOnTop() { model(kRealTimeSet).setSort(DumpModel::kNumber, 1); }

void DataViews::clearDeviceViews() {
  for (int set : {int(kLogSet), int(kRealTimeSet)}) {
    m_images[static_cast<size_t>(set)] = {};
    if (set == m_shown) {
      m_ondo->setImage(QImage());
      m_situdo->setImage(QImage());
    }
  }
}

void DataViews::drawGraphs(bool temperature, bool humidity) {
  DataSet& set = m_state.set(m_shown);
  const std::vector<PlotPoint>& shown = points(m_shown);
  if (shown.empty()) return;
  m_busy = true;
  const auto input = [&](GraphKind kind, const GraphView& view) {
    GraphInput in;
    in.kind = kind;
    in.points = shown;
    in.baseTime = m_nav.baseTime;
    const GraphWindow window = windowOf(m_nav, kind);
    in.width = window.width;
    in.offset = window.offset;
    in.range = rangeOf(m_nav, kind);
    in.halfSpan = halfSpanOf(m_nav, kind);
    in.model = set.model;
    in.upperAlarm = set.upperAlarm;
    in.lowerAlarm = set.lowerAlarm;
    in.size = view.size();
    const bool t = kind == GraphKind::Temperature;
    in.unitText = m_state.texts[t ? TextId::GraphDegrees : TextId::GraphPercent];
    in.titleText = m_state.texts[t ? TextId::TemperatureTitle : TextId::HumidityTitle];
    return in;
  };
  if (temperature) {
    const GraphGeometry g = buildGraphGeometry(input(GraphKind::Temperature, *m_ondo));
    set.selectedExtremes = g.selected;
    m_ondo->showGraph(g);
  }
  if (humidity) m_situdo->showGraph(buildGraphGeometry(input(GraphKind::Humidity, *m_situdo)));
  set.drawnCount = set.count;
  m_busy = false;
  refreshCursor();
}

void DataViews::barChanged(Bar bar) {
  QScrollBar* widget = m_bars[static_cast<size_t>(bar)];
  m_nav.bar(bar).value = stateValueOf(*widget, widget->value());
  if (m_busy || continuous()) return;
  if (!updateTimeBase(m_nav, points(m_shown), false)) return;
  applyBars();
  const Redraw redraw = redrawFor(bar);
  drawGraphs(redraw.temperature, redraw.humidity);
}

void DataViews::zoom(ZoomButton button) {
  if (m_state.set(m_shown).count == 0) return;
  const std::optional<Bar> changed = applyZoom(m_nav, button);
  if (!changed) return;
  applyBars();
  barChanged(*changed);
}

void DataViews::fitToData() {
  if (m_state.set(m_shown).count == 0) return;
  m_busy = true;
  fitView(m_nav, points(m_shown), m_state.set(m_shown).allExtremes, continuous());
  applyBars();
  m_busy = false;
  drawGraphs();
}

bool DataViews::navigable() const {
  const QScrollBar* width = m_bars[TemperatureWidth];
  return !m_busy && !continuous() && m_state.set(m_shown).count > 0 && width->isEnabled() &&
         !width->isHidden();
}

void DataViews::onGesture(GraphKind graph, const GraphGesture& gesture) {
  if (!navigable()) return;
  if (gesture.kind == GestureKind::Fit) {
    fitToData();
    return;
  }
  if (gesture.kind == GestureKind::DragStart) {
    m_dragStartOffset = m_nav.bar(TemperatureOffset).value;
    return;
  }
  if (!applyGesture(m_nav, graph, gesture, m_dragStartOffset)) return;
  updateTimeBase(m_nav, points(m_shown), false);
  applyBars();
  // A value zoom changes only the graph it was made on, like its buttons.
  const bool values = gesture.kind == GestureKind::ZoomValues;
  drawGraphs(!values || graph == GraphKind::Temperature, !values || graph == GraphKind::Humidity);
}

void DataViews::showCursor(GraphView& under, double secondsBack) {
  const std::vector<PlotPoint>& shown = points(m_shown);
  m_panel2.setText(
      showCursorReadout(secondsBack, m_nav, shown, continuous(), m_busy, m_state.texts));
  const std::optional<size_t> n = cursorPoint(secondsBack, m_nav, shown, continuous(), m_busy);
  if (!n) {
    hideCursor();
    return;
  }
  // The line stands on the point read out while it is in the window, so
  // line and box name the same point.
  const GraphWindow window = windowOf(m_nav, GraphKind::Temperature);
  const double pointBack = static_cast<double>(m_nav.baseTime - shown[*n].time - window.offset);
  const double at =
      pointBack >= 0 && pointBack <= static_cast<double>(window.width) ? pointBack : secondsBack;
  const QStringList box = cursorBoxLines(shown[*n], m_state.texts);
  for (GraphView* graph : {m_ondo, m_situdo}) {
    graph->showCursor(at, graph == &under ? box : QStringList());
  }
}

void DataViews::hideCursor() {
  for (GraphView* graph : {m_ondo, m_situdo}) graph->showCursor(std::nullopt);
}

void DataViews::refreshCursor() {
  for (GraphView* graph : {m_ondo, m_situdo}) {
    if (const std::optional<double> at = graph->hoveredSeconds()) {
      showCursor(*graph, *at);
      return;
    }
  }
  hideCursor();
}

void DataViews::showItem(const QModelIndex& index) {
  const auto* list = qobject_cast<const DumpModel*>(index.model());
  if (list != nullptr) m_panel2.setText(list->itemClickText(index.row()));
}

void DataViews::graphResized() {
  if (m_state.viewMode == 0 && !m_busy && m_state.set(m_shown).count > 0) drawGraphs();
}

}  // namespace termika
