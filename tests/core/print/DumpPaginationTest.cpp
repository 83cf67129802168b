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
  struct Case {
    int headerLines, rows, pages, rowsOnLastPage;
  };
  const Case cases[] = {
      {14, 0, 1, 0},   {14, 1, 1, 1},        {14, 32, 1, 32}, {14, 33, 1, 33},
      {14, 34, 2, 1},  {14, 80, 2, 47},      {14, 81, 3, 1},  {14, 127, 3, 47},
      {14, 128, 4, 1}, {14, 15000, 320, 21}, {16, 31, 1, 31}, {16, 32, 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.headerLines << " " << c.rows);
    const DumpPagination p = paginateDump(oneLineRows(c.rows), c.headerLines, 200.0);
    EXPECT_EQ(p.pageCount(), c.pages);
    EXPECT_EQ(p.pages.back().rowCount, c.rowsOnLastPage);
    EXPECT_EQ(static_cast<int>(p.rows.size()), c.rows);
  }
}

TEST(DumpPagination, RowPositionsOnFirstAndFollowingPages) {
  const DumpPagination p = paginateDump(oneLineRows(81), 14, 200.0);
  // Row, page, top.
  const std::tuple<int, int, double> rows[] = {{0, 0, 3000.0}, {31, 0, 9200.0}, {32, 0, 9400.0},
                                               {33, 1, 200.0}, {79, 1, 9400.0}, {80, 2, 200.0}};
  for (const auto& [row, page, top] : rows) {
    const RowPlacement& r = p.rows[static_cast<size_t>(row)];
    EXPECT_EQ(r.row, row);
    EXPECT_EQ(r.page, page) << row;
    EXPECT_DOUBLE_EQ(r.top, top) << row;
  }
  EXPECT_DOUBLE_EQ(p.pages[0].tableTop, 3000.0);
  EXPECT_DOUBLE_EQ(p.pages[0].tableBottom, 9600.0);
  EXPECT_EQ(p.pages[1].firstRow, 33);
  EXPECT_DOUBLE_EQ(p.pages[1].tableTop, 200.0);
  EXPECT_DOUBLE_EQ(p.footerTop, 9800.0);
}

TEST(DumpPagination, WrappedRowMovesWholeToTheNextPage) {
  // 32 rows end at 9200; a one-line row would fit at 9400, a two-line one
  // would put its second line at 9600 and goes to the next page instead.
  std::vector<int> lines = oneLineRows(32);
  lines.push_back(2);
  lines.push_back(1);
  const DumpPagination p = paginateDump(lines, 14, 200.0);
  ASSERT_EQ(p.pageCount(), 2);
  EXPECT_EQ(p.rows[32].page, 1);
  EXPECT_DOUBLE_EQ(p.rows[32].top, 200.0);
  EXPECT_EQ(p.rows[32].lines, 2);
  EXPECT_DOUBLE_EQ(p.rows[33].top, 600.0);  // below both lines of the wrapped row
  EXPECT_DOUBLE_EQ(p.pages[1].tableBottom, 800.0);
  // A row taller than a page is not put under the header (3000 + 46 * 200 >
  // 9400): alone on page 2, cut to the 47 lines a page holds.
  const DumpPagination tall = paginateDump(std::vector<int>{60}, 14, 200.0);
  ASSERT_EQ(tall.rows.size(), 1u);
  EXPECT_EQ(tall.pageCount(), 2);
  EXPECT_EQ(tall.rows[0].page, 1);
  EXPECT_EQ(tall.rows[0].lines, 47);
}

}  // namespace
}  // namespace termika
