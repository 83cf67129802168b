#pragma once

#include <optional>
#include <vector>

#include "core/report/ReportInput.h"

namespace termika::report {

// The single temperature (°C) that ages goods as much as the readings do:
// (ΔH/R) / -ln(mean(exp(-ΔH/(R·T)))) - 273.15, T in kelvin. Nothing for no
// points, an activation energy that is not positive, or a reading at or
// below absolute zero.
std::optional<double> meanKineticTemperature(const std::vector<Point>& points,
                                             double activationEnergyKJPerMol);

}  // namespace termika::report
