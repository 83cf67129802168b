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
  return std::any_of(set.View.begin(), set.View.end(),
                     [](const ScrollState& s) { return s.minimum != 0 || s.maximum != 0; });
}

ExtremeLines resolveFromPoints(const Extremes& extremes, std::span<const PlotPoint> points) {
  return ResolveExtremes(extremes, static_cast<int>(points.size()),
                         [&](int n) -> std::optional<double> {
                           return secondsToDaySerial(points[static_cast<size_t>(n - 1)].Time);
                         });
}

}  // namespace

GraphPrintPlan::GraphPrintPlan(std::vector<PlotPoint> points, NavigationState view,
                               const DataSet& set, const UiText& texts)
    : m_points(std::move(points)),
      m_view(view),
      m_model(set.Model),
      m_upper(set.UpperAlarm),
      m_lower(set.LowerAlarm),
      m_texts(texts) {}

GraphGeometry GraphPrintPlan::geometry(GraphKind kind, QSize size) const {
  const bool t = kind == GraphKind::Temperature;
  const GraphWindow window = WindowOf(m_view, kind);
  GraphInput in;
  in.kind = kind;
  in.points = m_points;
  in.baseTime = m_view.baseTime;
  in.width = window.width;
  in.offset = window.offset;
  in.range = RangeOf(m_view, kind);
  in.halfSpan = HalfSpanOf(m_view, kind);
  in.model = m_model;
  in.upperAlarm = m_upper;
  in.lowerAlarm = m_lower;
  in.palette = Palette::Print;
  in.size = size;
  in.unitText = m_texts.text(t ? 1120 : 1125);
  in.titleText = m_texts.text(t ? 1039 : 1041);
  return BuildGraphGeometry(in);
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

QString PrintName(const AppState& state, int set) {
  const DataSet& s = state.set(set);
  if (!s.LoggerName.isEmpty()) return s.LoggerName;
  return set == kFileSet ? state.FileSetName : state.Status.LoggerName;
}

Result<PrintHeaderInput> BaseHeader(const AppState& state, int set) {
  const DataSet& s = state.set(set);
  if (s.Count <= 0) return emptySetError();
  const RecordFile& file = state.file(set);
  const std::optional<DataRecord> first = file.read(1);
  if (!first) return unreadableRecord(1, file);
  PrintHeaderInput h;
  h.name = PrintName(state, set);
  h.startTime = first->DateTime;
  h.count = s.Count;
  h.interval = s.Interval;
  h.model = s.Model;
  h.upper = s.UpperAlarm;
  h.lower = s.LowerAlarm;
  h.all = ResolveExtremes(s.AllExtremes, s.Count, [&](int n) -> std::optional<double> {
    if (const auto r = file.read(n)) return r->DateTime;
    return std::nullopt;
  });
  return h;
}

Result<DumpPrintPlan> PlanDumpPrint(const AppState& state, int set,
                                    std::span<const DumpListRow> list, bool allRows) {
  Result<PrintHeaderInput> base = BaseHeader(state, set);
  if (!base) return base.error();
  const int count = state.set(set).Count;
  const RecordFile& file = state.file(set);
  const std::vector<DataRecord> records = file.readRange(1, count);
  DumpPrintPlan plan;
  plan.selected.reset();
  for (const DumpListRow& row : list) {
    if (!allRows && !row.selected) continue;
    const int n = row.recordNo;
    if (n < 1 || n > static_cast<int>(records.size())) return unreadableRecord(n, file);
    const DataRecord& r = records[static_cast<size_t>(n - 1)];
    plan.rows.push_back(DumpPrintRow{n, fmt::pointNo(n), fmt::dateTime(r.DateTime),
                                     fmt::measuredValue(r.Temperature, fmt::LeadingZero::Kept),
                                     fmt::measuredValue(r.Humidity, fmt::LeadingZero::Kept),
                                     r.Remarks});
    // The list's number is the point number, whatever the record says.
    DataRecord numbered = r;
    numbered.RecordNo = static_cast<std::int16_t>(n);
    UpdateExtremes(numbered, plan.selected);
  }
  plan.header = *base;
  plan.header.selected = ResolveExtremes(plan.selected, count, [&](int n) -> std::optional<double> {
    if (n < 1 || n > static_cast<int>(records.size())) return std::nullopt;
    return records[static_cast<size_t>(n - 1)].DateTime;
  });
  return plan;
}

std::vector<DumpListRow> AllRowsInRecordOrder(int count) {
  std::vector<DumpListRow> rows;
  rows.reserve(static_cast<size_t>(std::max(0, count)));
  for (int n = 1; n <= count; ++n) rows.push_back({n, true});
  return rows;
}

Result<GraphPrintPlan> PlanGraphPrint(const AppState& state, int set,
                                      const std::optional<NavigationState>& shown) {
  const DataSet& s = state.set(set);
  if (s.Count <= 0) return emptySetError();
  std::vector<PlotPoint> points = LoadPlotPoints(state.file(set), s.Count);
  if (points.empty()) return unreadableRecord(1, state.file(set));
  NavigationState view;
  if (shown) {
    view = *shown;
  } else if (viewWasSaved(s)) {
    view = DefaultNavigation();
    RestoreView(view, s);
    UpdateTimeBase(view, points, false);
  } else {
    view = DefaultNavigation();
    FitView(view, points, s.AllExtremes, false);
  }
  return GraphPrintPlan(std::move(points), view, s, state.Texts);
}

}  // namespace termika
