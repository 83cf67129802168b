#include "core/report/MeanKineticTemperature.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace termika::report {

namespace {
constexpr double kKelvinOffset = 273.15;
}

std::optional<double> meanKineticTemperature(const std::vector<Point>& points,
                                             double activationEnergyKJPerMol) {
  if (points.empty() || !std::isfinite(activationEnergyKJPerMol) ||
      activationEnergyKJPerMol <= 0.0) {
    return std::nullopt;
  }
  const double kelvinScale = activationEnergyKJPerMol * 1000.0 / kGasConstantJPerMolK;
  // The exponents -ΔH/(R·T) are summed relative to the largest one (the
  // warmest reading), so cold series or large energies never underflow to 0.
  double largest = -std::numeric_limits<double>::infinity();
  for (const Point& p : points) {
    const double kelvin = p.temperature + kKelvinOffset;
    if (!(kelvin > 0.0)) return std::nullopt;
    largest = std::max(largest, -kelvinScale / kelvin);
  }
  double sum = 0.0;
  for (const Point& p : points) {
    sum += std::exp(-kelvinScale / (p.temperature + kKelvinOffset) - largest);
  }
  const double logMean = largest + std::log(sum / static_cast<double>(points.size()));
  return kelvinScale / -logMean - kKelvinOffset;
}

}  // namespace termika::report
