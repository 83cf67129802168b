#include "ui/print/ReportPrint.h"

#include <algorithm>

#include "core/base/Says.h"
#include "core/data/LoggerModel.h"
#include "core/print/PrintPlan.h"
#include "core/report/ReportPoints.h"
#include "ui/print/DumpPrint.h"
#include "ui/print/GraphPrint.h"
#include "ui/print/PageText.h"

namespace termika {

namespace {

using report::SheetLine;
using Kind = SheetLine::Kind;

report::Limits limitsOf(const DataSet& set, const ReportOptions& options) {
  report::Limits limits;
  if (hasAlarms(set.model)) {
    if (set.upperAlarm.enabled != 0) limits.upper = set.upperAlarm.limit;
    if (set.lowerAlarm.enabled != 0) limits.lower = set.lowerAlarm.limit;
  }
  if (options.upperLimit) limits.upper = options.upperLimit;
  if (options.lowerLimit) limits.lower = options.lowerLimit;
  return limits;
}

// Column starts of the table that begins at `first`: each column as wide as
// its widest cell and two characters apart, so no cell runs into the next.
std::vector<double> tableColumns(PageText& page, const std::vector<SheetLine>& lines,
                                 size_t first) {
  std::vector<double> widths;
  for (size_t i = first; i < lines.size(); ++i) {
    const SheetLine& line = lines[i];
    if (i > first && line.kind != Kind::TableRow) break;
    widths.resize(std::max(widths.size(), static_cast<size_t>(line.cells.size())), 0.0);
    for (qsizetype c = 0; c < line.cells.size(); ++c) {
      widths[static_cast<size_t>(c)] =
          std::max(widths[static_cast<size_t>(c)], page.width(line.cells[c]));
    }
  }
  std::vector<double> starts;
  double x = kLeftMargin;
  for (double w : widths) {
    starts.push_back(x);
    x += w + 2.0 * page.metrics().charWidth;
  }
  return starts;
}

}  // namespace

Result<report::Summary> summarizeSet(const AppState& state, int set, const ReportOptions& options) {
  const DataSet& data = state.set(set);
  report::Input input;
  input.points = report::pointsFromRecords(state.file(set).readRange(1, data.count));
  input.intervalSeconds = data.interval;
  input.limits = limitsOf(data, options);
  input.activationEnergyKJPerMol = options.activationEnergyKJPerMol;
  std::optional<report::Summary> summary = report::summarize(input);
  if (!summary) return Error{says("There are no points to summarise.")};
  return *summary;
}

int printSummaryPages(QPainter& painter, QPagedPaintDevice& device,
                      const std::vector<SheetLine>& lines) {
  PageText page(painter, device);
  const double pitch = page.metrics().linePitch;
  const double right = kPageUnits - kLeftMargin;
  const double valueColumn = kLeftMargin + 28.0 * page.metrics().charWidth;
  int pages = 1;
  double top = 0.0;
  std::vector<double> columns;
  const SheetLine* tableHeading = nullptr;
  const auto drawCells = [&](const SheetLine& line) {
    for (qsizetype c = 0; c < line.cells.size() && c < static_cast<qsizetype>(columns.size());
         ++c) {
      const double x = columns[static_cast<size_t>(c)];
      page.fittedText(x, top, right - x, line.cells[c]);
    }
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    const SheetLine& line = lines[i];
    const double needed = line.kind == Kind::Heading ? 2.5 * pitch : pitch;
    if (top + needed > kPageUnits) {
      device.newPage();  // the painter and its font carry over to the new page
      ++pages;
      top = 0.0;
      // A table that runs on names its columns again.
      if (line.kind == Kind::TableRow && tableHeading != nullptr) {
        drawCells(*tableHeading);
        top += pitch;
      }
    }
    switch (line.kind) {
      case Kind::Blank:
        break;
      case Kind::Title:
        page.text(kLeftMargin, top, line.cells.value(0));
        page.rule(kLeftMargin, top + pitch, right, top + pitch);
        top += 0.5 * pitch;
        break;
      case Kind::Verdict: {
        // Boxed, so the result is found at a glance.
        const double w = page.width(line.cells.value(0)) + 2.0 * page.metrics().charWidth;
        page.rule(kLeftMargin, top, kLeftMargin + w, top);
        page.rule(kLeftMargin, top + pitch, kLeftMargin + w, top + pitch);
        page.rule(kLeftMargin, top, kLeftMargin, top + pitch);
        page.rule(kLeftMargin + w, top, kLeftMargin + w, top + pitch);
        page.text(kLeftMargin + page.metrics().charWidth, top + 0.15 * pitch, line.cells.value(0));
        break;
      }
      case Kind::Heading:
        top += pitch;
        page.text(kLeftMargin, top, line.cells.value(0));
        page.rule(kLeftMargin, top + pitch, right, top + pitch);
        top += 0.25 * pitch;
        break;
      case Kind::Field:
        page.text(kLeftMargin, top, line.cells.value(0));
        page.fittedText(valueColumn, top, right - valueColumn, line.cells.value(1));
        break;
      case Kind::TableHeading:
        columns = tableColumns(page, lines, i);
        tableHeading = &line;
        [[fallthrough]];
      case Kind::TableRow:
        drawCells(line);
        break;
    }
    top += pitch;
  }
  return pages;
}

Result<PagePainter> prepareReportPrint(const AppState& state, int set, const ReportOptions& options,
                                       const QString& origin) {
  Result<report::Summary> summary = summarizeSet(state, set, options);
  if (!summary) return summary.error();
  const DataSet& data = state.set(set);
  const report::Source source{data.model, data.loggerName, origin};
  auto lines =
      std::make_shared<const std::vector<SheetLine>>(report::summarySheet(*summary, source));
  Result<PagePainter> graph = prepareGraphPrint(state, set, std::nullopt);
  if (!graph) return graph.error();
  std::optional<PagePainter> dump;
  if (options.withDump) {
    const std::vector<DumpListRow> rows = allRowsInRecordOrder(data.count);
    Result<PagePainter> pages = prepareDumpPrint(state, set, rows, true);
    if (!pages) return pages.error();
    dump = std::move(*pages);
  }
  return PagePainter([lines, graph = std::move(*graph), dump = std::move(dump)](
                         QPainter& painter, QPagedPaintDevice& device) {
    PrintOutcome outcome;
    outcome.pages = printSummaryPages(painter, device, *lines);
    device.newPage();
    const PrintOutcome drawn = graph(painter, device);
    outcome.pages += drawn.pages;
    outcome.selected = drawn.selected;
    if (dump) {
      device.newPage();
      outcome.pages += (*dump)(painter, device).pages;
    }
    return outcome;
  });
}

}  // namespace termika
