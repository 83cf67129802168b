#include "ui/dump/DumpTableView.h"

#include <QHeaderView>

#include "ui/dump/DumpHeaderView.h"

namespace termika {

void sizeDumpColumns(QTableView& table) {
  const int width = table.viewport()->width();
  for (int c = 0; c < DumpModel::kColumnCount; ++c) {
    table.setColumnWidth(c, width * DumpModel::kWidthShares[c] / 100);
  }
}

void showSortIcon(QTableView& table, const DumpModel& model) {
  table.horizontalHeader()->setSortIndicator(
      model.sortKey(), model.sortOrder() == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void setUpDumpTable(QTableView& table, DumpModel& model) {
  table.setHorizontalHeader(new DumpHeaderView(&table));
  table.setModel(&model);
  table.setSelectionBehavior(QAbstractItemView::SelectRows);
  // Shift, Ctrl and Ctrl+A pick the rows a dump print takes.
  table.setSelectionMode(QAbstractItemView::ExtendedSelection);
  table.setEditTriggers(QAbstractItemView::NoEditTriggers);
  table.verticalHeader()->setVisible(false);
  table.verticalHeader()->setDefaultSectionSize(table.fontMetrics().height() + 4);
  table.setWordWrap(false);
  QHeaderView* header = table.horizontalHeader();
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setSectionsClickable(true);
  // The model owns the sort; the view only forwards clicks and shows the arrow.
  table.setSortingEnabled(false);
  QObject::connect(header, &QHeaderView::sectionClicked, &model,
                   [&model](int column) { model.sortByColumn(column); });
  QObject::connect(&model, &DumpModel::sortChanged, &table,
                   [&table, &model](int, int) { showSortIcon(table, model); });
  sizeDumpColumns(table);
  showSortIcon(table, model);
}

}  // namespace termika
