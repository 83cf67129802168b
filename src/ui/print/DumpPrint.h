#pragma once

#include <QPagedPaintDevice>
#include <QPainter>
#include <span>

#include "core/base/Result.h"
#include "core/model/AppState.h"
#include "core/print/PrintPlan.h"
#include "ui/print/PrintOutcome.h"

namespace termika {

// Paints the header block and the ruled table of the plan's rows over as many
// pages as they need, each numbered at the bottom with the set's name at the
// left; the pages are counted here.
PrintOutcome printDumpPages(QPainter& painter, QPagedPaintDevice& device, const DumpPrintPlan& plan,
                            const UiText& texts);

// Reads the rows of a set's dump list for printing: every row when
// `allRows`, else the selected ones, in list order. Fails for an empty set.
Result<PagePainter> prepareDumpPrint(const AppState& state, int set,
                                     std::span<const DumpListRow> rows, bool allRows);

}  // namespace termika
