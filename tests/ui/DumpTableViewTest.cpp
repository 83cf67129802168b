#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>

#include "core/data/DayTime.h"
#include "ui/dump/DumpTableView.h"

namespace termika {
namespace {

TEST(DumpTableView, ListSetUpAndHeaderClicksSort) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  RecordFile file;
  ASSERT_TRUE(file.open(dir.filePath(QStringLiteral("log.rand"))).ok());
  const float temps[] = {25.0f, 9.0f, -5.5f};
  for (int n = 1; n <= 3; ++n) {
    DataRecord r;
    r.RecordNo = static_cast<std::int16_t>(n);
    r.Temperature = temps[n - 1];
    r.DateTime = *toDaySerial(CivilTime{2010, 1, 2, 3, 4, n});
    ASSERT_TRUE(file.write(n, r).ok());
  }
  DumpModel model(&file, UiText::load(UiText::Language::English));
  model.FillDumpList(3);
  QTableView table;
  table.resize(1000, 400);
  SetUpDumpTable(table, model, 1);
  EXPECT_EQ(table.objectName(), "ListView1_1");
  EXPECT_EQ(table.editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(table.selectionBehavior(), QAbstractItemView::SelectRows);

  const int width = table.viewport()->width();
  SizeDumpColumns(table);
  const int shares[] = {13, 19, 13, 13, 42};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(table.columnWidth(c), width * shares[c] / 100);

  QHeaderView* header = table.horizontalHeader();
  EXPECT_EQ(header->sortIndicatorSection(), 0);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
  Q_EMIT header->sectionClicked(2);
  EXPECT_EQ(header->sortIndicatorSection(), 2);
  EXPECT_EQ(model.recordNoAt(0), 3);
  Q_EMIT header->sectionClicked(2);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
  EXPECT_EQ(model.recordNoAt(0), 1);
  EXPECT_EQ(table.model()->data(table.model()->index(0, 2)).toString(), "25.00");
}

}  // namespace
}  // namespace termika
