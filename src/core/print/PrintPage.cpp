#include "core/print/PrintPage.h"

namespace termika {

PrintMetrics measurePrintMetrics(const PageScale& scale, double heightOfA, double widthOfA) {
  return PrintMetrics{kLinePitchFactor * scale.unitsY(heightOfA), scale.unitsX(widthOfA)};
}

ColumnPositions setColumnPositions(double leftMargin, double charWidth) {
  ColumnPositions p;
  for (size_t i = 0; i < kColumnChars.size(); ++i) {
    p.columns[i] = leftMargin + kColumnChars[i] * charWidth;
  }
  p.headerValue = leftMargin + kHeaderValueChars * charWidth;
  return p;
}

}  // namespace termika
