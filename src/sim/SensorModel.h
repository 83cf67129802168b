#pragma once

#include <QtGlobal>
#include <array>
#include <cstdint>

namespace termika {

// What the logger's sensor would read at a given calendar second: a smooth
// daily curve (warmest mid-afternoon, most humid before dawn) with a little
// noise. The noise is a hash of the seed and the second, so the same second
// always reads the same, however time was advanced.
struct SensorParams {
  quint64 seed = 1;
  double temperatureMean = 22.0;
  double temperatureSwing = 4.0;
  double humidityMean = 55.0;
  double humiditySwing = 12.0;
  double noise = 0.1;  // amplitude in degrees / %RH
};

struct SensorReading {
  double celsius = 0.0;
  double humidity = 0.0;
};

class SensorModel final {
 public:
  explicit SensorModel(SensorParams params = {});

  SensorReading read(qint64 calendarSeconds) const;
  // The 4 raw bytes (temperature high, low, humidity high, low) the sensor
  // reports for the reading at that second, in high or low resolution.
  std::array<std::uint8_t, 4> rawAt(qint64 calendarSeconds, bool lowResolution) const;

  const SensorParams& params() const { return m_params; }

 private:
  SensorParams m_params;
};

// Counts from physical values: the inverse of the program's conversion, so a
// download of simulated data shows the curve that was simulated.
int temperatureToCount(double celsius, bool lowResolution);
int humidityToCount(double humidity, int temperatureCount, bool lowResolution);
// The forward formula, kept here for the inversion above.
double countToTemperature(int count, bool lowResolution);

}  // namespace termika
