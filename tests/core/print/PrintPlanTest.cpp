#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <map>
#include <tuple>

#include "core/data/Conversion.h"
#include "core/data/Csv.h"
#include "core/data/DayTime.h"
#include "core/data/ExtremesUpdate.h"
#include "core/print/PrintHeader.h"
#include "core/print/PrintPlan.h"
#include "core/sessions/RealTimeMeasurement.h"
#include "core/views/DumpModel.h"
#include "core/views/Navigation.h"

namespace termika {
namespace {

double at(int h, int mi, int s) { return *toDaySerial(CivilTime{2010, 1, 2, h, mi, s}); }

// Five points a minute apart from 03:00:00 in the log set:
//   no  temp   hum   remark
//   1   20.0   50.0
//   2   25.5   41.0  "最高温度 " (padded)
//   3   -3.0   70.0
//   4   22.0   35.5
//   5   21.0   52.0
class PrintPlanTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_state.file(kLogSet).open(m_dir.filePath(QStringLiteral("log.rand"))).ok());
    const float temps[] = {20.0f, 25.5f, -3.0f, 22.0f, 21.0f};
    const float hums[] = {50.0f, 41.0f, 70.0f, 35.5f, 52.0f};
    DataSet& set = m_state.set(kLogSet);
    set.allExtremes.reset();
    for (int n = 1; n <= 5; ++n) {
      DataRecord r;
      r.recordNo = static_cast<std::int16_t>(n);
      r.temperature = temps[n - 1];
      r.humidity = hums[n - 1];
      r.dateTime = at(3, n - 1, 0);
      r.remarks = fitRemarks(n == 2 ? QStringLiteral("最高温度 ") : QString());
      ASSERT_TRUE(m_state.file(kLogSet).write(n, r).ok());
      updateExtremes(r, set.allExtremes);
    }
    set.count = 5;
    set.interval = 60;
    set.model = QStringLiteral("QM100-RH");
    set.loggerName = QStringLiteral("T001");
  }

  // The extremes of points 2 to 4: highest 25.5 at 2, lowest -3 at 3, humidity 70 at 3, 35.5
  // at 4.
  static ExtremeLines pointsTwoToFour() {
    return {ExtremeLine{2, at(3, 1, 0), 25.5}, ExtremeLine{3, at(3, 2, 0), -3.0},
            ExtremeLine{3, at(3, 2, 0), 70.0}, ExtremeLine{4, at(3, 3, 0), 35.5}};
  }

  QTemporaryDir m_dir;
  AppState m_state;
};

