#pragma once

#include <QTableView>

#include "core/views/DumpModel.h"

namespace termika {

// Configures a table as a set's dump list:
// full-row selection, no editing, column widths as shares of the table's
// width, the sort arrow on the sort column, header clicks sorting the model.
void setUpDumpTable(QTableView& table, DumpModel& model);

// Column widths as 13/19/13/13/42 % of the table's current width.
void sizeDumpColumns(QTableView& table);

// Shows the model's sort state as the header's arrow.
void showSortIcon(QTableView& table, const DumpModel& model);

}  // namespace termika
