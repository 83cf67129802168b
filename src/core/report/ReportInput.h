#pragma once

#include <optional>
#include <vector>

namespace termika::report {

// The activation energy cold-chain and pharmacopoeia guidance uses for the
// mean kinetic temperature, and the gas constant it is divided by.
inline constexpr double kDefaultActivationEnergyKJPerMol = 83.144;
inline constexpr double kGasConstantJPerMolK = 8.3144621;

// One reading. Values are the ones the program shows (two decimals), so a
// reading shown as 8.00 is never counted above a limit of 8.
struct Point {
  double time = 0.0;         // day serial
  double temperature = 0.0;  // °C
  double humidity = 0.0;     // %RH
  int block = 1;             // the uninterrupted recording run it belongs to
};

// Temperature limits in °C; a missing one is not checked.
struct Limits {
  std::optional<double> upper;
  std::optional<double> lower;

  bool any() const { return upper.has_value() || lower.has_value(); }
};

struct Input {
  std::vector<Point> points;  // in recording order
  int intervalSeconds = 0;
  Limits limits;
  double activationEnergyKJPerMol = kDefaultActivationEnergyKJPerMol;
};

}  // namespace termika::report
