#pragma once

#include <vector>

#include "core/base/Result.h"
#include "core/data/DataRecord.h"

namespace termika {

// A summary of a series of points, for reports.
struct SeriesStats {
  int count = 0;
  double firstTime = 0.0;  // day serials of the first and last point in file order
  double lastTime = 0.0;
  double minTemperature = 0.0;
  double maxTemperature = 0.0;
  double meanTemperature = 0.0;
  double minHumidity = 0.0;
  double maxHumidity = 0.0;
  double meanHumidity = 0.0;
  double meanKineticTemperature = 0.0;  // °C
};

// Activation energy and gas constant of the mean kinetic temperature.
inline constexpr double kActivationEnergyJPerMol = 83144.0;
inline constexpr double kGasConstantJPerMolK = 8.314;

// The single temperature (°C) that ages goods as much as the series does:
// ΔH/R over minus the log of the mean of exp(-ΔH/(R·T)). Fails when empty.
Result<double> MeanKineticTemperature(const std::vector<double>& celsius);

// Fails for an empty series.
Result<SeriesStats> ComputeSeriesStats(const std::vector<DataRecord>& records);

}  // namespace termika
