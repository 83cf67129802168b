#include "core/print/DumpPagination.h"

#include <algorithm>

#include "core/print/PrintPage.h"

namespace termika {

DumpPagination paginateDump(std::span<const int> rowLines, int headerLines, double pitch) {
  DumpPagination result;
  result.footerTop = kPageUnits - pitch;
  // The last line of a row may start no lower than this.
  const double lowestLine = kPageUnits - 3.0 * pitch;
  const int linesPerPage = std::max(1, static_cast<int>((lowestLine - pitch) / pitch) + 1);

  result.pages.push_back(DumpPage{});
  double y = headerLines * pitch;  // the print position: top of the last printed line
  for (int i = 0; i < static_cast<int>(rowLines.size()); ++i) {
    const int lines = std::clamp(rowLines[static_cast<size_t>(i)], 1, linesPerPage);
    const double last = y + lines * pitch;
    DumpPage* page = &result.pages.back();
    const bool pageHasRows = page->rowCount > 0;
    const bool headerPage = result.pages.size() == 1;
    if (last > lowestLine && (pageHasRows || headerPage)) {
      result.pages.push_back(DumpPage{static_cast<int>(result.rows.size()), 0, 0.0, 0.0});
      page = &result.pages.back();
      y = 0.0;
    }
    const double top = y + pitch;
    if (page->rowCount == 0) {
      page->firstRow = static_cast<int>(result.rows.size());
      page->tableTop = top;
    }
    result.rows.push_back(RowPlacement{i, static_cast<int>(result.pages.size()) - 1, top, lines});
    ++page->rowCount;
    y = top + (lines - 1) * pitch;
    page->tableBottom = y + pitch;
  }
  return result;
}

}  // namespace termika
