#include <gtest/gtest.h>

#include <QStringList>
#include <cmath>
#include <random>

#include "core/data/DayTime.h"
#include "core/report/MeanKineticTemperature.h"
#include "core/report/ReportPoints.h"
#include "core/report/Summary.h"

namespace termika::report {
namespace {

constexpr qint64 kBase = 46000LL * 86400;  // 2025-12-09 00:00:00 in seconds since 1899-12-30

double minute(int m) { return secondsToDaySerial(kBase + m * 60); }

// Readings one minute apart at an interval of 60 s, humidity 50. "|" ends a
// block: the next one starts after ten minutes without readings.
Input readings(const char* temperatures, Limits limits = {}) {
  Input input;
  input.intervalSeconds = 60;
  input.limits = limits;
  int at = 0;
  int block = 1;
  for (const QString& item : QString::fromLatin1(temperatures).split(u' ', Qt::SkipEmptyParts)) {
    if (item == QLatin1String("|")) {
      at += 10;
      ++block;
      continue;
    }
    input.points.push_back({minute(at++), item.toDouble(), 50.0, block});
  }
  return input;
}

struct Expected {
  Side side;
  int startMinute;
  int endMinute;
  double peak;
};

struct LimitCase {
  const char* name;
  const char* temperatures;
  Limits limits;
  std::vector<Expected> excursions;
  int minutesAbove;
  int minutesBelow;
  std::vector<std::pair<int, int>> gaps;  // minutes
  Verdict verdict;
};

TEST(Summary, LimitsExcursionsAndGapsCountedByHand) {
  const Limits twoToEight{8.0, 2.0};
  const LimitCase cases[] = {
      {"starts at the first reading",
       "9 9.5 5 5",
       twoToEight,
       {{Side::Above, 0, 2, 9.5}},
       2,
       0,
       {},
       Verdict::Fail},
      // The last reading (minute 3) stands for the minute up to 4.
      {"ends at the last reading",
       "5 5 1 0",
       twoToEight,
       {{Side::Below, 2, 4, 0.0}},
       0,
       2,
       {},
       Verdict::Fail},
      // Readings at 0, 1 | 12, 13: the gap is 2..12 and splits the excursion.
      {"across a block gap",
       "5 9 | 9.5 5",
       twoToEight,
       {{Side::Above, 1, 2, 9.0}, {Side::Above, 12, 13, 9.5}},
       2,
       0,
       {{2, 12}},
       Verdict::Fail},
      {"without limits", "5 40 -10", {}, {}, 0, 0, {}, Verdict::NoLimits},
      {"every reading out of range",
       "9 10 11",
       twoToEight,
       {{Side::Above, 0, 3, 11.0}},
       3,
       0,
       {},
       Verdict::Fail},
      {"one reading", "3", twoToEight, {}, 0, 0, {}, Verdict::Pass},
      {"above, then straight below",
       "9 1 1.5",
       twoToEight,
       {{Side::Above, 0, 1, 9.0}, {Side::Below, 1, 3, 1.0}},
       1,
       2,
       {},
       Verdict::Fail},
      {"a reading on a limit is within it", "8 2 8", twoToEight, {}, 0, 0, {}, Verdict::Pass},
      {"only a lower limit",
       "30 -5",
       {std::nullopt, 0.0},
       {{Side::Below, 1, 2, -5.0}},
       0,
       1,
       {},
       Verdict::Fail},
      {"gaps alone pass", "5 | 5 | 5", twoToEight, {}, 0, 0, {{1, 11}, {12, 22}}, Verdict::Pass},
  };
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Input input = readings(c.temperatures, c.limits);
    const std::optional<Summary> s = summarize(input);
    ASSERT_TRUE(s.has_value());
    const int n = static_cast<int>(input.points.size());
    EXPECT_EQ(s->count, n);
    EXPECT_EQ(s->recordedSeconds, n * 60);
    EXPECT_EQ(s->secondsAbove, c.minutesAbove * 60);
    EXPECT_EQ(s->secondsBelow, c.minutesBelow * 60);
    EXPECT_DOUBLE_EQ(s->shareAbove, static_cast<double>(c.minutesAbove) / n);
    EXPECT_DOUBLE_EQ(s->shareBelow, static_cast<double>(c.minutesBelow) / n);
    EXPECT_EQ(s->verdict, c.verdict);
    ASSERT_EQ(s->excursions.size(), c.excursions.size());
    for (size_t i = 0; i < c.excursions.size(); ++i) {
      const Excursion& e = s->excursions[i];
      const Expected& x = c.excursions[i];
      EXPECT_EQ(e.side, x.side) << i;
      EXPECT_DOUBLE_EQ(e.start, minute(x.startMinute)) << i;
      EXPECT_DOUBLE_EQ(e.end, minute(x.endMinute)) << i;
      EXPECT_EQ(e.seconds, (x.endMinute - x.startMinute) * 60) << i;
      EXPECT_EQ(e.readings, x.endMinute - x.startMinute) << i;
      EXPECT_DOUBLE_EQ(e.peak.value, x.peak) << i;
    }
    ASSERT_EQ(s->gaps.size(), c.gaps.size());
    EXPECT_EQ(s->blocks, static_cast<int>(c.gaps.size()) + 1);
    for (size_t i = 0; i < c.gaps.size(); ++i) {
      EXPECT_DOUBLE_EQ(s->gaps[i].start, minute(c.gaps[i].first)) << i;
      EXPECT_DOUBLE_EQ(s->gaps[i].end, minute(c.gaps[i].second)) << i;
      EXPECT_EQ(s->gaps[i].seconds, (c.gaps[i].second - c.gaps[i].first) * 60) << i;
    }
  }
  EXPECT_FALSE(summarize(Input{}).has_value());
}

TEST(Summary, StatisticsWithTheirTimes) {
  // Temperatures 4 2 4 4 5 5 9 7: mean 40/8 = 5; squared deviations
  // 1+9+1+1+0+0+16+4 = 32, population variance 32/8 = 4, deviation 2.
  // Humidity alternates 30/70: mean 50, every deviation 20.
  const double t[] = {4, 2, 4, 4, 5, 5, 9, 7};
  Input input;
  input.intervalSeconds = 60;
  for (int i = 0; i < 8; ++i) input.points.push_back({minute(i), t[i], i % 2 ? 70.0 : 30.0, 1});
  const std::optional<Summary> s = summarize(input);
  ASSERT_TRUE(s.has_value());
  EXPECT_DOUBLE_EQ(s->first, minute(0));
  EXPECT_DOUBLE_EQ(s->last, minute(7));
  struct Row {
    const ValueFigures& figures;
    double min;
    int minAt;
    double max;
    int maxAt;
    double mean;
    double deviation;
  };
  // Ties keep the first reading: 30 first at 0, 70 first at 1.
  const Row rows[] = {{s->temperature, 2, 1, 9, 6, 5, 2}, {s->humidity, 30, 0, 70, 1, 50, 20}};
  for (const Row& r : rows) {
    EXPECT_DOUBLE_EQ(r.figures.minimum.value, r.min);
    EXPECT_DOUBLE_EQ(r.figures.minimum.time, minute(r.minAt));
    EXPECT_EQ(r.figures.minimum.index, r.minAt);
    EXPECT_DOUBLE_EQ(r.figures.maximum.value, r.max);
    EXPECT_DOUBLE_EQ(r.figures.maximum.time, minute(r.maxAt));
    EXPECT_DOUBLE_EQ(r.figures.mean, r.mean);
    EXPECT_DOUBLE_EQ(r.figures.standardDeviation, r.deviation);
  }
  EXPECT_EQ(s->verdict, Verdict::NoLimits);
}

TEST(Summary, MeanKineticTemperatureByHand) {
  // 20 and 30 °C at 83.144 kJ/mol: ΔH/R = 83144 / 8.3144621 = 9999.92531 K;
  // exp(-9999.92531 / 293.15) = exp(-34.111974) = 1.532349e-15 and
  // exp(-9999.92531 / 303.15) = exp(-32.986724) = 4.721151e-15; their mean
  // 3.126750e-15 has ln -33.398782, so MKT = 9999.92531 / 33.398782 =
  // 299.409878 K = 26.259878 °C. At 100 kJ/mol ΔH/R = 12027.23625 K, the terms
  // are exp(-41.027584) = 1.520361e-18 and exp(-39.674208) = 5.884509e-18,
  // ln of their mean -40.342230, MKT = 298.150551 K = 26.500551 °C.
  // 2000 kJ/mol at -40 °C makes every term exp(-1032.3), which underflows
  // unless the sum is taken relative to the largest term.
  struct Case {
    std::vector<double> celsius;
    double energy;
    double expected;
  };
  const Case cases[] = {{{20.0, 30.0}, 83.144, 26.259878},
                        {{20.0, 30.0}, 100.0, 26.500551},
                        {{5.0}, 83.144, 5.0},
                        {{-40.0, -40.0}, 2000.0, -40.0}};
  for (const Case& c : cases) {
    std::vector<Point> points;
    for (const double t : c.celsius) points.push_back({0.0, t, 50.0, 1});
    const std::optional<double> mkt = meanKineticTemperature(points, c.energy);
    ASSERT_TRUE(mkt.has_value()) << c.energy;
    EXPECT_NEAR(*mkt, c.expected, 5e-7) << c.energy;
  }
  const std::vector<Point> one{{0.0, 20.0, 50.0, 1}};
  for (const double energy : {0.0, -83.144, std::nan("")}) {
    EXPECT_FALSE(meanKineticTemperature(one, energy).has_value()) << energy;
  }
  EXPECT_FALSE(meanKineticTemperature({}, 83.144).has_value());
  EXPECT_FALSE(meanKineticTemperature({{0.0, -273.15, 0.0, 1}}, 83.144).has_value());
}

// Warm readings age goods more than cold ones save, so the MKT is never below
// the arithmetic mean, and equals it for a constant series.
TEST(Summary, MeanKineticTemperatureIsAtLeastTheMean) {
  std::mt19937 random(18);
  std::uniform_real_distribution<double> celsius(-40.0, 100.0);
  for (int series = 0; series < 200; ++series) {
    Input input;
    input.intervalSeconds = 60;
    const int n = 1 + series % 50;
    const bool constant = series % 5 == 0;
    const double first = celsius(random);
    for (int i = 0; i < n; ++i)
      input.points.push_back({minute(i), constant ? first : celsius(random), 50.0, 1});
    const std::optional<Summary> s = summarize(input);
    ASSERT_TRUE(s && s->meanKineticTemperature);
    const double mkt = *s->meanKineticTemperature;
    if (constant) {
      EXPECT_NEAR(mkt, first, 1e-9) << series;
    } else {
      EXPECT_GE(mkt, s->temperature.mean - 1e-9) << series;
      EXPECT_LE(mkt, s->temperature.maximum.value + 1e-9) << series;
    }
  }
}

// A reading is compared as the program shows it: 8.004 is "8.00", within a
// limit of 8; 8.005 rounds to "8.01", above it.
TEST(Summary, RecordsAreComparedAsShown) {
  std::vector<DataRecord> records(3);
  const float t[] = {8.004f, 8.005f, 25.005f};
  for (int i = 0; i < 3; ++i) {
    records[static_cast<size_t>(i)].Temperature = t[i];
    records[static_cast<size_t>(i)].Humidity = 59.826f;
    records[static_cast<size_t>(i)].DateTime = minute(i);
    records[static_cast<size_t>(i)].Segment = static_cast<float>(i + 1);
  }
  Input input;
  input.points = pointsFromRecords(records);
  input.intervalSeconds = 60;
  input.limits.upper = 8.0;
  ASSERT_EQ(input.points.size(), 3u);
  EXPECT_DOUBLE_EQ(input.points[2].temperature, 25.01);
  EXPECT_DOUBLE_EQ(input.points[2].humidity, 59.83);
  EXPECT_EQ(input.points[2].block, 3);
  const std::optional<Summary> s = summarize(input);
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(s->readingsAbove, 2);
  EXPECT_DOUBLE_EQ(s->excursions.front().start, minute(1));
}

}  // namespace
}  // namespace termika::report
