#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <limits>

#include "core/views/DumpModel.h"

namespace termika {
namespace {

// A record file holding a time far outside the calendar (a stale or damaged
// file) once crashed the dump list while it formatted the date column.
TEST(FuzzRegressionDumpModel, ShowsAGarbledTimeAsDayZero) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  RecordFile file;
  ASSERT_TRUE(file.open(dir.filePath(QStringLiteral("log.rand"))).ok());
  const double times[] = {41395.5, 1e300, -4.2e17};
  for (int n = 1; n <= 3; ++n) {
    DataRecord r;
    r.RecordNo = static_cast<std::int16_t>(n);
    r.Temperature = 21.5f;
    r.Humidity = 45.0f;
    r.DateTime = times[n - 1];
    r.Remarks = fitRemarks(QString());
    ASSERT_TRUE(file.write(n, r).ok());
  }

  DumpModel model(&file, UiText::load(UiText::Language::English));
  model.FillDumpList(3);
  const char* shown[] = {"2013/05/01 12:00:00", "1899/12/30 00:00:00", "1899/12/30 00:00:00"};
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(model.data(model.index(row, DumpModel::kDate)).toString(), QLatin1String(shown[row]));
    EXPECT_TRUE(model.ItemClickText(row).contains(QLatin1String(shown[row]))) << row;
  }
  // Sorting by date still orders the raw values: -4.2e17, 41395.5, 1e300.
  model.SetSort(DumpModel::kDate, 0);
  EXPECT_EQ(model.recordNoAt(0), 3);
  EXPECT_EQ(model.recordNoAt(1), 1);
  EXPECT_EQ(model.recordNoAt(2), 2);
}

// NaN values of a damaged file must not break the sort's ordering: they
// sort as the lowest values, the others stay in order.
TEST(FuzzRegressionDumpModel, NotANumberSortsFirst) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  RecordFile file;
  ASSERT_TRUE(file.open(dir.filePath(QStringLiteral("log.rand"))).ok());
  const float temperatures[] = {25.0f, std::numeric_limits<float>::quiet_NaN(), 20.0f, 30.0f,
                                std::numeric_limits<float>::quiet_NaN(), 10.0f};
  for (int n = 1; n <= 6; ++n) {
    DataRecord r;
    r.RecordNo = static_cast<std::int16_t>(n);
    r.Temperature = temperatures[n - 1];
    r.Remarks = fitRemarks(QString());
    ASSERT_TRUE(file.write(n, r).ok());
  }
  DumpModel model(&file, UiText::load(UiText::Language::English));
  model.FillDumpList(6);
  model.SetSort(DumpModel::kTemperature, 0);
  const int expected[] = {2, 5, 6, 3, 1, 4};
  for (int row = 0; row < 6; ++row) EXPECT_EQ(model.recordNoAt(row), expected[row]) << row;
}

}  // namespace
}  // namespace termika
