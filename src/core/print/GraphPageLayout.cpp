#include "core/print/GraphPageLayout.h"

#include <algorithm>

#include "core/print/PrintPage.h"

namespace termika {

GraphPageLayout layoutGraphPage(int headerLines, double pitch) {
  // One blank line under the header and one between the graphs.
  const double top = (headerLines + 1) * pitch;
  const double height = std::max(0.0, (kPageUnits - top - pitch) / 2.0);
  const double left = kLeftMargin;
  const double width = kPageUnits - 2.0 * kLeftMargin;
  return GraphPageLayout{QRectF(left, top, width, height),
                         QRectF(left, top + height + pitch, width, height)};
}

}  // namespace termika
