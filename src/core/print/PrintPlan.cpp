#include "core/print/PrintPlan.h"

#include <algorithm>

#include "core/base/Says.h"
#include "core/data/DayTime.h"
#include "core/data/ExtremesUpdate.h"
#include "core/data/Formats.h"

namespace termika {
namespace {

Error emptySetError() { return Error{says("The data set holds no points to print.")}; }

Error unreadableRecord(int recordNo, const RecordFile& file) {
  return Error{says("Record %1 of %2 cannot be read.").arg(recordNo).arg(file.path())};
}

bool viewWasSaved(const DataSet& set) {
  return std::any_of(set.view.begin(), set.view.end(),
                     [](const ScrollState& s) { return s.minimum != 0 || s.maximum != 0; });
}

ExtremeLines resolveFromPoints(const Extremes& extremes, std::span<const PlotPoint> points) {
  return resolveExtremes(extremes, static_cast<int>(points.size()),
                         [&](int n) -> std::optional<double> {
                           return secondsToDaySerial(points[static_cast<size_t>(n - 1)].time);
                         });
}

}  // namespace

GraphPrintPlan::GraphPrintPlan(std::vector<PlotPoint> points, NavigationState view,
                               const DataSet& set, const UiText& texts)
    : m_points(std::move(points)),
      m_view(view),
      m_model(set.model),
      m_upper(set.upperAlarm),
      m_lower(set.lowerAlarm),
      m_texts(texts) {}

GraphGeometry GraphPrintPlan::geometry(GraphKind kind, QSize size) const {
  const bool t = kind == GraphKind::Temperature;
  const GraphWindow window = windowOf(m_view, kind);
  GraphInput in;
  in.kind = kind;
  in.points = m_points;
  in.baseTime = m_view.baseTime;
  in.width = window.width;
  in.offset = window.offset;
  in.range = rangeOf(m_view, kind);
  in.halfSpan = halfSpanOf(m_view, kind);
  in.model = m_model;
  in.upperAlarm = m_upper;
  in.lowerAlarm = m_lower;
  in.palette = Palette::Print;
  in.size = size;
  in.unitText = m_texts[t ? TextId::GraphDegrees : TextId::GraphPercent];
  in.titleText = m_texts[t ? TextId::TemperatureTitle : TextId::HumidityTitle];
  return buildGraphGeometry(in);
}

PrintHeaderInput GraphPrintPlan::header(const PrintHeaderInput& base,
                                        const GraphGeometry& temperature,
                                        const GraphGeometry& humidity) const {
  Extremes selected = temperature.selected;
  selected.entries[Extremes::kHighHumidity] = humidity.selected.entries[Extremes::kHighHumidity];
  selected.entries[Extremes::kLowHumidity] = humidity.selected.entries[Extremes::kLowHumidity];
  PrintHeaderInput header = base;
  header.selected = resolveFromPoints(selected, m_points);
  return header;
}

QString printName(const AppState& state, int set) {
  const DataSet& s = state.set(set);
  if (!s.loggerName.isEmpty()) return s.loggerName;
  return set == kFileSet ? state.fileSetName : state.status.loggerName;
}

Result<PrintHeaderInput> baseHeader(const AppState& state, int set) {
  const DataSet& s = state.set(set);
  if (s.count <= 0) return emptySetError();
  const RecordFile& file = state.file(set);
  const std::optional<DataRecord> first = file.read(1);
  if (!first) return unreadableRecord(1, file);
  PrintHeaderInput h;
  h.name = printName(state, set);
  h.startTime = first->dateTime;
  h.count = s.count;
  h.interval = s.interval;
  h.model = s.model;
  h.upper = s.upperAlarm;
  h.lower = s.lowerAlarm;
  h.all = resolveExtremes(s.allExtremes, s.count, [&](int n) -> std::optional<double> {
    if (const auto r = file.read(n)) return r->dateTime;
    return std::nullopt;
  });
  return h;
}

Result<DumpPrintPlan> planDumpPrint(const AppState& state, int set,
                                    std::span<const DumpListRow> list, bool allRows) {
  Result<PrintHeaderInput> base = baseHeader(state, set);
  if (!base) return base.error();
  const int count = state.set(set).count;
  const RecordFile& file = state.file(set);
  const std::vector<DataRecord> records = file.readRange(1, count);
  DumpPrintPlan plan;
  plan.selected.reset();
  for (const DumpListRow& row : list) {
    if (!allRows && !row.selected) continue;
    const int n = row.recordNo;
    if (n < 1 || n > static_cast<int>(records.size())) return unreadableRecord(n, file);
    const DataRecord& r = records[static_cast<size_t>(n - 1)];
    plan.rows.push_back(DumpPrintRow{n, fmt::pointNo(n), fmt::dateTime(r.dateTime),
                                     fmt::measuredValue(r.temperature, fmt::LeadingZero::Kept),
                                     fmt::measuredValue(r.humidity, fmt::LeadingZero::Kept),
                                     r.remarks});
    // The list's number is the point number, whatever the record says.
    DataRecord numbered = r;
    numbered.recordNo = static_cast<std::int16_t>(n);
    updateExtremes(numbered, plan.selected);
  }
  plan.header = *base;
  plan.header.selected = resolveExtremes(plan.selected, count, [&](int n) -> std::optional<double> {
    if (n < 1 || n > static_cast<int>(records.size())) return std::nullopt;
    return records[static_cast<size_t>(n - 1)].dateTime;
  });
  return plan;
}

std::vector<DumpListRow> allRowsInRecordOrder(int count) {
  std::vector<DumpListRow> rows;
  rows.reserve(static_cast<size_t>(std::max(0, count)));
  for (int n = 1; n <= count; ++n) rows.push_back({n, true});
  return rows;
}

Result<GraphPrintPlan> planGraphPrint(const AppState& state, int set,
                                      const std::optional<NavigationState>& shown) {
  const DataSet& s = state.set(set);
  if (s.count <= 0) return emptySetError();
  std::vector<PlotPoint> points = loadPlotPoints(state.file(set), s.count);
  if (points.empty()) return unreadableRecord(1, state.file(set));
  NavigationState view;
  if (shown) {
    view = *shown;
  } else if (viewWasSaved(s)) {
    view = defaultNavigation();
    restoreView(view, s);
    updateTimeBase(view, points, false);
  } else {
    view = defaultNavigation();
    fitView(view, points, s.allExtremes, false);
  }
  return GraphPrintPlan(std::move(points), view, s, state.texts);
}

}  // namespace termika
