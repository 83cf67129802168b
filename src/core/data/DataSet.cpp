#include "core/data/DataSet.h"

namespace termika {

void Extremes::reset() {
  entries[kHighTemperature].value = kResetHigh;
  entries[kLowTemperature].value = kResetLow;
  entries[kHighHumidity].value = kResetHigh;
  entries[kLowHumidity].value = kResetLow;
}

}  // namespace termika
