#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cmath>

#include "core/data/DayTime.h"
#include "core/data/ExtremesUpdate.h"
#include "core/views/DumpModel.h"

namespace termika {
namespace {

double serial(int h, int mi, int s) { return *toDaySerial(CivilTime{2010, 1, 2, h, mi, s}); }

// A record file and a model over it, checked by the model tester throughout.
class DumpModelTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_file.open(m_dir.filePath(QStringLiteral("real.rand"))).ok());
  }
  void put(int n, float t, float h, double time, const QString& remark = QString()) {
    DataRecord r;
    r.recordNo = static_cast<std::int16_t>(n);
    r.temperature = t;
    r.humidity = h;
    r.dateTime = time;
    r.remarks = fitRemarks(remark);
    ASSERT_TRUE(m_file.write(n, r).ok());
    updateExtremes(r, m_extremes);
  }
  // Temperatures 25, 9, 25, -5.5 and humidities 40, 60, 30, 60: ties on the
  // highest temperature (1, 3) and the highest humidity (2, 4).
  void fourPoints() {
    put(1, 25.0f, 40.0f, serial(3, 4, 5));
    put(2, 9.0f, 60.0f, serial(3, 4, 15));
    put(3, 25.0f, 30.0f, serial(3, 4, 25));
    put(4, -5.5f, 60.0f, serial(3, 4, 35));
  }
  std::vector<int> rows() const {
    std::vector<int> out;
    for (int r = 0; r < m_model.rowCount(); ++r) out.push_back(m_model.recordNoAt(r));
    return out;
  }
  QString cell(int row, int column) const {
    return m_model.data(m_model.index(row, column)).toString();
  }
  // Columns 0..3 of a row, joined by "|".
  QString line(int row) const {
    return QStringList{cell(row, 0), cell(row, 1), cell(row, 2), cell(row, 3)}.join(u'|');
  }
  QString remarkOf(int n) const { return m_file.read(n)->remarks.trimmed(); }

  QTemporaryDir m_dir;
  RecordFile m_file;
  Extremes m_extremes;
  DumpModel m_model{&m_file, UiText::load(UiText::Language::English)};
  QAbstractItemModelTester m_tester{&m_model,
                                    QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(DumpModelTest, ShowsFiveFormattedColumnsAndSortsNumbersAsNumbers) {
  fourPoints();
  m_model.fill(4);
  ASSERT_EQ(std::pair(m_model.rowCount(), m_model.columnCount()), std::pair(4, 5));
  EXPECT_EQ(line(0), "00001|2010/01/02 03:04:05|25.00|40.00");
  EXPECT_EQ(line(3), "00004|2010/01/02 03:04:35|-5.50|60.00");
  EXPECT_EQ(cell(0, 4), QString(50, QLatin1Char(' ')));
  EXPECT_FALSE(m_model.flags(m_model.index(0, 4)).testFlag(Qt::ItemIsEditable));
  EXPECT_EQ(m_model.itemClickText(0),
            "Date 2010/01/02 03:04:05   Temperature 25.00°C   Humidity 40.00 %RH");
  // Numeric columns sort as numbers.
  EXPECT_EQ(rows(), (std::vector<int>{1, 2, 3, 4}));
  // The column clicked: the sort order and the records in list order.
  const std::tuple<int, int, std::vector<int>> clicks[] = {
      {2, 0, {4, 2, 1, 3}},  // -5.50, 9.00, 25.00, 25.00 (text order would put 9.00 last)
      {2, 1, {1, 3, 2, 4}},  // same column flips; equal values keep record order
      {3, 1, {2, 4, 1, 3}},  // another column keeps the direction
      {0, 1, {4, 3, 2, 1}}, {0, 0, {1, 2, 3, 4}}, {1, 0, {1, 2, 3, 4}},
  };
  QSignalSpy sortSpy(&m_model, &DumpModel::sortChanged);
  for (const auto& [column, order, records] : clicks) {
    m_model.sortByColumn(column);
    EXPECT_EQ(std::tuple(m_model.sortKey(), m_model.sortOrder(), rows()),
              std::tuple(column, order, records))
        << column;
  }
  EXPECT_EQ(sortSpy.count(), static_cast<int>(std::size(clicks)));
  // A point measured while the list is sorted by a value lands at its place in that order.
  m_model.sortByColumn(2);  // temperature, still ascending
  put(5, 10.0f, 50.0f, serial(3, 4, 45));
  m_model.appendRow(5);
  EXPECT_EQ(rows(), (std::vector<int>{4, 2, 5, 1, 3}));
}

TEST_F(DumpModelTest, ExtremeMarksMoveOnlyWhereTheyChange) {
  fourPoints();
  m_model.fill(4);
  m_model.setSort(2, 1);  // list order must not decide the ties
  ASSERT_TRUE(m_model.markExtremeRows(m_extremes).ok());
  EXPECT_EQ(QStringList({remarkOf(1), remarkOf(2), remarkOf(3), remarkOf(4)}).join(u'|'),
            "Maximum temperature|Maximum humidity|Minimum humidity|Minimum temperature");
  // Row 0 of the descending temperature sort is record 1.
  EXPECT_EQ(cell(0, 4).trimmed(), "Maximum temperature");

  put(5, 30.0f, 50.0f, serial(3, 4, 45));
  QSignalSpy inserted(&m_model, &QAbstractItemModel::rowsInserted);
  m_model.appendRow(5);
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted.at(0).at(1).toInt(), 0);  // 30.00 sorts first, descending
  QSignalSpy changed(&m_model, &QAbstractItemModel::dataChanged);
  ASSERT_TRUE(m_model.markExtremeRows(m_extremes).ok());
  EXPECT_EQ(changed.count(), 2);  // records 1 and 5 only
  EXPECT_EQ(QStringList({remarkOf(1), remarkOf(5), remarkOf(4)}).join(u'|'),
            "|Maximum temperature|Minimum temperature");
  changed.clear();
  ASSERT_TRUE(m_model.markExtremeRows(m_extremes).ok());
  EXPECT_EQ(changed.count(), 0);
}

