#include <gtest/gtest.h>

#include <QStringList>
#include <cmath>

#include "core/data/DayTime.h"
#include "core/report/MeanKineticTemperature.h"
#include "core/report/ReportPoints.h"
#include "core/report/ReportSheet.h"
#include "core/report/Summary.h"

namespace termika::report {
namespace {

constexpr qint64 kBase = 46000LL * 86400;  // 2025-12-09 00:00:00 in seconds since 1899-12-30

double minute(int m) { return secondsToDaySerial(kBase + m * 60); }

// Records one minute apart at an interval of 60 s, humidity 30, 70, 30, ...,
// read as the report reads a data set. "|" ends a block: the next one starts
// after ten minutes without readings; "<" starts it ten minutes before the
// last one began, as after the logger's clock was set back.
Input readings(const char* temperatures, Limits limits = {}) {
  std::vector<DataRecord> records;
  int at = 0;
  int block = 1;
  for (const QString& item : QString::fromLatin1(temperatures).split(u' ', Qt::SkipEmptyParts)) {
    if (item == QLatin1String("|") || item == QLatin1String("<")) {
      at += item == QLatin1String("|") ? 10 : -12;
      ++block;
      continue;
    }
    DataRecord& r = records.emplace_back();
    r.temperature = item.toFloat();
    r.humidity = records.size() % 2 ? 30.0f : 70.0f;
    r.dateTime = minute(at++);
    r.segment = static_cast<float>(block);
  }
  return {pointsFromRecords(records), 60, limits};
}

int minuteOf(double time) { return static_cast<int>((daySerialToSeconds(time) - kBase) / 60); }

// The figures against the limits in a line: each excursion (minutes from the
// first reading, seconds, readings, peak), each gap, the time and share above
// and below, the verdict.
std::string limitFigures(const Summary& s) {
  QString text;
  for (const Excursion& e : s.excursions)
    text += QString::asprintf(
        "%s %d-%d %llds/%d peak %g; ", e.side == Side::Above ? "above" : "below", minuteOf(e.start),
        minuteOf(e.end), static_cast<long long>(e.seconds), e.readings, e.peak.value);
  for (const Gap& g : s.gaps)
    text += QString::asprintf("gap %d-%d %llds; ", minuteOf(g.start), minuteOf(g.end),
                              static_cast<long long>(g.seconds));
  const char* verdicts[] = {"no limits", "PASS", "FAIL"};
  text += QString::asprintf("%llds %g%% above, %llds %g%% below, %d blocks: %s",
                            static_cast<long long>(s.secondsAbove), s.shareAbove * 100,
                            static_cast<long long>(s.secondsBelow), s.shareBelow * 100, s.blocks,
                            verdicts[static_cast<int>(s.verdict)]);
  return text.toStdString();
}

// The lines of a kind joined with " | ", one string per line.
QStringList linesOf(const std::vector<SheetLine>& sheet, SheetLine::Kind kind) {
  QStringList out;
  for (const SheetLine& line : sheet)
    if (line.kind == kind) out << line.cells.join(QStringLiteral(" | "));
  return out;
}

TEST(Summary, LimitsExcursionsAndGapsCountedByHandAndTheSheetSaysTheVerdictFirst) {
  const Limits twoToEight{8.0, 2.0};
  const std::tuple<const char*, Limits, const char*> cases[] = {
      // An excursion from the first reading.
      {"9 9.5 5 5", twoToEight,
       "above 0-2 120s/2 peak 9.5; 120s 50% above, 0s 0% below, 1 blocks: FAIL"},
      // One to the last: the reading at minute 3 stands for the minute up to 4.
      {"5 5 1 0", twoToEight,
       "below 2-4 120s/2 peak 0; 0s 0% above, 120s 50% below, 1 blocks: FAIL"},
      // Readings at 0, 1 | 12, 13: the gap 2..12 splits the excursion and counts nowhere.
      {"5 9 | 9.5 5", twoToEight,
       "above 1-2 60s/1 peak 9; above 12-13 60s/1 peak 9.5; gap 2-12 600s; "
       "120s 50% above, 0s 0% below, 2 blocks: FAIL"},
      {"5 40 -10", {}, "0s 0% above, 0s 0% below, 1 blocks: no limits"},
      {"3", twoToEight, "0s 0% above, 0s 0% below, 1 blocks: PASS"},
      {"9 1 1.5", twoToEight,
       "above 0-1 60s/1 peak 9; below 1-3 120s/2 peak 1; 60s 33.3333% above, 120s 66.6667% below, "
       "1 blocks: FAIL"},
      // A reading on a limit is within it.
      {"8 2 8", twoToEight, "0s 0% above, 0s 0% below, 1 blocks: PASS"},
      {"30 -5",
       {std::nullopt, 0.0},
       "below 1-2 60s/1 peak -5; 0s 0% above, 60s 50% below, 1 blocks: FAIL"},
      {"5 | 5 | 5", twoToEight,
       "gap 1-11 600s; gap 12-22 600s; 0s 0% above, 0s 0% below, 3 blocks: PASS"},
      {"5 5 < 5", twoToEight, "gap 2--10 0s; 0s 0% above, 0s 0% below, 2 blocks: PASS"},
      // Readings are compared as shown: 8.004 is "8.00", within; 8.005 is "8.01", above.
      {"8.004 8.005 | 25.005",
       {8.0, std::nullopt},
       "above 1-2 60s/1 peak 8.01; above 12-13 60s/1 peak 25.01; gap 2-12 600s; 120s 66.6667% "
       "above, 0s 0% below, 2 blocks: FAIL"},
  };
  for (const auto& [temperatures, limits, figures] : cases) {
    const std::optional<Summary> s = summarize(readings(temperatures, limits));
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(limitFigures(*s), figures) << temperatures;
  }
  EXPECT_FALSE(summarize(Input{}).has_value());
  // Above from minute 1 to 4 with a peak of 9.5, a pause of ten minutes, below from 16 to 17.
  const Summary failed = *summarize(readings("5 9 9.5 9 5 | 5 1.25 5", {8.0, 2.0}));
  const std::vector<SheetLine> sheet = summarySheet(failed, {"QM120-RH", "R101", "a.csv"});
  EXPECT_EQ(linesOf(sheet, SheetLine::Kind::Verdict),
            QStringList(2, QStringLiteral("FAIL: 2 excursion(s) beyond the limits")));
  EXPECT_EQ(sheet[1].kind, SheetLine::Kind::Verdict);
  // After the statistics' four rows: the excursions, then the gap.
  EXPECT_EQ(linesOf(sheet, SheetLine::Kind::TableRow).mid(4),
            (QStringList{"1 above | 2025/12/09 00:01:00 | 2025/12/09 00:04:00 | 0:03:00 | 9.50",
                         "2 below | 2025/12/09 00:16:00 | 2025/12/09 00:17:00 | 0:01:00 | 1.25",
                         "1 | 2025/12/09 00:05:00 | 2025/12/09 00:15:00 | 0:10:00"}));
  const QString fields = linesOf(sheet, SheetLine::Kind::Field).join(u'\n');
  for (const char* field :
       {"Logger | QM120-RH R101", "Readings | 8 in 2 block(s)",
        "Time above the upper limit | 0:03:00 (37.50 % of the recording, 3 reading(s))",
        "Time below the lower limit | 0:01:00 (12.50 % of the recording, 1 reading(s))",
        "Mean kinetic temperature | 6.51 °C (activation energy 83.144 kJ/mol)"})
    EXPECT_TRUE(fields.contains(QString::fromUtf8(field))) << field;
  // Durations count hours past a day.
  for (const auto& [seconds, text] : {std::pair<std::int64_t, const char*>{0, "0:00:00"},
                                      {59, "0:00:59"},
                                      {3599, "0:59:59"},
                                      {90061, "25:01:01"}})
    EXPECT_EQ(durationText(seconds), text) << seconds;

  Summary passed = failed;
  passed.excursions.clear();
  passed.verdict = Verdict::Pass;
  EXPECT_EQ(linesOf(summarySheet(passed, {}), SheetLine::Kind::Verdict).value(0),
            QStringLiteral("PASS: every reading within the limits"));
  Summary open = failed;
  open.limits = {};
  open.verdict = Verdict::NoLimits;
  const std::vector<SheetLine> unlimited = summarySheet(open, {});
  EXPECT_EQ(linesOf(unlimited, SheetLine::Kind::Verdict).value(0),
            QStringLiteral("No limits set: no verdict"));
  EXPECT_TRUE(linesOf(unlimited, SheetLine::Kind::Field).contains("Upper limit | not checked"));
  EXPECT_FALSE(linesOf(unlimited, SheetLine::Kind::Heading).join(' ').contains("Excursions"));
}

TEST(Summary, StatisticsWithTheirTimesAndMeanKineticTemperatureByHand) {
  // Temperatures 4 2 4 4 5 5 9 7: mean 40/8 = 5; squared deviations
  // 1+9+1+1+0+0+16+4 = 32, population variance 32/8 = 4, deviation 2.
  // Humidity alternates 30/70: mean 50, every deviation 20. Ties keep the
  // first reading.
  const std::optional<Summary> s = summarize(readings("4 2 4 4 5 5 9 7"));
  ASSERT_TRUE(s.has_value());
  const auto line = [](const ValueFigures& f) {
    return QString::asprintf("%g at %d (#%d), %g at %d, mean %g, deviation %g", f.minimum.value,
                             minuteOf(f.minimum.time), f.minimum.index, f.maximum.value,
                             minuteOf(f.maximum.time), f.mean, f.standardDeviation)
        .toStdString();
  };
  EXPECT_EQ(line(s->temperature), "2 at 1 (#1), 9 at 6, mean 5, deviation 2");
  EXPECT_EQ(line(s->humidity), "30 at 0 (#0), 70 at 1, mean 50, deviation 20");
  EXPECT_EQ(std::tuple(minuteOf(s->first), minuteOf(s->last), s->recordedSeconds),
            std::tuple(0, 7, 8 * 60));
  // The summary's MKT at the default 83.144 kJ/mol lies above the mean of 5, as warm readings
  // age goods more than cold ones save.
  EXPECT_NEAR(s->meanKineticTemperature.value_or(0.0), 5.2552681, 1e-6);
  // 20 and 30 °C at 83.144 kJ/mol: ΔH/R = 83144 / 8.3144621 = 9999.92531 K;
  // exp(-9999.92531 / 293.15) = exp(-34.111974) = 1.532349e-15 and
  // exp(-9999.92531 / 303.15) = exp(-32.986724) = 4.721151e-15; their mean
  // 3.126750e-15 has ln -33.398782, so MKT = 9999.92531 / 33.398782 =
  // 299.409878 K = 26.259878 °C. At 100 kJ/mol ΔH/R = 12027.23625 K, the terms
  // are exp(-41.027584) = 1.520361e-18 and exp(-39.674208) = 5.884509e-18,
  // ln of their mean -40.342230, MKT = 298.150551 K = 26.500551 °C.
  // 2000 kJ/mol at -40 °C makes every term exp(-1032.3), which underflows
  // unless the sum is taken relative to the largest term.
  // Nothing for a non-positive or undefined energy, no readings, or 0 K.
  const std::tuple<std::vector<double>, double, std::optional<double>> cases[] = {
      {{20.0, 30.0}, 83.144, 26.259878},
      {{20.0, 30.0}, 100.0, 26.500551},
      {{5.0}, 83.144, 5.0},
      {{-40.0, -40.0}, 2000.0, -40.0},
      {{20.0}, 0.0, std::nullopt},
      {{20.0}, std::nan(""), std::nullopt},
      {{}, 83.144, std::nullopt},
      {{-273.15}, 83.144, std::nullopt}};
  for (const auto& [celsius, energy, expected] : cases) {
    std::vector<Point> points;
    for (const double t : celsius) points.push_back({0.0, t, 50.0, 1});
    const std::optional<double> mkt = meanKineticTemperature(points, energy);
    ASSERT_EQ(mkt.has_value(), expected.has_value()) << energy;
    EXPECT_NEAR(mkt.value_or(0.0), expected.value_or(0.0), 5e-7) << energy;
  }
}

}  // namespace
}  // namespace termika::report
