#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "core/data/DayTime.h"
#include "core/print/PrintHeader.h"

namespace termika {
namespace {

const UiText& ja() {
  static const UiText kTexts = UiText::load(UiText::Language::Japanese);
  return kTexts;
}
const UiText& en() {
  static const UiText kTexts = UiText::load(UiText::Language::English);
  return kTexts;
}

double at(int day, int h, int mi, int s) { return *toDaySerial(CivilTime{2013, 5, day, h, mi, s}); }

PrintHeaderInput sample(const QString& model) {
  PrintHeaderInput in;
  in.name = QStringLiteral("AB12");
  in.startTime = at(1, 10, 0, 0);
  in.count = 1234;
  in.interval = 90;
  in.model = model;
  in.upper = AlarmSetting{30, 0, 128};
  in.lower = AlarmSetting{-5, 0, 0};
  in.all = {ExtremeLine{12, at(1, 10, 18, 0), 25.5}, ExtremeLine{3, at(1, 10, 4, 30), -5.25},
            ExtremeLine{1200, at(2, 16, 0, 0), 80.0}, ExtremeLine{7, at(1, 10, 9, 0), 30.125}};
  return in;
}

TEST(PrintHeader, LimitLinesOnlyForAQm120) {
  PrintHeaderInput in = sample(QStringLiteral("QM120-RH"));
  in.selected = in.all;
  const std::vector<HeaderLine> lines = headerBlockLines(in, ja());
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[4],
            (HeaderLine{QStringLiteral("上限温度設定\u3000"), QStringLiteral("ON\u300030 ℃")}));
  EXPECT_EQ(lines[5], (HeaderLine{QStringLiteral("下限温度設定\u3000"), QStringLiteral("OFF")}));
  EXPECT_EQ(lines[11], (HeaderLine{QStringLiteral("選択範囲内"), QString()}));
  EXPECT_EQ(lines[12], lines[7]);  // the same extremes in both sections

  in.lower.enabled = 1;
  const std::vector<HeaderLine> english = headerBlockLines(in, en());
  EXPECT_EQ(english[4],
            (HeaderLine{QStringLiteral("Upper bound "), QStringLiteral("ON\u300030 C")}));
  EXPECT_EQ(english[5],
            (HeaderLine{QStringLiteral("Lower bound "), QStringLiteral("ON\u3000-5 C")}));
  EXPECT_EQ(english[2].value, QStringLiteral("1234 Point"));

  in.model = QStringLiteral("QM200-RHA");
  EXPECT_EQ(headerBlockLines(in, ja()).size(), 14u);
}

TEST(PrintHeader, ResolveKeepsOnlyFilledEntriesOfPointsTheSetHolds) {
  Extremes e;
  e.entries = {{{4, 25.5}, {9, Extremes::kResetLow}, {11, 60.0}, {0, 30.0}}};
  std::map<int, double> times = {{4, at(1, 10, 4, 0)}, {11, at(1, 10, 11, 0)}};
  const auto timeOf = [&](int n) -> std::optional<double> {
    const auto it = times.find(n);
    return it == times.end() ? std::nullopt : std::optional<double>(it->second);
  };
  const ExtremeLines lines = resolveExtremes(e, 10, timeOf);
  // The second still at its reset value, point 11 beyond a count of 10, point 0.
  EXPECT_EQ(lines, (ExtremeLines{ExtremeLine{4, at(1, 10, 4, 0), 25.5}, {}, {}, {}}));

  Extremes reset;
  reset.reset();
  for (const auto& line : resolveExtremes(reset, 10, timeOf)) EXPECT_FALSE(line);
}

}  // namespace
}  // namespace termika
