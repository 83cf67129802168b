#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/base/Result.h"
#include "core/base/UiText.h"
#include "core/data/DataRecord.h"
#include "core/data/DataSet.h"
#include "core/data/RecordFile.h"

namespace termika {

// Coefficients c0..c10 of the sensor's quadratic model, one set per resolution.
struct ConversionCoefficients {
  std::array<double, 11> c{};
};

// Set 0 is the high-resolution mode, set 1 the low-resolution mode the logger
// uses at short intervals. Built once, never changed.
const std::array<ConversionCoefficients, 2>& conversionTable();

// Low resolution is used for modes (intervals in seconds) 1 and 2 only; a
// mode of 0 or less is an error for the caller, never low resolution.
bool isLowResolution(int mode);
const ConversionCoefficients& coefficientsFor(int mode);

float rawToTemperature(int count, int mode);
// The count that gives `celsius`; only -20..70 °C (the range of alarm limits)
// has an answer, rounded half to even.
std::optional<int> temperatureToRaw(double celsius, int mode);
// Reads Raw of the record and stores its clamped Temperature and Humidity.
void convertSample(DataRecord& record, int mode);

// Re-converts records 1..Count of a set in place: alarm remarks (texts `AboveUpperLimit`
// and 1124, models with alarms only) and the set's AllExtremes, which are
// rebuilt from scratch. An Interval of 0 or less is an error.
Result<void> convertDataSet(DataSet& set, RecordFile& file, const UiText& texts);

// Two-digit logger years: 0..99 -> 2000..2099, anything else nullopt.
std::optional<int> expandYear(int twoDigits);

// A time the logger sends as six packed-decimal bytes, year first:
// year, month, day, hour, minute, second. nullopt when a byte is not packed
// decimal or the date does not exist.
std::optional<double> packedDecimalTime(const std::array<std::uint8_t, 6>& yearToSecond);

}  // namespace termika
