#pragma once

#include "core/data/DataRecord.h"
#include "core/data/DataSet.h"

namespace termika {

// Folds one record into extremes. Values are compared in single precision and
// strictly; on a tie the lower point number keeps the entry whatever the order
// in which records arrive (a sorted list must not move a mark).
void updateExtremes(const DataRecord& record, Extremes& extremes);

}  // namespace termika
