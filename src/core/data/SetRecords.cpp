#include "core/data/SetRecords.h"

namespace termika {

void clearDataSet(DataSet& set) {
  set.count = 0;
  set.drawnCount = 0;
  set.allExtremes.reset();
  set.selectedExtremes.reset();
}

}  // namespace termika
