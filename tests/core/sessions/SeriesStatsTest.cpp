#include <gtest/gtest.h>

#include <vector>

#include "core/sessions/SeriesStats.h"

namespace termika {
namespace {

TEST(SeriesStats, MeanKineticTemperature) {
  // Worked out from MKT = (ΔH/R) / -ln(mean(exp(-ΔH/(R·T)))) - 273.15 with
  // ΔH/R = 83144 / 8.314 = 10000.48 K.
  const std::pair<std::vector<double>, double> cases[] = {{{5.0}, 5.0},
                                                          {{20.0, 30.0}, 26.2599457},
                                                          {{25.0, 25.0, 40.0}, 32.7082115},
                                                          {{-10.0, 0.0, 10.0, 20.0}, 11.2622433}};
  for (const auto& [celsius, expected] : cases) {
    const auto mkt = MeanKineticTemperature(celsius);
    ASSERT_TRUE(mkt.ok());
    EXPECT_NEAR(*mkt, expected, 1e-6) << celsius.size();
  }
  EXPECT_FALSE(MeanKineticTemperature({}).ok());
  EXPECT_FALSE(MeanKineticTemperature({-300.0}).ok());
}

TEST(SeriesStats, CountsExtremesAndMeans) {
  std::vector<DataRecord> records(3);
  const float t[] = {21.5f, 19.0f, 24.5f};
  const float h[] = {40.0f, 55.0f, 46.0f};
  for (int i = 0; i < 3; ++i) {
    records[i].Temperature = t[i];
    records[i].Humidity = h[i];
    records[i].DateTime = 46000.0 + i / 24.0;
  }
  const auto s = ComputeSeriesStats(records);
  ASSERT_TRUE(s.ok());
  EXPECT_EQ(s->count, 3);
  EXPECT_DOUBLE_EQ(s->firstTime, 46000.0);
  EXPECT_DOUBLE_EQ(s->lastTime, 46000.0 + 2 / 24.0);
  EXPECT_DOUBLE_EQ(s->minTemperature, 19.0);
  EXPECT_DOUBLE_EQ(s->maxTemperature, 24.5);
  EXPECT_DOUBLE_EQ(s->meanTemperature, 65.0 / 3);
  EXPECT_DOUBLE_EQ(s->minHumidity, 40.0);
  EXPECT_DOUBLE_EQ(s->maxHumidity, 55.0);
  EXPECT_DOUBLE_EQ(s->meanHumidity, 47.0);
  // Warmer than the mean: the warm point weighs more.
  EXPECT_GT(s->meanKineticTemperature, s->meanTemperature);
  EXPECT_LT(s->meanKineticTemperature, s->maxTemperature);
  EXPECT_FALSE(ComputeSeriesStats({}).ok());
}

}  // namespace
}  // namespace termika
