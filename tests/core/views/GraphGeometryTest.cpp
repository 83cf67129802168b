#include <gtest/gtest.h>

#include "core/data/DayTime.h"
#include "core/views/GraphGeometry.h"
#include "core/views/TimeLabelPlacement.h"

namespace termika {
namespace {

qint64 at(int y, int mo, int d, int h, int mi, int s) {
  return secondsFromCivil(CivilTime{y, mo, d, h, mi, s});
}

// A function, not a namespace constant: the calendar's own constants are
// set up at start-up too, in an order across files that is not fixed.
qint64 base() { return at(2010, 3, 1, 0, 30, 0); }

GraphInput labelsInput(qint64 base, qint64 width, qint64 offset = 0) {
  GraphInput in;
  in.baseTime = base;
  in.width = width;
  in.offset = offset;
  in.range = {0, 100};
  in.halfSpan = 50;
  in.size = QSize(1050, 550);
  return in;
}

// The texts of time or value labels joined by blanks.
template <typename Label>
QString textsOf(const std::vector<Label>& labels) {
  QStringList out;
  for (const Label& l : labels) out << l.text;
  return out.join(u' ');
}

TEST(GraphGeometry, TimeLabelsAtEachRuleBoundaryAndTheNoonLineJustBeforeTheEnd) {
  QString nineSeconds = QStringLiteral("00:30:00");
  for (int s = 59; s >= 51; --s) nineSeconds += QStringLiteral(" 00:29:%1").arg(s);
  const std::tuple<qint64, qint64, QString> cases[] = {
      {9, 1, nineSeconds},
      {10, 1, "00:30:00 00:29:50"},
      {60, 1, "00:30:00 00:29:00"},
      {400, 60, "00:30:00 00:29:00 00:28:00 00:27:00 00:26:00 00:25:00 00:24:00"},
      {600, 60, "00:30:00 00:20:00"},
      {1800, 60, "00:30:00 3/1"},
      {3600, 60, "3/1"},
      {12000, 3600, "3/1 23:00:00 22:00:00"},
      {43200, 3600, "3/1"},
      {129600, 3600, "3/1 2/28"},
      {720000, 86400, "3/1 2/28 2/27 2/26 2/25 2/24 2/23 2/22 2/21"},
      {2268000, 86400, "3/1"},
  };
  for (const auto& [width, step, labels] : cases) {
    const GraphGeometry g = buildGraphGeometry(labelsInput(base(), width));
    EXPECT_EQ(std::pair(g.gridStep, textsOf(g.timeLabels)), std::pair(step, labels)) << width;
  }
  const qint64 base = at(2010, 3, 2, 12, 0, 30);
  const GraphGeometry g = buildGraphGeometry(labelsInput(base, 20000));
  EXPECT_EQ(std::tuple(g.gridStep, g.gridFirst, g.verticalLines.size()), std::tuple(3600, 30, 6u));
  EXPECT_NEAR(g.verticalLines[0].pos, (20000.0 - 30.0) / 21000.0 * 1050.0, 1e-9);
  EXPECT_EQ(std::pair(g.verticalLines[0].colour, g.verticalLines[1].colour),
            (std::pair<int, int>(kNoonLine, kHourLine)));
  EXPECT_EQ(textsOf(g.timeLabels), "12:00:00 11:00:00 10:00:00 09:00:00 08:00:00 07:00:00");
}

TEST(GraphGeometry, LineColoursByRuleAndTheValueGridAroundZero) {
  // Vertical lines: time on Feb 28 (Mar 1 is the month's line), window width, colour (-1: none).
  const auto feb28 = [](int h, int mi, int s) { return at(2010, 2, 28, h, mi, s); };
  const std::tuple<qint64, qint64, int> vertical[] = {
      {at(2010, 3, 1, 0, 0, 0), 2000000, kMonthLine},
      {feb28(0, 0, 0), 2000000, kMidnightLine},
      {feb28(12, 0, 0), 719999, kNoonLine},
      {feb28(12, 0, 0), 720000, -1},
      {feb28(13, 0, 0), 100, kHourLine},
      {feb28(13, 30, 0), 11999, kHalfHourLine},
      {feb28(13, 30, 0), 12000, -1},
      {feb28(13, 31, 0), 300, kMinuteLine},
      {feb28(13, 31, 1), 399, kSecondLine},
      {feb28(13, 31, 1), 400, -1}};
  for (const auto& [time, width, colour] : vertical)
    EXPECT_EQ(verticalLineColour(time, width), colour) << width;
  // Horizontal lines in exact tenths: value, half-span, colour.
  const std::tuple<int, int, int> horizontal[] = {{0, 1000, kZeroLine},  {-100, 1000, kTensLine},
                                                  {50, 200, kFivesLine}, {50, 201, -1},
                                                  {30, 100, kOnesLine},  {30, 101, -1},
                                                  {5, 50, kHalvesLine},  {5, 51, -1},
                                                  {3, 10, kTenthsLine},  {3, 11, -1},
                                                  {-7, 10, kTenthsLine}};
  for (const auto& [tenths, halfSpan, colour] : horizontal)
    EXPECT_EQ(horizontalLineColour(tenths, halfSpan), colour) << tenths << " " << halfSpan;
  GraphInput in = labelsInput(base(), 1000);
  in.range = temperatureRange(-50, 100);
  in.halfSpan = 100;
  in.unitText = QStringLiteral("°C");
  const GraphGeometry g = buildGraphGeometry(in);
  EXPECT_EQ(std::pair(g.userTop, g.userBottom), std::pair(5.0, -17.0));
  ASSERT_EQ(g.horizontalLines.size(), 21u);  // -15.0 .. 5.0 by whole degrees
  const auto& h = g.horizontalLines;         // -15, -14, -10 and 0
  EXPECT_EQ(std::tuple(h[0].colour, h[1].colour, h[5].colour, h[15].colour),
            (std::tuple<int, int, int, int>(kFivesLine, kOnesLine, kTensLine, kZeroLine)));
  // 0 °C lies 5/22 of the height below the top.
  EXPECT_NEAR(g.horizontalLines[15].pos, 550.0 * 5.0 / 22.0, 1e-9);
  EXPECT_EQ(textsOf(g.valueLabels), "-15°C -10°C -5°C 0°C 5°C");
  // Half degrees: -1.0 .. 1.0 by tenths.
  in.range = {-10, 10};
  in.halfSpan = 8;
  in.unitText.clear();
  const GraphGeometry half = buildGraphGeometry(in);
  EXPECT_EQ(textsOf(half.valueLabels), "-1 -0.5 0 0.5 1");
  ASSERT_EQ(half.horizontalLines.size(), 21u);
  EXPECT_EQ(half.horizontalLines[10].colour, kZeroLine);
}

std::vector<PlotPoint> threePoints() {
  return {{base() - 900, 2.0f, 20.0f, 1.0f, 1},
          {base() - 500, 4.0f, 40.0f, 1.0f, 2},
          {base(), 8.0f, 80.0f, 2.0f, 3}};
}

// Ending at the newest point the newest dot is drawn; a window ending 500 s back shows its end
// time instead, and its time labels keep clear of that text and the title.
TEST(GraphGeometry,
     PlotsRecordsAtMappedPixelsShowsTheEndTimeOfAnOffsetWindowAndLimitLinesOfAlarmModels) {
  const std::vector<PlotPoint> points = threePoints();
  GraphInput in = labelsInput(base(), 1000);
  in.points = points;
  const GraphGeometry g = buildGraphGeometry(in);
  ASSERT_TRUE(g.drawable);
  EXPECT_EQ(g.plotBox, QRectF(0, 0, 1000, 500));
  ASSERT_EQ(g.segments.size(), 2u);
  EXPECT_EQ(g.segments[0].points, (std::vector<QPointF>{{100, 400}, {500, 300}}));
  EXPECT_EQ(g.segments[1].points, (std::vector<QPointF>{{1000, 100}}));
  EXPECT_EQ(g.newestDot, QPointF(1000, 100));
  const auto& [high, low, highH, lowH] = g.selected.entries;
  EXPECT_EQ(std::tuple(high.pointNo, low.pointNo, low.value), std::tuple(3, 1, 2.0));
  EXPECT_TRUE(g.endTimeText.isEmpty() && timeLabelRowOf(g, 100, 200, 7).taken.empty());

  in.kind = GraphKind::Humidity;
  in.range = {0, 1000};
  const GraphGeometry h = buildGraphGeometry(in);
  ASSERT_EQ(h.segments.size(), 2u);
  EXPECT_EQ(h.segments[0].points[1], QPointF(500, 300));  // 40 %RH of 0..100

  in = labelsInput(base(), 1000, 500);
  in.points = points;
  in.titleText = QStringLiteral("Temperature");
  const GraphGeometry offset = buildGraphGeometry(in);
  ASSERT_EQ(offset.segments.size(), 1u);
  EXPECT_EQ(offset.segments[0].points, (std::vector<QPointF>{{600, 400}, {1000, 300}}));
  EXPECT_FALSE(offset.newestDot.has_value());
  EXPECT_EQ(offset.endTimeText, "2010/03/01 00:21:40");
  EXPECT_EQ(offset.selected.entries[Extremes::kHighTemperature].pointNo, 2);
  const TimeLabelRow row = timeLabelRowOf(offset, 100, 200, 7);
  EXPECT_EQ(std::tuple(row.left, row.right, row.gap), std::tuple(0.0, 1000.0, 7.0));
  ASSERT_EQ(row.taken.size(), 2u);
  EXPECT_EQ(
      std::tuple(row.taken[0].left, row.taken[0].right, row.taken[1].left, row.taken[1].right),
      std::tuple(0.0, 150.0, 850.0, 1050.0));
  // A window holding no record leaves the extremes empty.
  in.offset = 5000;
  const GraphGeometry empty = buildGraphGeometry(in);
  EXPECT_TRUE(empty.segments.empty() && !empty.selected.hasValues());
  // The model, graph and alarms' switch: the limit lines as colour@place.
  const std::tuple<const char*, GraphKind, std::uint8_t, QString> cases[] = {
      {"QM120-RH", GraphKind::Temperature, 128,
       QStringLiteral("%1@100 %2@400").arg(kUpperLimitLine).arg(kLowerLimitLine)},
      {"QM120-RH", GraphKind::Temperature, 0, ""},
      {"QM120-RH", GraphKind::Humidity, 1, ""},
      {"QM100-RH", GraphKind::Temperature, 128, ""},
  };
  for (const auto& [model, kind, enabled, lines] : cases) {
    GraphInput in = labelsInput(base(), 1000);
    in.model = QString::fromLatin1(model);
    in.kind = kind;
    in.upperAlarm = {8, 0, enabled};
    in.lowerAlarm = {2, 0, enabled};
    QStringList got;
    for (const auto& line : buildGraphGeometry(in).limitLines)
      got << QStringLiteral("%1@%2").arg(line.colour).arg(line.pos);
    EXPECT_EQ(got.join(u' '), lines) << model;
  }
}

TEST(GraphGeometry, DegenerateWindowsDrawNothingAndBadDataDoesNotCrash) {
  // Zero width, a flat value range, no pixels.
  for (const auto& [width, range, size] : {std::tuple{0, ValueRange{0, 100}, QSize(1050, 550)},
                                           std::tuple{100, ValueRange{50, 50}, QSize(1050, 550)},
                                           std::tuple{100, ValueRange{0, 100}, QSize(0, 0)}}) {
    GraphInput in = labelsInput(base(), width);
    in.range = range;
    in.size = size;
    EXPECT_FALSE(buildGraphGeometry(in).drawable) << width << " " << size.width();
  }

  GraphInput tiny = labelsInput(base(), 100);
  tiny.size = QSize(1, 1);
  const std::vector<PlotPoint> one{{base(), 5.0f, 50.0f, 1.0f, 1}};
  tiny.points = one;
  const GraphGeometry g = buildGraphGeometry(tiny);
  EXPECT_TRUE(g.drawable && g.segments.size() == 1u && g.newestDot.has_value());

  // Times running backwards and a year-long gap: bounded output, no crash.
  const qint64 year = 365 * 86400;
  const std::vector<PlotPoint> odd{{base() - year, 1.0f, 1.0f, 1.0f, 1},
                                   {base() + 100, 2.0f, 2.0f, 1.0f, 2},
                                   {base() - 50, 3.0f, 3.0f, 1.0f, 3},
                                   {base(), 4.0f, 4.0f, 1.0f, 4}};
  GraphInput wide = labelsInput(base(), year + 10);
  wide.points = odd;
  const GraphGeometry w = buildGraphGeometry(wide);
  EXPECT_EQ(w.gridStep, 86400);
  EXPECT_LE(std::max(w.verticalLines.size(), w.timeLabels.size()), 367u);
}

// Every character 10 px wide; labels kept at least 5 px apart.
double tenPerChar(const QString& text) { return 10.0 * static_cast<double>(text.size()); }

QString placed(std::span<const TimeLabel> labels, const TimeLabelRow& row) {
  QStringList out;
  for (const PlacedTimeLabel& l : placeTimeLabels(labels, tenPerChar, row))
    out << QStringLiteral("%1@%2").arg(l.text).arg(l.left);
  return out.join(u' ');
}

TEST(TimeLabelPlacement, LabelsStayInsideThePlotAndClearOfEachOtherAndTheTexts) {
  const auto label = [](double x, const char* text, int rank) {
    return TimeLabel{QPointF(x, 500), QString::fromLatin1(text), rank};
  };
  const TimeLabelRow plain{0, 1000, 5, {}};
  const TimeLabelRow withTexts{0, 1000, 5, {{0, 120}, {800, 1060}}};
  const std::tuple<std::vector<TimeLabel>, TimeLabelRow, const char*> cases[] = {
      // 80 px labels centred 100 px apart all fit.
      {{label(500, "12:00:00", 3), label(400, "11:00:00", 3)}, plain, "11:00:00@360 12:00:00@460"},
      // Too close: the first of equal rank stays; a date outranks a clock.
      {{label(500, "12:00:00", 3), label(560, "11:00:00", 3)}, plain, "12:00:00@460"},
      {{label(500, "12:00:00", 3), label(520, "3/1", 1)}, plain, "3/1@505"},
      // Half a label past either end of the plot: left out.
      {{label(30, "00:10:00", 6), label(990, "00:00:00", 6)}, plain, ""},
      // The title (0..120) and the end time (800..1060) keep their room.
      {{label(150, "00:40:00", 6), label(170, "00:30:00", 6), label(780, "00:10:00", 6),
        label(500, "00:20:00", 6)},
       withTexts,
       "00:30:00@130 00:20:00@460"},
  };
  for (const auto& [labels, row, expected] : cases)
    EXPECT_EQ(placed(labels, row), QString::fromLatin1(expected));
}

TEST(FindRecordByTime, LastRecordAtOrBeforeTheTimeAndHumidityRangesInsideTheSensors) {
  // Records at 0, 10, 20, ... s: count, time, the record found.
  const std::tuple<int, qint64, int> cases[] = {
      {3, -5, 1},   {3, 0, 1},    {3, 10, 2}, {3, 20, 3}, {3, 25, 3},
      {10, 90, 10}, {10, 95, 10}, {2, 10, 2}, {1, -1, 1}, {0, 5, 0},
  };
  for (const auto& [count, t, expected] : cases) {
    std::vector<PlotPoint> points;
    for (int i = 0; i < count; ++i) points.push_back({10 * i, 0, 0, 1, 0});
    EXPECT_EQ(findRecordByTime(t, points), expected) << count << " " << t;
  }
  EXPECT_EQ((std::array{humidityRange(950, 100), humidityRange(30, 100), humidityRange(500, 600),
                        temperatureRange(-50, 100)}),
            (std::array<ValueRange, 4>{{{800, 1000}, {0, 200}, {0, 1000}, {-150, 50}}}));
}

}  // namespace
}  // namespace termika
