#pragma once

#include <QRectF>

namespace termika {

// Where the two graphs go on a graph page, in page units: one above the
// other, below the header block and within the side margins, so a tall
// header (a QM120-RH with its limit lines) never runs into them.
struct GraphPageLayout {
  QRectF temperature;
  QRectF humidity;
};

GraphPageLayout layoutGraphPage(int headerLines, double pitch);

}  // namespace termika
