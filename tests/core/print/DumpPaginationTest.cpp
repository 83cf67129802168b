#include <gtest/gtest.h>

#include <vector>

#include "core/print/DumpPagination.h"

namespace termika {
namespace {

std::vector<int> oneLineRows(int n) { return std::vector<int>(static_cast<size_t>(n), 1); }

// A header of 14 lines at pitch 200 ends at y = 2800; the n-th row of the
// first page sits at 2800 + 200 n and the last allowed top is 10000 - 3 * 200
// = 9400, so the first page holds 33 rows and the following ones 47. With 16
// header lines (a QM120-RH) the first page holds 31.
TEST(DumpPagination, PageBoundariesAtPitch200) {
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
}

TEST(DumpPagination, RowPositionsOnFirstAndFollowingPages) {
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
}

TEST(DumpPagination, WrappedRowMovesWholeToTheNextPage) {
  // 32 rows end at 9200; a one-line row would fit at 9400, a two-line one
  // would put its second line at 9600 and goes to the next page instead.
  std::vector<int> lines = oneLineRows(32);
  lines.push_back(2);
  lines.push_back(1);
  const DumpPagination p = paginateDump(lines, 14, 200.0);
  ASSERT_EQ(p.pageCount(), 2);  // row 33 below both lines of the wrapped row
  EXPECT_EQ(std::tuple(p.rows[32].page, p.rows[32].top, p.rows[32].lines, p.rows[33].top,
                       p.pages[1].tableBottom),
            std::tuple(1, 200.0, 2, 600.0, 800.0));
  // A row taller than a page is not put under the header (3000 + 46 * 200 >
  // 9400): alone on page 2, cut to the 47 lines a page holds.
  const DumpPagination tall = paginateDump(std::vector<int>{60}, 14, 200.0);
  ASSERT_EQ(tall.rows.size(), 1u);
  EXPECT_EQ(std::tuple(tall.pageCount(), tall.rows[0].page, tall.rows[0].lines),
            std::tuple(2, 1, 47));
}

}  // namespace
}  // namespace termika
