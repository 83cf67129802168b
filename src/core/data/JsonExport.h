#pragma once

#include <QByteArray>
#include <QTimeZone>
#include <vector>

#include "core/base/Result.h"
#include "core/data/DataRecord.h"
#include "core/data/DataSet.h"

namespace termika {

// A data set as JSON for scripts: {"header": {...}, "points": [...]}, UTF-8.
// Keys are English whatever the interface language, so scripts keep working.
// Header: loggerName, model, start and end (ISO 8601 local times with their
// offset in `zone`), pointCount, intervalSeconds, upperLimit and lowerLimit
// (°C, null when off or the model has no alarms), temperatureUnit,
// humidityUnit. Each point: no, time, temperature, humidity (numbers with the
// program's rounding), block (the recording run), remarks (without padding).
Result<QByteArray> jsonBytes(const DataSet& set, const std::vector<DataRecord>& records,
                             const QTimeZone& zone);

}  // namespace termika
