#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "core/data/DayTime.h"
#include "core/data/ExtremesUpdate.h"
#include "core/views/DumpModel.h"

namespace termika {
namespace {

double serial(int h, int mi, int s) { return *toDaySerial(CivilTime{2010, 1, 2, h, mi, s}); }

class DumpModelTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(m_file.open(m_dir.filePath(QStringLiteral("real.rand"))).ok());
  }

  void put(int n, float t, float h, double time, const QString& remark = QString()) {
    DataRecord r;
    r.RecordNo = static_cast<std::int16_t>(n);
    r.Temperature = t;
    r.Humidity = h;
    r.DateTime = time;
    r.Segment = 1.0f;
    r.Remarks = fitRemarks(remark);
    ASSERT_TRUE(m_file.write(n, r).ok());
    UpdateExtremes(r, m_extremes);
  }

  // Temperatures 25, 9, 25, -5.5 and humidities 40, 60, 30, 60: ties on the
  // highest temperature (1, 3) and the highest humidity (2, 4).
  void fourPoints() {
    put(1, 25.0f, 40.0f, serial(3, 4, 5));
    put(2, 9.0f, 60.0f, serial(3, 4, 15));
    put(3, 25.0f, 30.0f, serial(3, 4, 25));
    put(4, -5.5f, 60.0f, serial(3, 4, 35));
  }

  std::vector<int> rows(const DumpModel& m) const {
    std::vector<int> out;
    for (int r = 0; r < m.rowCount(); ++r) out.push_back(m.recordNoAt(r));
    return out;
  }

  QString cell(const DumpModel& m, int row, int column) const {
    return m.data(m.index(row, column)).toString();
  }

  QTemporaryDir m_dir;
  RecordFile m_file;
  Extremes m_extremes;
  UiText m_english = UiText::load(UiText::Language::English);
};

TEST_F(DumpModelTest, ShowsFiveFormattedColumns) {
  fourPoints();
  DumpModel model(&m_file, m_english);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.FillDumpList(4);
  ASSERT_EQ(model.rowCount(), 4);
  ASSERT_EQ(model.columnCount(), 5);
  EXPECT_EQ(cell(model, 0, 0), "00001");
  EXPECT_EQ(cell(model, 0, 1), "2010/01/02 03:04:05");
  EXPECT_EQ(cell(model, 0, 2), "25.00");
  EXPECT_EQ(cell(model, 3, 2), "-5.50");
  EXPECT_EQ(cell(model, 1, 3), "60.00");
  EXPECT_EQ(cell(model, 0, 4), QString(50, QLatin1Char(' ')));
  const std::vector<QString> headers{"Record No", "Date", "Temp (°C)", "Humi (%RH)", "Remarks"};
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString(), headers[static_cast<size_t>(c)]);
  }
  EXPECT_FALSE(model.flags(model.index(0, 4)).testFlag(Qt::ItemIsEditable));
  EXPECT_EQ(model.ItemClickText(0),
            "Date 2010/01/02 03:04:05   Temperature 25.00°C   Humidity 40.00 %RH");
}

TEST_F(DumpModelTest, NumericColumnsSortAsNumbers) {
  fourPoints();
  DumpModel model(&m_file, m_english);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.FillDumpList(4);
  EXPECT_EQ(rows(model), (std::vector<int>{1, 2, 3, 4}));
  struct Click {
    int column;
    int key;
    int order;
    std::vector<int> rows;
  };
  const std::vector<Click> clicks{
      {2, 2, 0, {4, 2, 1, 3}},  // -5.50, 9.00, 25.00, 25.00 (text order would put 9.00 last)
      {2, 2, 1, {1, 3, 2, 4}},  // same column flips; equal values keep record order
      {3, 3, 1, {2, 4, 1, 3}},  // another column keeps the direction
      {0, 0, 1, {4, 3, 2, 1}}, {0, 0, 0, {1, 2, 3, 4}}, {1, 1, 0, {1, 2, 3, 4}},
  };
  QSignalSpy sortSpy(&model, &DumpModel::sortChanged);
  for (const Click& c : clicks) {
    SCOPED_TRACE(c.column);
    model.ColumnClick(c.column);
    EXPECT_EQ(model.SortKey(), c.key);
    EXPECT_EQ(model.SortOrder(), c.order);
    EXPECT_EQ(rows(model), c.rows);
  }
  EXPECT_EQ(sortSpy.count(), static_cast<int>(clicks.size()));
  EXPECT_EQ(model.data(model.index(0, 2), DumpModel::SortRole).toDouble(), 25.0);
}

