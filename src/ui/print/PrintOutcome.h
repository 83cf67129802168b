#pragma once

#include <QPagedPaintDevice>
#include <QPainter>
#include <functional>

#include "core/data/DataSet.h"

namespace termika {

// What a finished print leaves behind: the pages counted while printing and
// the extremes of what was printed (the window drawn, or the rows listed).
struct PrintOutcome {
  int pages = 0;
  Extremes selected;
};

// A print job whose data has been read and checked: painting it cannot fail,
// so nothing reaches a printer or a file before every input is known good.
using PagePainter = std::function<PrintOutcome(QPainter&, QPagedPaintDevice&)>;

}  // namespace termika
