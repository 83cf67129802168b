#include "ui/print/DumpPrint.h"

#include <memory>

#include "core/print/DumpPagination.h"
#include "core/print/RemarkWrap.h"
#include "ui/print/PageText.h"

namespace termika {
namespace {

// Rules sit a quarter character before each column's text and a sixth of a
// pitch above each row, so the text is centred in its cell.
struct Rules {
  double inset = 0.0;
  double lift = 0.0;
};

void drawTableRules(PageText& page, const DumpPagination& layout, const DumpPage& p,
                    const Rules& r) {
  const ColumnPositions& c = page.columns();
  const double left = c.columns[kNumberColumn] - r.inset;
  const double right = c.columns[kTableEndColumn] - r.inset;
  const double top = p.tableTop - r.lift;
  const double bottom = p.tableBottom - r.lift;
  for (int i = p.firstRow; i < p.firstRow + p.rowCount; ++i) {
    const double y = layout.rows[static_cast<size_t>(i)].top - r.lift;
    page.rule(left, y, right, y);
  }
  page.rule(left, bottom, right, bottom);
  for (double x : c.columns) page.rule(x - r.inset, top, x - r.inset, bottom);
}

void drawFooter(PageText& page, double footerTop, int pageNumber, const QString& name) {
  const QString number = QString::number(pageNumber);
  page.text(kPageUnits / 2.0 - page.width(number) / 2.0, footerTop, number);
  page.text(kLeftMargin, footerTop, name);
}

}  // namespace

PrintOutcome printDumpPages(QPainter& painter, QPagedPaintDevice& device, const DumpPrintPlan& plan,
                            const UiText& texts) {
  PageText page(painter, device);
  const double linePitch = page.metrics().linePitch;
  const double charWidth = page.metrics().charWidth;
  const ColumnPositions& c = page.columns();
  const Rules rules{charWidth / 4.0, linePitch / 6.0};
  const double remarkWidth =
      c.columns[kTableEndColumn] - c.columns[kRemarksColumn] - charWidth / 2.0;

  std::vector<QStringList> remarks;
  std::vector<int> lines;
  remarks.reserve(plan.rows.size());
  lines.reserve(plan.rows.size());
  const auto widthOf = [&page](QStringView ch) { return page.width(ch); };
  for (const DumpPrintRow& row : plan.rows) {
    remarks.push_back(wrapRemark(row.remark, remarkWidth, widthOf));
    lines.push_back(static_cast<int>(remarks.back().size()));
  }

  const std::vector<HeaderLine> header = headerBlockLines(plan.header, texts);
  const DumpPagination layout = paginateDump(lines, static_cast<int>(header.size()), linePitch);
  page.headerBlock(header);

  for (int p = 0; p < layout.pageCount(); ++p) {
    if (p > 0) device.newPage();
    const DumpPage& dp = layout.pages[static_cast<size_t>(p)];
    for (int i = dp.firstRow; i < dp.firstRow + dp.rowCount; ++i) {
      const RowPlacement& placed = layout.rows[static_cast<size_t>(i)];
      const DumpPrintRow& row = plan.rows[static_cast<size_t>(placed.row)];
      const auto cell = [&](int column, const QString& text) {
        const double x = c.columns[static_cast<size_t>(column)];
        page.fittedText(x, placed.top,
                        c.columns[static_cast<size_t>(column) + 1] - x - charWidth / 2.0, text);
      };
      cell(kNumberColumn, row.number);
      cell(kTimeColumn, row.time);
      cell(kTemperatureColumn, row.temperature);
      cell(kHumidityColumn, row.humidity);
      const QStringList& remark = remarks[static_cast<size_t>(placed.row)];
      for (int k = 0; k < placed.lines; ++k) {
        page.text(c.columns[kRemarksColumn], placed.top + k * linePitch, remark[k]);
      }
    }
    if (dp.rowCount > 0) drawTableRules(page, layout, dp, rules);
    drawFooter(page, layout.footerTop, p + 1, plan.header.name);
  }
  return PrintOutcome{layout.pageCount(), plan.selected};
}

Result<PagePainter> prepareDumpPrint(const AppState& state, int set,
                                     std::span<const DumpListRow> rows, bool allRows) {
  Result<DumpPrintPlan> plan = planDumpPrint(state, set, rows, allRows);
  if (!plan) return plan.error();
  auto shared = std::make_shared<const DumpPrintPlan>(std::move(*plan));
  return PagePainter([shared, texts = state.texts](QPainter& painter, QPagedPaintDevice& device) {
    return printDumpPages(painter, device, *shared, texts);
  });
}

}  // namespace termika