TEST_F(DumpModelTest, JapaneseMarksRunTogetherAndOtherRemarksStay) {
  put(1, 30.0f, 10.0f, serial(1, 0, 0), QStringLiteral("上限越 "));
  put(2, 20.0f, 50.0f, serial(1, 0, 10));
  DumpModel model(&m_file, UiText::load(UiText::Language::Japanese));
  model.fill(2);
  ASSERT_TRUE(model.markExtremeRows(m_extremes).ok());
  const QString expected = QStringLiteral("上限越最高温度 最低湿度 ");
  EXPECT_EQ(m_file.read(1)->remarks, fitRemarks(expected));
}

TEST_F(DumpModelTest, ShortEmptyOrGarbledFilesShowWhatTheyHave) {
  put(1, 1.0f, 2.0f, serial(1, 0, 0));
  m_model.fill(3);  // records 2 and 3 were never written
  EXPECT_EQ(line(1), "00002|||");
  EXPECT_TRUE(m_model.itemClickText(2).isEmpty());
  m_model.setSort(2, 0);
  EXPECT_EQ(m_model.rowCount(), 3);
  m_model.fill(0);  // an empty set: headers only, stale records unseen
  EXPECT_EQ(m_model.rowCount(), 0);
  EXPECT_EQ(m_model.headerData(0, Qt::Horizontal).toString(), "Record No");
  EXPECT_TRUE(m_model.itemClickText(0).isEmpty());
  // A time far outside the calendar (a stale or damaged file) once crashed the
  // list while it formatted the date; it reads as day 0 and still sorts by value.
  put(1, 21.5f, 45.0f, 41395.5);
  put(2, 21.5f, 45.0f, 1e300);
  put(3, 21.5f, 45.0f, -4.2e17);
  m_model.fill(3);
  const char* shown[] = {"2013/05/01 12:00:00", "1899/12/30 00:00:00", "1899/12/30 00:00:00"};
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(cell(row, DumpModel::kDate), QLatin1String(shown[row]));
    EXPECT_TRUE(m_model.itemClickText(row).contains(QLatin1String(shown[row]))) << row;
  }
  m_model.setSort(DumpModel::kDate, 0);
  EXPECT_EQ(rows(), (std::vector<int>{3, 1, 2}));
  // NaN values of a damaged file sort as the lowest; the others stay in order.
  const float temperatures[] = {25.0f, NAN, 20.0f, 30.0f, NAN, 10.0f};
  for (int n = 1; n <= 6; ++n) put(n, temperatures[n - 1], 50.0f, serial(1, 0, n));
  m_model.fill(6);
  m_model.setSort(DumpModel::kTemperature, 0);
  EXPECT_EQ(rows(), (std::vector<int>{2, 5, 6, 3, 1, 4}));
}

}  // namespace
}  // namespace termika
