#include "core/data/DataSet.h"

namespace termika {

void Extremes::reset() {
  entries[kHighTemperature].Value = kResetHigh;
  entries[kLowTemperature].Value = kResetLow;
  entries[kHighHumidity].Value = kResetHigh;
  entries[kLowHumidity].Value = kResetLow;
}

}  // namespace termika
