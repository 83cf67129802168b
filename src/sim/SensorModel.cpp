#include "sim/SensorModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace termika {
namespace {

// The sensor's two calibration sets: high resolution and low resolution.
struct Coefficients {
  double t0, t1, tCurve, tCentre, h0, h1, h2, comp0, comp1;
};
constexpr Coefficients kHigh{-39.6, 0.01, -0.00000002, 7000, -4, 0.0405, -2.8e-6, 0.01, 0.00008};
constexpr Coefficients kLow{-39.6, 0.04, -0.00000032, 1750, -4, 0.648, -7.2e-4, 0.01, 0.00128};

const Coefficients& coefficients(bool lowResolution) { return lowResolution ? kLow : kHigh; }

// Maximum counts the sensor produces: 14-bit temperature and 12-bit humidity
// in high resolution, 12 and 8 bits in low resolution.
int maxTemperatureCount(bool low) { return low ? 4095 : 16383; }
int maxHumidityCount(bool low) { return low ? 255 : 4095; }

quint64 mix(quint64 x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

// A value in [-1, 1) that depends only on the seed, the second and a channel.
double noiseAt(quint64 seed, qint64 second, quint64 channel) {
  const quint64 h = mix(seed ^ mix(static_cast<quint64>(second) * 4 + channel));
  return static_cast<double>(h >> 11) / static_cast<double>(1ULL << 52) - 1.0;
}

}  // namespace

double countToTemperature(int count, bool lowResolution) {
  const Coefficients& c = coefficients(lowResolution);
  const double d = count - c.tCentre;
  return c.t0 + c.t1 * count + c.tCurve * d * d;
}

int temperatureToCount(double celsius, bool lowResolution) {
  const Coefficients& c = coefficients(lowResolution);
  const double a = c.tCurve;
  const double b = c.t1 - 2 * a * c.tCentre;
  const double k = a * c.tCentre * c.tCentre + c.t0 - celsius;
  const double disc = std::max(0.0, b * b - 4 * a * k);
  const double x = (-b + std::sqrt(disc)) / (2 * a);
  return std::clamp(static_cast<int>(std::lround(x)), 0, maxTemperatureCount(lowResolution));
}

int humidityToCount(double humidity, int temperatureCount, bool lowResolution) {
  const Coefficients& c = coefficients(lowResolution);
  const double t = static_cast<float>(countToTemperature(temperatureCount, lowResolution));
  // (t-25)(comp0 + comp1 h) + h0 + h1 h + h2 h^2 = humidity, a quadratic in h;
  // the rising branch (the smaller root, h2 being negative) is the physical one.
  const double a = c.h2;
  const double b = c.h1 + (t - 25.0) * c.comp1;
  const double k = c.h0 + (t - 25.0) * c.comp0 - humidity;
  const double disc = b * b - 4 * a * k;
  const double top = maxHumidityCount(lowResolution);
  if (disc < 0) return static_cast<int>(top);
  const double root = (-b + std::sqrt(disc)) / (2 * a);
  return std::clamp(static_cast<int>(std::lround(root)), 0, static_cast<int>(top));
}

SensorModel::SensorModel(SensorParams params) : m_params(params) {}

SensorReading SensorModel::read(qint64 calendarSeconds) const {
  constexpr qint64 kDay = 86400;
  const double secondOfDay = static_cast<double>(((calendarSeconds % kDay) + kDay) % kDay);
  // Phase so the peak falls at 15:00 and the trough at 03:00.
  const double phase = 2 * std::numbers::pi * (secondOfDay / kDay - 0.375);
  const double wave = std::sin(phase);
  SensorReading r;
  r.celsius = m_params.temperatureMean + m_params.temperatureSwing * wave +
              m_params.noise * noiseAt(m_params.seed, calendarSeconds, 0);
  r.humidity = m_params.humidityMean - m_params.humiditySwing * wave +
               m_params.noise * noiseAt(m_params.seed, calendarSeconds, 1);
  r.humidity = std::clamp(r.humidity, 1.0, 99.0);
  return r;
}

std::array<std::uint8_t, 4> SensorModel::rawAt(qint64 calendarSeconds, bool lowResolution) const {
  const SensorReading r = read(calendarSeconds);
  const int t = temperatureToCount(r.celsius, lowResolution);
  const int h = humidityToCount(r.humidity, t, lowResolution);
  return {static_cast<std::uint8_t>(t >> 8), static_cast<std::uint8_t>(t & 0xFF),
          static_cast<std::uint8_t>(h >> 8), static_cast<std::uint8_t>(h & 0xFF)};
}

}  // namespace termika
