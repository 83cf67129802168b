#include <gtest/gtest.h>

#include "core/data/ExtremesUpdate.h"

namespace termika {
namespace {

DataRecord point(int no, float t, float h) {
  DataRecord r;
  r.RecordNo = static_cast<std::int16_t>(no);
  r.Temperature = t;
  r.Humidity = h;
  return r;
}

TEST(UpdateExtremes, TieKeepsTheLowerPointNumberWhateverTheOrder) {
  Extremes forward;
  for (const auto& r :
       {point(1, 20.f, 50.f), point(2, 25.f, 40.f), point(3, 25.f, 60.f), point(4, 18.f, 40.f)}) {
    UpdateExtremes(r, forward);
  }
  Extremes backward;
  for (const auto& r :
       {point(4, 18.f, 40.f), point(3, 25.f, 60.f), point(2, 25.f, 40.f), point(1, 20.f, 50.f)}) {
    UpdateExtremes(r, backward);
  }
  for (const Extremes& e : {forward, backward}) {
    EXPECT_EQ(e.entries[Extremes::kHighTemperature].PointNo, 2);
    EXPECT_EQ(e.entries[Extremes::kLowTemperature].PointNo, 4);
    EXPECT_EQ(e.entries[Extremes::kHighHumidity].PointNo, 3);
    EXPECT_EQ(e.entries[Extremes::kLowHumidity].PointNo, 2);
    EXPECT_DOUBLE_EQ(e.entries[Extremes::kLowTemperature].Value, 18.0);
  }
  Extremes empty;
  EXPECT_FALSE(empty.hasValues());
  EXPECT_TRUE(forward.hasValues());
}

}  // namespace
}  // namespace termika
