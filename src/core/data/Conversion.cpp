#include "core/data/Conversion.h"

#include <cmath>

#include "core/base/PackedDecimal.h"
#include "core/base/Says.h"
#include "core/data/DayTime.h"
#include "core/data/ExtremesUpdate.h"
#include "core/data/LoggerModel.h"

namespace termika {
namespace {

constexpr double kMinTemperature = -40.0;
constexpr double kMaxTemperature = 100.0;
constexpr double kMinHumidity = 0.0;
constexpr double kMaxHumidity = 100.0;
constexpr double kMinLimitCelsius = -20.0;
constexpr double kMaxLimitCelsius = 70.0;

std::array<ConversionCoefficients, 2> buildTable() {
  // The humidity curvature is stored as the product the sensor's data sheet
  // gives, which differs from the literal in the last bit.
  const double c8High = -2.8 * std::pow(10.0, -6);
  const double c8Low = -7.2 * std::pow(10.0, -4);
  return {{
      {{-39.6, 0.01, -39.28, 0.018, -0.00000002, 7000, -4, 0.0405, c8High, 0.01, 0.00008}},
      {{-39.6, 0.04, -39.28, 0.072, -0.00000032, 1750, -4, 0.648, c8Low, 0.01, 0.00128}},
  }};
}

}  // namespace

const std::array<ConversionCoefficients, 2>& conversionTable() {
  static const std::array<ConversionCoefficients, 2> kTable = buildTable();
  return kTable;
}

bool isLowResolution(int mode) { return mode >= 1 && mode <= 2; }

const ConversionCoefficients& coefficientsFor(int mode) {
  return conversionTable()[isLowResolution(mode) ? 1 : 0];
}

float rawToTemperature(int count, int mode) {
  const auto& c = coefficientsFor(mode).c;
  const double x = count;
  return static_cast<float>(c[0] + c[1] * x + c[4] * (x - c[5]) * (x - c[5]));
}

std::optional<int> temperatureToRaw(double celsius, int mode) {
  if (!(celsius >= kMinLimitCelsius && celsius <= kMaxLimitCelsius)) return std::nullopt;
  const auto& c = coefficientsFor(mode).c;
  const double a = c[4];
  const double b = c[1] - 2 * c[4] * c[5];
  const double k = c[4] * c[5] * c[5] + c[0] - celsius;
  const double x = (-b + std::sqrt(b * b - 4 * a * k)) / (2 * a);
  // nearbyint rounds half to even in the default rounding mode.
  return static_cast<int>(std::nearbyint(x));
}

void convertSample(DataRecord& record, int mode) {
  const auto& c = coefficientsFor(mode).c;
  const float t = rawToTemperature(record.rawTemperature(), mode);
  const double h = record.rawHumidity();
  const double linear = c[6] + c[7] * h + c[8] * h * h;
  // Humidity is compensated with the unclamped temperature.
  float humidity =
      static_cast<float>((static_cast<double>(t) - 25.0) * (c[9] + c[10] * h) + linear);
  float temperature = t;
  if (temperature < kMinTemperature) temperature = static_cast<float>(kMinTemperature);
  if (temperature > kMaxTemperature) temperature = static_cast<float>(kMaxTemperature);
  if (humidity < kMinHumidity) humidity = static_cast<float>(kMinHumidity);
  if (humidity > kMaxHumidity) humidity = static_cast<float>(kMaxHumidity);
  record.temperature = temperature;
  record.humidity = humidity;
}

Result<void> convertDataSet(DataSet& set, RecordFile& file, const UiText& texts) {
  if (set.interval <= 0) {
    return Error{says("The data set has no valid interval (%1 s); it cannot be converted.")
                     .arg(set.interval)};
  }
  if (set.count <= 0) {
    set.allExtremes.reset();
    return {};
  }
  std::vector<DataRecord> records = file.readRange(1, set.count);
  if (static_cast<int>(records.size()) != set.count) {
    return Error{says("Only %1 of %2 records could be read for conversion.")
                     .arg(records.size())
                     .arg(set.count)};
  }
  const bool alarms = hasAlarms(set.model);
  const QString upperRemark = fitRemarks(texts[TextId::AboveUpperLimit]);
  const QString lowerRemark = fitRemarks(texts[TextId::BelowLowerLimit]);
  Extremes extremes;
  for (DataRecord& r : records) {
    convertSample(r, set.interval);
    if (alarms) {
      if (set.upperAlarm.enabled != 0 &&
          r.temperature >= static_cast<float>(set.upperAlarm.limit)) {
        r.remarks = upperRemark;
      } else if (set.lowerAlarm.enabled != 0 &&
                 r.temperature <= static_cast<float>(set.lowerAlarm.limit)) {
        r.remarks = lowerRemark;
      }
    }
    updateExtremes(r, extremes);
  }
  if (auto written = file.writeRange(1, records); !written) return written;
  set.allExtremes = extremes;
  return {};
}

std::optional<int> expandYear(int twoDigits) {
  if (twoDigits < 0 || twoDigits > 99) return std::nullopt;
  return 2000 + twoDigits;
}

std::optional<double> packedDecimalTime(const std::array<std::uint8_t, 6>& yearToSecond) {
  std::array<int, 6> v{};
  for (size_t i = 0; i < v.size(); ++i) {
    const auto digits = fromPackedDecimal(yearToSecond[i]);
    if (!digits) return std::nullopt;
    v[i] = *digits;
  }
  const auto year = expandYear(v[0]);
  if (!year) return std::nullopt;
  return toDaySerial(CivilTime{*year, v[1], v[2], v[3], v[4], v[5]});
}

}  // namespace termika
