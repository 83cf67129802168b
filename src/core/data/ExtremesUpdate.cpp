#include "core/data/ExtremesUpdate.h"

namespace termika {
namespace {

void fold(ExtremeEntry& entry, float value, std::int16_t pointNo, bool wantHigher) {
  const auto current = static_cast<float>(entry.value);
  const bool better = wantHigher ? value > current : value < current;
  const bool tieWithLowerNumber = value == current && pointNo < entry.pointNo;
  if (better || tieWithLowerNumber) {
    entry.value = value;
    entry.pointNo = pointNo;
  }
}

}  // namespace

void updateExtremes(const DataRecord& record, Extremes& extremes) {
  auto& e = extremes.entries;
  fold(e[Extremes::kHighTemperature], record.temperature, record.recordNo, true);
  fold(e[Extremes::kLowTemperature], record.temperature, record.recordNo, false);
  fold(e[Extremes::kHighHumidity], record.humidity, record.recordNo, true);
  fold(e[Extremes::kLowHumidity], record.humidity, record.recordNo, false);
}

}  // namespace termika
