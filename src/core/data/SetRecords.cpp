#include "core/data/SetRecords.h"

namespace termika {

void ClearDataSet(DataSet& set) {
  set.Count = 0;
  set.DrawnCount = 0;
  set.AllExtremes.reset();
  set.SelectedExtremes.reset();
}

}  // namespace termika
