#include <gtest/gtest.h>

#include <vector>

#include "core/print/DumpPagination.h"

namespace termika {
namespace {

std::vector<int> oneLineRows(int n) { return std::vector<int>(static_cast<size_t>(n), 1); }

// Header of 14 lines at pitch 200 ends at y = 2800; the n-th row of the first
// page sits at 2800 + 200 n and the last allowed top is 10000 - 3 * 200 = 9400,
// so the first page holds 33 rows. Following pages start at 200 and hold 47.
struct PageCase {
  int rows;
  int pages;
  int rowsOnLastPage;
};

TEST(DumpPagination, PageBoundariesAtPitch200) {
  const PageCase cases[] = {
      {0, 1, 0},   {1, 1, 1},  {32, 1, 32},  {33, 1, 33}, {34, 2, 1},
      {80, 2, 47}, {81, 3, 1}, {127, 3, 47}, {128, 4, 1}, {15000, 320, 21},
  };
  for (const PageCase& c : cases) {
    SCOPED_TRACE(c.rows);
    const std::vector<int> lines = oneLineRows(c.rows);
    const DumpPagination p = PaginateDump(lines, 14, 200.0);
    EXPECT_EQ(p.pageCount(), c.pages);
    EXPECT_EQ(p.pages.back().rowCount, c.rowsOnLastPage);
    EXPECT_EQ(static_cast<int>(p.rows.size()), c.rows);
  }
}

TEST(DumpPagination, RowPositionsOnFirstAndFollowingPages) {
  const std::vector<int> lines = oneLineRows(81);
  const DumpPagination p = PaginateDump(lines, 14, 200.0);
  struct Expect {
    int row;
    int page;
    double top;
  };
  for (const Expect& e : {Expect{0, 0, 3000.0}, Expect{31, 0, 9200.0}, Expect{32, 0, 9400.0},
                          Expect{33, 1, 200.0}, Expect{79, 1, 9400.0}, Expect{80, 2, 200.0}}) {
    SCOPED_TRACE(e.row);
    EXPECT_EQ(p.rows[static_cast<size_t>(e.row)].row, e.row);
    EXPECT_EQ(p.rows[static_cast<size_t>(e.row)].page, e.page);
    EXPECT_DOUBLE_EQ(p.rows[static_cast<size_t>(e.row)].top, e.top);
  }
  EXPECT_DOUBLE_EQ(p.pages[0].tableTop, 3000.0);
  EXPECT_DOUBLE_EQ(p.pages[0].tableBottom, 9600.0);
  EXPECT_EQ(p.pages[1].firstRow, 33);
  EXPECT_DOUBLE_EQ(p.pages[1].tableTop, 200.0);
  EXPECT_DOUBLE_EQ(p.footerTop, 9800.0);
}

TEST(DumpPagination, TallerHeaderLeavesFewerRowsOnTheFirstPage) {
  // 16 lines (a QM120-RH): rows from 3400, the 31st at 9400.
  const std::vector<int> fits = oneLineRows(31);
  EXPECT_EQ(PaginateDump(fits, 16, 200.0).pageCount(), 1);
  const std::vector<int> spills = oneLineRows(32);
  const DumpPagination p = PaginateDump(spills, 16, 200.0);
  EXPECT_EQ(p.pageCount(), 2);
  EXPECT_DOUBLE_EQ(p.rows[31].top, 200.0);
}

TEST(DumpPagination, WrappedRowMovesWholeToTheNextPage) {
  // 32 rows end at 9200; a one-line row would fit at 9400, a two-line one
  // would put its second line at 9600 and goes to the next page instead.
  std::vector<int> lines = oneLineRows(32);
  lines.push_back(2);
  lines.push_back(1);
  const DumpPagination p = PaginateDump(lines, 14, 200.0);
  ASSERT_EQ(p.pageCount(), 2);
  EXPECT_EQ(p.rows[32].page, 1);
  EXPECT_DOUBLE_EQ(p.rows[32].top, 200.0);
  EXPECT_EQ(p.rows[32].lines, 2);
  EXPECT_DOUBLE_EQ(p.rows[33].top, 600.0);  // below both lines of the wrapped row
  EXPECT_DOUBLE_EQ(p.pages[1].tableBottom, 800.0);
}

TEST(DumpPagination, EveryRowStaysAboveTheFooter) {
  std::vector<int> lines;
  for (int i = 0; i < 500; ++i) lines.push_back(1 + (i * 7) % 4);
  for (double pitch : {200.0, 291.5, 333.0}) {
    SCOPED_TRACE(pitch);
    const DumpPagination p = PaginateDump(lines, 16, pitch);
    ASSERT_EQ(p.rows.size(), lines.size());
    int previousPage = 0;
    double previousBottom = 0.0;
    for (const RowPlacement& r : p.rows) {
      const double bottom = r.top + r.lines * pitch;
      EXPECT_LT(bottom, p.footerTop);
      EXPECT_EQ(r.lines, lines[static_cast<size_t>(r.row)]);
      if (r.page == previousPage && r.row > 0) {
        EXPECT_DOUBLE_EQ(r.top, previousBottom);
      }
      EXPECT_TRUE(r.page == previousPage || r.page == previousPage + 1);
      previousPage = r.page;
      previousBottom = bottom;
    }
  }
}

TEST(DumpPagination, RowTallerThanAPageKeepsWhatFits) {
  const std::vector<int> lines = {60};
  const DumpPagination p = PaginateDump(lines, 14, 200.0);
  ASSERT_EQ(p.rows.size(), 1u);
  // Not under the header (3000 + 46 * 200 > 9400): alone on page 2, 47 lines.
  EXPECT_EQ(p.pageCount(), 2);
  EXPECT_EQ(p.rows[0].page, 1);
  EXPECT_EQ(p.rows[0].lines, 47);
}

TEST(DumpPagination, NoRowsPrintsTheHeaderPageOnly) {
  const DumpPagination p = PaginateDump({}, 14, 200.0);
  EXPECT_EQ(p.pageCount(), 1);
  EXPECT_EQ(p.pages[0].rowCount, 0);
  EXPECT_TRUE(p.rows.empty());
}

}  // namespace
}  // namespace termika
