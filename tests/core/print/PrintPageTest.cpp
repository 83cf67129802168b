#include <gtest/gtest.h>

#include "core/print/GraphPageLayout.h"
#include "core/print/PrintPage.h"

namespace termika {
namespace {

TEST(PrintPage, ColumnsCountCharactersFromTheMargin) {
  const ColumnPositions p = setColumnPositions(500.0, 100.0);
  const std::array<double, 6> expected = {500.0, 1100.0, 2300.0, 2900.0, 3500.0, 4900.0};
  EXPECT_EQ(p.columns, expected);
  EXPECT_DOUBLE_EQ(p.headerValue, 2100.0);
}

TEST(PrintPage, ScaleIsMappedPerAxis) {
  // A printable area of 2000 x 3000 pixels: a unit across is 0.2 px, down 0.3 px;
  // "A" 30 px high and 20 px wide gives L = 1.5 * 100 units and C = 100 units.
  const PageScale scale{2000.0, 3000.0};
  EXPECT_EQ(scale.point(500.0, 1000.0), QPointF(100.0, 300.0));
  const PrintMetrics m = measurePrintMetrics(scale, 30.0, 20.0);
  EXPECT_EQ(std::pair(m.linePitch, m.charWidth), std::pair(150.0, 100.0));
}

TEST(PrintPage, GraphsShareThePageBelowTheHeader) {
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

}  // namespace
}  // namespace termika