TEST_F(PrintPlanTest, DumpRowsAndGraphHeadersWithTheExtremesShownAndEmptyOrBadRequestsRefused) {
  // The list sorted by temperature descending; rows 2, 4 and 3 selected.
  const std::vector<DumpListRow> list = {{2, true}, {4, true}, {5, false}, {1, false}, {3, true}};
  const Result<DumpPrintPlan> plan = planDumpPrint(m_state, kLogSet, list, false);
  ASSERT_TRUE(plan.ok()) << plan.error().message.toStdString();
  QStringList rows;
  for (const auto& r : plan->rows)
    rows << r.number + ' ' + r.time + ' ' + r.temperature + ' ' + r.humidity;
  EXPECT_EQ(rows, (QStringList{"00002 2010/01/02 03:01:00 25.50 41.00",
                               "00004 2010/01/02 03:03:00 22.00 35.50",
                               "00003 2010/01/02 03:02:00 -3.00 70.00"}));
  EXPECT_EQ(plan->rows[0].remark, fitRemarks(QStringLiteral("最高温度 ")));  // as stored

  EXPECT_EQ(plan->header.selected, pointsTwoToFour());
  // The set as a whole: humidity peaks at 3 as well, lowest humidity at 4.
  EXPECT_EQ(plan->header.all[0], (ExtremeLine{2, at(3, 1, 0), 25.5}));
  EXPECT_EQ(std::tuple(plan->header.name, plan->header.count, plan->header.interval,
                       plan->header.startTime),
            std::tuple(QStringLiteral("T001"), 5, 60, at(3, 0, 0)));
  // A window of 120 s ending 60 s before the newest point shows points 2..4.
  const Result<GraphPrintPlan> whole = planGraphPrint(m_state, kLogSet, std::nullopt);
  ASSERT_TRUE(whole.ok());
  NavigationState view = whole->view();
  view.bar(TemperatureWidth).value = 120;
  view.bar(TemperatureOffset).value = 60;
  view.bar(HumidityWidth) = view.bar(TemperatureWidth);
  view.bar(HumidityOffset) = view.bar(TemperatureOffset);
  const Result<GraphPrintPlan> graph = planGraphPrint(m_state, kLogSet, view);
  ASSERT_TRUE(graph.ok());
  const GraphGeometry t = graph->geometry(GraphKind::Temperature, QSize(800, 300));
  const GraphGeometry h = graph->geometry(GraphKind::Humidity, QSize(800, 300));
  const Result<PrintHeaderInput> base = baseHeader(m_state, kLogSet);
  ASSERT_TRUE(base.ok());
  EXPECT_EQ(graph->header(*base, t, h).selected, pointsTwoToFour());

  // Without a shown window the whole set is fitted: its extremes are the set's.
  const GraphGeometry wt = whole->geometry(GraphKind::Temperature, QSize(800, 300));
  const GraphGeometry wh = whole->geometry(GraphKind::Humidity, QSize(800, 300));
  EXPECT_EQ(whole->header(*base, wt, wh).selected, base->all);
  EXPECT_EQ(wt.titleText, QStringLiteral("温度"));
  EXPECT_EQ(wh.valueLabels.front().text.right(1), QStringLiteral("％"));
  const std::vector<DumpListRow> bad = {{6, true}};
  const Result<DumpPrintPlan> beyond = planDumpPrint(m_state, kLogSet, bad, false);
  ASSERT_FALSE(beyond.ok());
  EXPECT_TRUE(beyond.error().message.contains(QStringLiteral("Record 6")));

  m_state.set(kLogSet).count = 0;
  EXPECT_FALSE(planDumpPrint(m_state, kLogSet, allRowsInRecordOrder(0), false).ok());
  EXPECT_FALSE(planGraphPrint(m_state, kLogSet, std::nullopt).ok());
  // A set that was never filled has no record file behind it either.
  EXPECT_FALSE(planGraphPrint(m_state, kRealTimeSet, std::nullopt).ok());
  m_state.set(kLogSet).loggerName.clear();
  m_state.status.loggerName = QStringLiteral("LIVE");
  m_state.fileSetName = QStringLiteral("FILE");
  EXPECT_EQ(printName(m_state, kLogSet) + printName(m_state, kFileSet), QStringLiteral("LIVEFILE"));
}

