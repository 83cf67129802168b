#pragma once

#include <vector>

#include "core/data/DataRecord.h"
#include "core/report/ReportInput.h"

namespace termika::report {

// The readings of a data set as the report counts them: values rounded as
// the program shows them, blocks from the records' segments.
std::vector<Point> pointsFromRecords(const std::vector<DataRecord>& records);

}  // namespace termika::report
