#pragma once

#include "core/base/Result.h"
#include "core/data/DataRecord.h"
#include "core/data/DataSet.h"
#include "core/data/RecordFile.h"

namespace termika {

// Stores `record` as point Count + 1 of the set (its RecordNo is set, its
// Reserved bytes zeroed) and raises Count. Refuses, leaving the set as it
// was, when the set already holds kMaxSetPoints points: record numbers are
// 16-bit on disk and must never wrap.
Result<int> AppendRecord(DataSet& set, RecordFile& file, DataRecord record);

// Empties a set: Count and DrawnCount 0, extremes reset. The record file is
// not truncated; records beyond Count are never read.
void ClearDataSet(DataSet& set);

}  // namespace termika
