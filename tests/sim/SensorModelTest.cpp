#include <gtest/gtest.h>

#include "sim/SensorModel.h"

namespace termika {
namespace {

TEST(SensorCounts, InvertTheConversionFormulasWithinTheSensorsRange) {
  // 25 °C: 6460.58 in high resolution; 0 °C: 3977.9; 25 °C low: 1615.
  const std::tuple<double, bool, int> temperatures[] = {{25.0, false, 6461},
                                                        {0.0, false, 3978},
                                                        {25.0, true, 1615},
                                                        {-80, false, 0},
                                                        {500, false, 16383}};
  for (const auto& [celsius, low, count] : temperatures) {
    EXPECT_EQ(temperatureToCount(celsius, low), count) << celsius;
  }
  // 1800 counts at 6461 read 59.8286 %RH; 100 counts at 1615 read 53.5992 %RH.
  const std::tuple<double, int, bool, int> humidities[] = {{59.83, 6461, false, 1800},
                                                           {53.60, 1615, true, 100},
                                                           {-5, 6461, false, 0},
                                                           {150, 1615, true, 255}};
  for (const auto& [percent, temperature, low, count] : humidities) {
    EXPECT_EQ(humidityToCount(percent, temperature, low), count) << percent;
  }
}

TEST(SensorModel, SameSecondSameReadingAndDailyShape) {
  SensorModel a({.seed = 4,
                 .temperatureMean = 20,
                 .temperatureSwing = 5,
                 .humidityMean = 50,
                 .humiditySwing = 10,
                 .noise = 0.1});
  SensorModel b(a.params());
  const qint64 day = 46000LL * 86400;
  EXPECT_EQ(a.rawAt(day + 1234, false), b.rawAt(day + 1234, false));
  EXPECT_NEAR(a.read(day + 15 * 3600).celsius, 25.0, 0.11);  // warmest at 15:00
  EXPECT_NEAR(a.read(day + 3 * 3600).celsius, 15.0, 0.11);   // coolest at 03:00
  EXPECT_NEAR(a.read(day + 3 * 3600).humidity, 60.0, 0.11);
  SensorModel other({.seed = 5});
  EXPECT_NE(a.read(day + 9 * 3600).celsius - 20.0, other.read(day + 9 * 3600).celsius - 22.0);
}

}  // namespace
}  // namespace termika