TEST_F(DumpModelTest, ExtremeMarksMoveOnlyWhereTheyChange) {
  fourPoints();
  DumpModel model(&m_file, m_english);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.FillDumpList(4);
  model.SetSort(2, 1);  // list order must not decide the ties
  ASSERT_TRUE(model.MarkExtremeRows(m_extremes).ok());
  const auto remarkOf = [&](int n) { return m_file.read(n)->Remarks.trimmed(); };
  EXPECT_EQ(remarkOf(1), "Maximum temperature");
  EXPECT_EQ(remarkOf(2), "Maximum humidity");
  EXPECT_EQ(remarkOf(3), "Minimum humidity");
  EXPECT_EQ(remarkOf(4), "Minimum temperature");
  EXPECT_EQ(m_file.read(1)->Remarks.size(), 50);
  // Row 0 of the descending temperature sort is record 1.
  EXPECT_EQ(cell(model, 0, 4).trimmed(), "Maximum temperature");

  put(5, 30.0f, 50.0f, serial(3, 4, 45));
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  model.AppendDumpRow(5);
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted.at(0).at(1).toInt(), 0);  // 30.00 sorts first, descending
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  ASSERT_TRUE(model.MarkExtremeRows(m_extremes).ok());
  EXPECT_EQ(changed.count(), 2);  // records 1 and 5 only
  EXPECT_EQ(remarkOf(1), "");
  EXPECT_EQ(remarkOf(5), "Maximum temperature");
  EXPECT_EQ(remarkOf(4), "Minimum temperature");
  changed.clear();
  ASSERT_TRUE(model.MarkExtremeRows(m_extremes).ok());
  EXPECT_EQ(changed.count(), 0);
}

TEST_F(DumpModelTest, JapaneseMarksRunTogetherAndOtherRemarksStay) {
  put(1, 30.0f, 10.0f, serial(1, 0, 0), QStringLiteral("上限越 "));
  put(2, 20.0f, 50.0f, serial(1, 0, 10));
  DumpModel model(&m_file, UiText::load(UiText::Language::Japanese));
  model.FillDumpList(2);
  ASSERT_TRUE(model.MarkExtremeRows(m_extremes).ok());
  const QString expected = QStringLiteral("上限越最高温度 最低湿度 ");
  EXPECT_EQ(m_file.read(1)->Remarks.left(expected.size()), expected);
  EXPECT_EQ(m_file.read(1)->Remarks.trimmed(), expected.trimmed());
}

TEST_F(DumpModelTest, RealTimeListShowsTheNewestOnTop) {
  DumpModel model(&m_file, m_english);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.SetSort(0, 1);
  model.Clear();
  for (int n = 1; n <= 3; ++n) {
    put(n, 20.0f + n, 50.0f, serial(2, 0, n));
    model.AppendDumpRow(n);
  }
  EXPECT_EQ(rows(model), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(cell(model, 0, 2), "23.00");
}

TEST_F(DumpModelTest, ShortOrEmptyFileShowsWhatItHas) {
  put(1, 1.0f, 2.0f, serial(1, 0, 0));
  DumpModel model(&m_file, m_english);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  model.FillDumpList(3);  // records 2 and 3 were never written
  EXPECT_EQ(model.rowCount(), 3);
  EXPECT_EQ(cell(model, 1, 0), "00002");
  EXPECT_TRUE(cell(model, 1, 2).isEmpty());
  EXPECT_TRUE(model.ItemClickText(2).isEmpty());
  model.SetSort(2, 0);
  EXPECT_EQ(model.rowCount(), 3);
  model.FillDumpList(0);  // an empty set: headers only, stale records unseen
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Record No");
  EXPECT_TRUE(model.ItemClickText(0).isEmpty());
}

}  // namespace
}  // namespace termika
