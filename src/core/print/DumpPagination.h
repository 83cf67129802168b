#pragma once

#include <span>
#include <vector>

namespace termika {

// Where one printed row goes. `top` is the top of its first line in page
// units; a wrapped remark takes `lines` lines, one pitch apart.
struct RowPlacement {
  int row = 0;   // index into the rows handed in
  int page = 0;  // 0-based
  double top = 0.0;
  int lines = 1;

  friend bool operator==(const RowPlacement&, const RowPlacement&) = default;
};

struct DumpPage {
  int firstRow = 0;  // index into the placements
  int rowCount = 0;
  double tableTop = 0.0;     // top of the first row
  double tableBottom = 0.0;  // bottom of the last row's last line
};

struct DumpPagination {
  std::vector<RowPlacement> rows;
  std::vector<DumpPage> pages;  // never empty: the header page always prints
  double footerTop = 0.0;       // where page number and name go on every page

  int pageCount() const { return static_cast<int>(pages.size()); }
};

// Lays the rows out under a header of `headerLines` lines at pitch `pitch`,
// the header starting at the top of the first page. A row goes on the next
// page when its last line would come within three pitches of the page's
// bottom, so rows always stay above the footer line, and a page break happens
// only when another row follows. A row taller than a whole page keeps the
// lines that fit.
DumpPagination paginateDump(std::span<const int> rowLines, int headerLines, double pitch);

}  // namespace termika
