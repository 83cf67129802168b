#include "core/data/SetRecords.h"

#include "core/base/Says.h"

namespace termika {

void clearDataSet(DataSet& set) {
  set.count = 0;
  set.drawnCount = 0;
  set.partialOf = 0;
  set.allExtremes.reset();
  set.selectedExtremes.reset();
}

QString partialNote(const DataSet& set) {
  if (set.partialOf <= 0) return {};
  return says("partial: %1 of %2 points").arg(set.count).arg(set.partialOf);
}

}  // namespace termika
