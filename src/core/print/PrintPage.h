#pragma once

#include <QPointF>
#include <array>

namespace termika {

// A printed page is laid out in page units: (0, 0) at the top left of the
// printable area, (10000, 10000) at its bottom right, whatever the paper.
inline constexpr double kPageUnits = 10000.0;
inline constexpr double kLeftMargin = 500.0;
inline constexpr double kPrintPointSize = 10.5;
inline constexpr double kLinePitchFactor = 1.5;

// The page scale is not uniform: one unit across is not one unit down, so
// every position is mapped here instead of through a painter scale.
struct PageScale {
  double deviceWidth = 0.0;  // printable area in device pixels
  double deviceHeight = 0.0;

  double x(double units) const { return units * deviceWidth / kPageUnits; }
  double y(double units) const { return units * deviceHeight / kPageUnits; }
  QPointF point(double ux, double uy) const { return QPointF(x(ux), y(uy)); }
  double unitsX(double pixels) const { return pixels * kPageUnits / deviceWidth; }
  double unitsY(double pixels) const { return pixels * kPageUnits / deviceHeight; }
};

// Line pitch L and character width C in page units.
struct PrintMetrics {
  double linePitch = 0.0;
  double charWidth = 0.0;
};

// From the height and width of "A" as measured on the printer, in device pixels.
PrintMetrics measurePrintMetrics(const PageScale& scale, double heightOfA, double widthOfA);

// Table columns: number, time, temperature, humidity, remark, and the right
// end of the remark column.
enum PrintColumn : int {
  kNumberColumn = 0,
  kTimeColumn = 1,
  kTemperatureColumn = 2,
  kHumidityColumn = 3,
  kRemarksColumn = 4,
  kTableEndColumn = 5,
};
inline constexpr std::array<int, 6> kColumnChars = {0, 6, 18, 24, 30, 44};
inline constexpr int kHeaderValueChars = 16;

struct ColumnPositions {
  std::array<double, 6> columns{};
  double headerValue = 0.0;
};

ColumnPositions setColumnPositions(double leftMargin, double charWidth);

}  // namespace termika
