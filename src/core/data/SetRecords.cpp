#include "core/data/SetRecords.h"

#include "core/base/Says.h"

namespace termika {

Result<int> AppendRecord(DataSet& set, RecordFile& file, DataRecord record) {
  if (set.Count >= kMaxSetPoints) {
    return Error{says("The data set is full: it holds at most %1 points.").arg(kMaxSetPoints)};
  }
  const int recordNo = set.Count + 1;
  record.RecordNo = static_cast<std::int16_t>(recordNo);
  record.Reserved = {};
  if (auto written = file.write(recordNo, record); !written) return written.error();
  set.Count = recordNo;
  return recordNo;
}

void ClearDataSet(DataSet& set) {
  set.Count = 0;
  set.DrawnCount = 0;
  set.AllExtremes.reset();
  set.SelectedExtremes.reset();
}

}  // namespace termika
