#pragma once

#include <QAbstractTableModel>
#include <map>
#include <optional>
#include <vector>

#include "core/base/Result.h"
#include "core/base/UiText.h"
#include "core/data/DataRecord.h"
#include "core/data/DataSet.h"
#include "core/data/RecordFile.h"

namespace termika {

// The dump list of one data set: one row per record 1..count of the set's
// record file, read in blocks on demand, so 15000 points need no 15000
// widget items. Rows are kept sorted by (SortKey, SortOrder); ties keep
// record order.
class DumpModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column : int { kNumber = 0, kDate = 1, kTemperature = 2, kHumidity = 3, kRemarks = 4 };
  static constexpr int kColumnCount = 5;
  // Numbers for the numeric columns, so 9.00 sorts before 25.00.
  static constexpr int kSortRole = Qt::UserRole + 1;
  // Column shares of the list's width, in percent.
  static constexpr int kWidthShares[kColumnCount] = {13, 19, 13, 13, 42};

  // `file` must outlive the model; it is written only by MarkExtremeRows.
  DumpModel(RecordFile* file, const UiText& texts, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  // Shows records 1..count, dropping what was cached.
  void fill(int count);
  // The set grew to `count`; its newest record becomes one new row.
  void appendRow(int count);
  void clear();
  int count() const { return m_count; }

  // Rewrites the remark of the rows whose extreme marks change, in the list
  // and in the record file, so exactly the records named by `all` carry
  // marks. Other remark text of a row is kept.
  Result<void> markExtremeRows(const Extremes& all);

  // Status-bar text for a clicked row; empty for a row that cannot be read.
  QString itemClickText(int row) const;

  // SortOrder: 0 ascending, 1 descending.
  int sortKey() const { return m_sortKey; }
  int sortOrder() const { return m_sortOrder; }
  void setSort(int key, int order);
  // Same column: order flips; another column: sorted by it in the same order.
  void sortByColumn(int column);

  int recordNoAt(int row) const;
  std::optional<DataRecord> recordAt(int row) const;

 Q_SIGNALS:
  void sortChanged(int key, int order);

 private:
  static constexpr int kBlock = 512;

  const DataRecord* cached(int recordNo) const;
  QVariant sortValue(int recordNo, int column) const;
  bool lessThan(int a, int b) const;
  void applySort();
  void rebuildRowIndex();
  QString markFor(int recordNo, const Extremes& all) const;

  RecordFile* m_file = nullptr;
  UiText m_texts;
  int m_count = 0;
  int m_sortKey = 0;
  int m_sortOrder = 0;
  std::vector<int> m_order;  // row -> record number
  std::vector<int> m_rowOf;  // record number - 1 -> row
  mutable std::vector<std::vector<DataRecord>> m_blocks;
  mutable std::vector<bool> m_loaded;
  std::map<int, QString> m_marks;  // record number -> extreme marks written by us
};

}  // namespace termika
