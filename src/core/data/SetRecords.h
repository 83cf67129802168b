#pragma once

#include "core/base/Result.h"
#include "core/data/DataRecord.h"
#include "core/data/DataSet.h"
#include "core/data/RecordFile.h"

namespace termika {

// Empties a set: Count and DrawnCount 0, extremes reset. The record file is
// not truncated; records beyond Count are never read.
void clearDataSet(DataSet& set);

// "partial: N of M points" for the set of a cancelled download; empty for a
// whole set.
QString partialNote(const DataSet& set);

}  // namespace termika
