#include "core/data/ExtremesUpdate.h"

namespace termika {
namespace {

void fold(ExtremeEntry& entry, float value, std::int16_t pointNo, bool wantHigher) {
  const auto current = static_cast<float>(entry.Value);
  const bool better = wantHigher ? value > current : value < current;
  const bool tieWithLowerNumber = value == current && pointNo < entry.PointNo;
  if (better || tieWithLowerNumber) {
    entry.Value = value;
    entry.PointNo = pointNo;
  }
}

}  // namespace

void UpdateExtremes(const DataRecord& record, Extremes& extremes) {
  auto& e = extremes.entries;
  fold(e[Extremes::kHighTemperature], record.Temperature, record.RecordNo, true);
  fold(e[Extremes::kLowTemperature], record.Temperature, record.RecordNo, false);
  fold(e[Extremes::kHighHumidity], record.Humidity, record.RecordNo, true);
  fold(e[Extremes::kLowHumidity], record.Humidity, record.RecordNo, false);
}

}  // namespace termika
