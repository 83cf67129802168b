#include <gtest/gtest.h>

#include "core/data/DayTime.h"
#include "core/report/ReportSheet.h"

namespace termika::report {
namespace {

// The lines of a kind joined with " | ", one string per line.
QStringList linesOf(const std::vector<SheetLine>& sheet, SheetLine::Kind kind) {
  QStringList out;
  for (const SheetLine& line : sheet) {
    if (line.kind == kind) out << line.cells.join(QStringLiteral(" | "));
  }
  return out;
}

Summary twoExcursionsAndAGap() {
  const double t0 = secondsToDaySerial(46000LL * 86400);  // 2025/12/09 00:00:00
  const auto at = [t0](int minutes) { return t0 + minutes / 1440.0; };
  Summary s;
  s.count = 30;
  s.first = at(0);
  s.last = at(39);
  s.intervalSeconds = 60;
  s.blocks = 2;
  s.recordedSeconds = 1800;
  s.limits = {8.0, 2.0};
  s.readingsAbove = 3;
  s.readingsBelow = 1;
  s.secondsAbove = 180;
  s.secondsBelow = 60;
  s.shareAbove = 0.1;
  s.shareBelow = 1.0 / 30.0;
  s.excursions = {{Side::Above, at(4), at(7), 180, 3, {9.5, at(5), 5}},
                  {Side::Below, at(32), at(33), 60, 1, {1.25, at(32), 22}}};
  s.gaps = {{at(20), at(30), 600}};
  s.verdict = Verdict::Fail;
  s.meanKineticTemperature = 6.4321;
  s.activationEnergyKJPerMol = 83.144;
  return s;
}

TEST(ReportSheet, SaysTheVerdictFirstAndListsExcursionsAndGaps) {
  const Summary failed = twoExcursionsAndAGap();
  const std::vector<SheetLine> sheet = summarySheet(failed, {"QM120-RH", "R101", "a.csv"});
  EXPECT_EQ(linesOf(sheet, SheetLine::Kind::Verdict),
            QStringList(2, QStringLiteral("FAIL: 2 excursion(s) beyond the limits")));
  EXPECT_EQ(sheet[1].kind, SheetLine::Kind::Verdict);
  const QStringList rows = linesOf(sheet, SheetLine::Kind::TableRow);
  EXPECT_TRUE(rows.contains("1 above | 2025/12/09 00:04:00 | 2025/12/09 00:07:00 | 0:03:00 | 9.50"))
      << rows.join('\n').toStdString();
  EXPECT_TRUE(
      rows.contains("2 below | 2025/12/09 00:32:00 | 2025/12/09 00:33:00 | 0:01:00 | 1.25"));
  EXPECT_TRUE(rows.contains("1 | 2025/12/09 00:20:00 | 2025/12/09 00:30:00 | 0:10:00"));
  const QStringList fields = linesOf(sheet, SheetLine::Kind::Field);
  EXPECT_TRUE(fields.contains("Logger | QM120-RH R101"));
  EXPECT_TRUE(fields.contains("Readings | 30 in 2 block(s)"));
  EXPECT_TRUE(fields.contains(
      "Time above the upper limit | 0:03:00 (10.00 % of the recording, 3 reading(s))"));
  EXPECT_TRUE(fields.contains(
      "Time below the lower limit | 0:01:00 (3.33 % of the recording, 1 reading(s))"));
  EXPECT_TRUE(
      fields.contains("Mean kinetic temperature | 6.43 °C (activation energy 83.144 kJ/mol)"));

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

TEST(ReportSheet, DurationsCountHoursPastADay) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, "0:00:00"}, {59, "0:00:59"}, {3599, "0:59:59"}, {90061, "25:01:01"}};
  for (const auto& [seconds, text] : cases) EXPECT_EQ(durationText(seconds), text) << seconds;
}

}  // namespace
}  // namespace termika::report
