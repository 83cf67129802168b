#include <gtest/gtest.h>

#include <vector>

#include "core/print/DumpPagination.h"
#include "core/print/GraphPageLayout.h"
#include "core/print/PrintPage.h"
#include "core/print/RemarkWrap.h"

namespace termika {
namespace {

TEST(PrintPage, ColumnsScaleAndGraphsBelowTheHeader) {
  const ColumnPositions p = setColumnPositions(500.0, 100.0);
  EXPECT_EQ(p.columns, (std::array<double, 6>{500.0, 1100.0, 2300.0, 2900.0, 3500.0, 4900.0}));
  EXPECT_DOUBLE_EQ(p.headerValue, 2100.0);
  // A printable area of 2000 x 3000 pixels: a unit across is 0.2 px, down 0.3 px;
  // "A" 30 px high and 20 px wide gives L = 1.5 * 100 units and C = 100 units.
  const PageScale scale{2000.0, 3000.0};
  EXPECT_EQ(scale.point(500.0, 1000.0), QPointF(100.0, 300.0));
  const PrintMetrics m = measurePrintMetrics(scale, 30.0, 20.0);
  EXPECT_EQ(std::pair(m.linePitch, m.charWidth), std::pair(150.0, 100.0));
  // Header lines and pitch: the temperature and the humidity graph.
  const std::tuple<int, double, QRectF, QRectF> cases[] = {
      // 14 lines end at 2800; one blank line; (10000 - 3000 - 200) / 2 each.
      {14, 200.0, QRectF(500, 3000, 9000, 3400), QRectF(500, 6600, 9000, 3400)},
      // A QM120-RH header of 16 lines at 250 passes a third of the page.
      {16, 250.0, QRectF(500, 4250, 9000, 2750), QRectF(500, 7250, 9000, 2750)},
  };
  for (const auto& [headerLines, pitch, temperature, humidity] : cases) {
    const GraphPageLayout layout = layoutGraphPage(headerLines, pitch);
    EXPECT_EQ(std::pair(layout.temperature, layout.humidity), std::pair(temperature, humidity))
        << headerLines;
  }
}

// Every character one unit wide except the full-width ones, which take two.
double width(QStringView ch) { return ch.at(0).unicode() >= 0x3000 ? 2.0 : 1.0; }

QString padded(const QString& text) { return text.leftJustified(50, u' '); }

std::vector<int> oneLineRows(int n) { return std::vector<int>(static_cast<size_t>(n), 1); }

// A header of 14 lines at pitch 200 ends at y = 2800; the n-th row of the
// first page sits at 2800 + 200 n and the last allowed top is 10000 - 3 * 200
// = 9400, so the first page holds 33 rows and the following ones 47. With 16
// header lines (a QM120-RH) the first page holds 31.
TEST(DumpPagination, RemarksWrapBeforeTheColumnEndAndRowsFillPagesAtPitch200) {
  // Header lines and rows: the pages and the rows on the last one.
  const std::tuple<int, int, int, int> cases[] = {
      {14, 0, 1, 0},   {14, 1, 1, 1},        {14, 32, 1, 32}, {14, 33, 1, 33},
      {14, 34, 2, 1},  {14, 80, 2, 47},      {14, 81, 3, 1},  {14, 127, 3, 47},
      {14, 128, 4, 1}, {14, 15000, 320, 21}, {16, 31, 1, 31}, {16, 32, 2, 1},
  };
  for (const auto& [headerLines, rows, pages, rowsOnLastPage] : cases) {
    const DumpPagination p = paginateDump(oneLineRows(rows), headerLines, 200.0);
    EXPECT_EQ(std::tuple(p.pageCount(), p.pages.back().rowCount, static_cast<int>(p.rows.size())),
              std::tuple(pages, rowsOnLastPage, rows))
        << headerLines << " " << rows;
  }
  const DumpPagination p = paginateDump(oneLineRows(81), 14, 200.0);
  // Row, page, top.
  const std::tuple<int, int, double> rows[] = {{0, 0, 3000.0}, {31, 0, 9200.0}, {32, 0, 9400.0},
                                               {33, 1, 200.0}, {79, 1, 9400.0}, {80, 2, 200.0}};
  for (const auto& [row, page, top] : rows) {
    const RowPlacement& r = p.rows[static_cast<size_t>(row)];
    EXPECT_EQ(std::tuple(r.row, r.page, r.top), std::tuple(row, page, top));
  }
  EXPECT_EQ(std::tuple(p.pages[0].tableTop, p.pages[0].tableBottom, p.pages[1].firstRow,
                       p.pages[1].tableTop, p.footerTop),
            std::tuple(3000.0, 9600.0, 33, 200.0, 9800.0));
  // 32 rows end at 9200; a one-line row would fit at 9400, a two-line one
  // would put its second line at 9600 and goes to the next page instead.
  std::vector<int> lines = oneLineRows(32);
  lines.insert(lines.end(), {2, 1});
  const DumpPagination w = paginateDump(lines, 14, 200.0);
  ASSERT_EQ(w.pageCount(), 2);  // row 33 below both lines of the wrapped row
  EXPECT_EQ(std::tuple(w.rows[32].page, w.rows[32].top, w.rows[32].lines, w.rows[33].top,
                       w.pages[1].tableBottom),
            std::tuple(1, 200.0, 2, 600.0, 800.0));
  // A row taller than a page is not put under the header (3000 + 46 * 200 >
  // 9400): alone on page 2, cut to the 47 lines a page holds.
  const DumpPagination tall = paginateDump(std::vector<int>{60}, 14, 200.0);
  ASSERT_EQ(tall.rows.size(), 1u);
  EXPECT_EQ(std::tuple(tall.pageCount(), tall.rows[0].page, tall.rows[0].lines),
            std::tuple(2, 1, 47));
  // What is wrapped, the remark and the column's width: the lines, joined by "|".
  const std::tuple<const char*, QString, double, const char*> wraps[] = {
      {"padding dropped", padded(QStringLiteral("最高温度 ")), 14, "最高温度"},
      {"two marks, full width", padded(QStringLiteral("最高温度 最低湿度 ")), 14,
       "最高温度 最低|湿度"},
      {"50 characters in four lines", QString(50, u'x'), 14,
       "xxxxxxxxxxxxxx|xxxxxxxxxxxxxx|xxxxxxxxxxxxxx|xxxxxxxx"},
      {"exactly one line", QString(14, u'y'), 14, "yyyyyyyyyyyyyy"},
      {"one over", QString(15, u'y'), 14, "yyyyyyyyyyyyyy|y"},
      {"only blanks: one empty line", QString(50, u' '), 14, ""},
      {"leading blanks too", QStringLiteral("  ab  "), 14, "ab"},
      {"full-width blank is text", QStringLiteral("\u3000a "), 14, "\u3000a"},
      {"wider than the column", QStringLiteral("温温"), 1.5, "温|温"},
      {"surrogate pair", QStringLiteral("a") + QString::fromUcs4(U"\U00020B9F") + u'b', 2,
       "a|𠮟|b"},
  };
  for (const auto& [name, remark, column, lines] : wraps)
    EXPECT_EQ(wrapRemark(remark, column, width), QString::fromUtf8(lines).split(u'|')) << name;
}

}  // namespace
}  // namespace termika
