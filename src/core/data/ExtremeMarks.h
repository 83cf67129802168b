#pragma once

#include "core/base/Result.h"
#include "core/base/UiText.h"
#include "core/data/DataSet.h"
#include "core/data/RecordFile.h"

namespace termika {

// Appends the four extreme marks (texts `RemarkMaximumTemperature`..`RemarkMinimumHumidity`, in
// entry order) to the trimmed remarks of the records the extremes point at. Marks accumulate on a
// point that holds several extremes. Point numbers outside 1..count (0 after a
// reset, or stale) are skipped.
Result<void> markExtremeRecords(const Extremes& extremes, int count, RecordFile& file,
                                const UiText& texts);

// Blanks removed from both ends, as the runtime's Trim does: only U+0020, so a
// full-width blank belongs to the text.
QString trimBlanks(const QString& text);

}  // namespace termika