// Every sensor count, converted in both resolutions, reads the same on screen (dump list and
// its row readout, graph cursor readout, live labels), on paper and in the CSV file; the file
// is the reference. Raw 5500 is 15.355 °C, a float just below the half: 15.36 everywhere.
TEST_F(PrintPlanTest, EveryViewShowsTheValueTheFileHolds) {
  const UiText& t = m_state.texts;
  DataSet& set = m_state.set(kLogSet);
  set.count = 0x4000;
  // The file drops the zero before the point; every other view keeps it.
  const auto kept = [](const QByteArray& item) {
    QString v = QString::fromLatin1(item).remove(u'"');
    return v.startsWith(u'.') || v.startsWith(QLatin1String("-."))
               ? v.replace(u'.', QLatin1String("0."))
               : v;
  };
  for (const int mode : {60, 2}) {
    SCOPED_TRACE(mode);
    std::vector<DataRecord> records(0x4000);
    std::vector<PlotPoint> points;
    for (int raw = 0; raw < 0x4000; ++raw) {
      DataRecord& r = records[static_cast<size_t>(raw)];
      r.raw = {std::uint8_t(raw >> 8), std::uint8_t(raw), std::uint8_t((raw & 0xFFF) >> 8),
               std::uint8_t(raw)};
      convertSample(r, mode);
      r.dateTime = at(0, 0, 0) + raw / 86400.0;
      points.push_back({std::llround(r.dateTime * 86400.0), r.temperature, r.humidity, 1.0f, 0});
    }
    ASSERT_TRUE(m_state.file(kLogSet).writeRange(1, records).ok());
    const Result<QByteArray> csv = csvBytes(set, m_state.file(kLogSet), t);
    const Result<DumpPrintPlan> paper =
        planDumpPrint(m_state, kLogSet, allRowsInRecordOrder(set.count), true);
    ASSERT_TRUE(csv.ok() && paper.ok());
    const QList<QByteArray> lines = csv->split('\n').mid(3);
    DumpModel list(&m_state.file(kLogSet), t);
    list.fill(set.count);
    int differing = 0;
    for (int i = 0; i < set.count; ++i) {
      const QList<QByteArray> items = lines[i].split(',');
      const QString temperature = kept(items[2]), humidity = kept(items[3]);
      const QString date = list.data(list.index(i, 1)).toString();
      const DumpPrintRow& row = paper->rows[static_cast<size_t>(i)];
      // List cells, paper, row readout, cursor readout and live label against the file.
      const QStringList shown = {
          list.data(list.index(i, 2)).toString(),
          list.data(list.index(i, 3)).toString(),
          row.temperature,
          row.humidity,
          list.itemClickText(i),
          showCursorReadout(0, NavigationState{}, std::span(points.data(), i + 1), false, false, t),
          RealTimeMeasurement::formatValue(records[static_cast<size_t>(i)].temperature)};
      const QStringList expected = {
          temperature,
          humidity,
          temperature,
          humidity,
          t[TextId::DumpTipDate] + date + t[TextId::DumpTipTemperature] + temperature +
              t[TextId::DumpTipHumidity] + humidity + t[TextId::DumpTipHumidityUnit],
          t[TextId::GraphTipDate] + date + t[TextId::GraphTipTemperature] + temperature +
              t[TextId::GraphTipHumidity] + humidity + t[TextId::HumidityUnit],
          QString::fromLatin1(items[2]).remove(u'"')};
      differing += shown == expected ? 0 : 1;
      EXPECT_TRUE(i != 5500 || mode != 60 || temperature == QStringLiteral("15.36"));
    }
    EXPECT_EQ(differing, 0);
  }
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

TEST(PrintHeader, LimitLinesOnlyForAQm120AndOnlyFilledEntriesOfHeldPoints) {
  PrintHeaderInput in = sample(QStringLiteral("QM120-RH"));
  in.selected = in.all;
  const UiText ja = UiText::load(UiText::Language::Japanese);
  const std::vector<HeaderLine> lines = headerBlockLines(in, ja);
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(lines[4],
            (HeaderLine{QStringLiteral("上限温度設定\u3000"), QStringLiteral("ON\u300030 ℃")}));
  EXPECT_EQ(lines[5], (HeaderLine{QStringLiteral("下限温度設定\u3000"), QStringLiteral("OFF")}));
  EXPECT_EQ(lines[11], (HeaderLine{QStringLiteral("選択範囲内"), QString()}));
  EXPECT_EQ(lines[12], lines[7]);  // the same extremes in both sections

  in.lower.enabled = 1;
  const std::vector<HeaderLine> english =
      headerBlockLines(in, UiText::load(UiText::Language::English));
  EXPECT_EQ(english[4],
            (HeaderLine{QStringLiteral("Upper bound "), QStringLiteral("ON\u300030 C")}));
  EXPECT_EQ(english[5],
            (HeaderLine{QStringLiteral("Lower bound "), QStringLiteral("ON\u3000-5 C")}));
  EXPECT_EQ(english[2].value, QStringLiteral("1234 Point"));

  in.model = QStringLiteral("QM200-RHA");
  EXPECT_EQ(headerBlockLines(in, ja).size(), 14u);
  Extremes e;
  e.entries = {{{1, 25.5}, {9, Extremes::kResetLow}, {11, 60.0}, {0, 30.0}}};
  std::map<int, double> times = {{1, at(1, 10, 1, 0)}, {11, at(1, 10, 11, 0)}};
  const auto timeOf = [&](int n) -> std::optional<double> {
    const auto it = times.find(n);
    return it == times.end() ? std::nullopt : std::optional<double>(it->second);
  };
  // Point 1 is the first a set holds; the second entry is still at its reset value, point 11
  // lies beyond a count of 10, and there is no point 0.
  EXPECT_EQ(resolveExtremes(e, 10, timeOf),
            (ExtremeLines{ExtremeLine{1, at(1, 10, 1, 0), 25.5}, {}, {}, {}}));

  Extremes reset;
  reset.reset();
  for (const auto& line : resolveExtremes(reset, 10, timeOf)) EXPECT_FALSE(line);
}

}  // namespace
}  // namespace termika
