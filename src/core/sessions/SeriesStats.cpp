#include "core/sessions/SeriesStats.h"

#include <algorithm>
#include <cmath>

#include "core/base/Says.h"

namespace termika {

namespace {

constexpr double kKelvinOffset = 273.15;

}  // namespace

Result<double> MeanKineticTemperature(const std::vector<double>& celsius) {
  if (celsius.empty()) return Error{says("There are no points to summarise.")};
  const double ratio = kActivationEnergyJPerMol / kGasConstantJPerMolK;  // kelvin
  // Factored by the warmest point so no term underflows to 0 for cold series.
  const double warmest = *std::max_element(celsius.begin(), celsius.end()) + kKelvinOffset;
  if (warmest <= 0.0) return Error{says("A temperature lies below absolute zero.")};
  double sum = 0.0;
  for (const double c : celsius) {
    const double kelvin = c + kKelvinOffset;
    if (kelvin <= 0.0) return Error{says("A temperature lies below absolute zero.")};
    sum += std::exp(-ratio / kelvin + ratio / warmest);
  }
  const double meanLog = std::log(sum / static_cast<double>(celsius.size())) - ratio / warmest;
  return ratio / -meanLog - kKelvinOffset;
}

Result<SeriesStats> ComputeSeriesStats(const std::vector<DataRecord>& records) {
  if (records.empty()) return Error{says("There are no points to summarise.")};
  SeriesStats s;
  s.count = static_cast<int>(records.size());
  s.firstTime = records.front().DateTime;
  s.lastTime = records.back().DateTime;
  s.minTemperature = s.maxTemperature = records.front().Temperature;
  s.minHumidity = s.maxHumidity = records.front().Humidity;
  double sumT = 0.0;
  double sumH = 0.0;
  std::vector<double> temperatures;
  temperatures.reserve(records.size());
  for (const DataRecord& r : records) {
    const double t = r.Temperature;
    const double h = r.Humidity;
    s.minTemperature = std::min(s.minTemperature, t);
    s.maxTemperature = std::max(s.maxTemperature, t);
    s.minHumidity = std::min(s.minHumidity, h);
    s.maxHumidity = std::max(s.maxHumidity, h);
    sumT += t;
    sumH += h;
    temperatures.push_back(t);
  }
  s.meanTemperature = sumT / s.count;
  s.meanHumidity = sumH / s.count;
  const auto mkt = MeanKineticTemperature(temperatures);
  if (!mkt) return mkt.error();
  s.meanKineticTemperature = *mkt;
  return s;
}

}  // namespace termika
