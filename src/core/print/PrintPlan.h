#pragma once

#include <QSize>
#include <optional>
#include <span>
#include <vector>

#include "core/base/Result.h"
#include "core/model/AppState.h"
#include "core/print/PrintHeader.h"
#include "core/views/GraphGeometry.h"
#include "core/views/Navigation.h"

namespace termika {

// One row of a set's dump list as shown: its point number and whether the
// user selected it.
struct DumpListRow {
  int recordNo = 0;
  bool selected = false;
};

// The five texts of a printed dump row, as the dump list shows them.
struct DumpPrintRow {
  int pointNo = 0;
  QString number;
  QString time;
  QString temperature;
  QString humidity;
  QString remark;  // all 50 characters as stored
};

struct DumpPrintPlan {
  PrintHeaderInput header;
  std::vector<DumpPrintRow> rows;
  Extremes selected;  // over the printed rows
};

// Everything a graph page needs; geometry is built for the size the page
// gives each graph.
class GraphPrintPlan final {
 public:
  GraphPrintPlan(std::vector<PlotPoint> points, NavigationState view, const DataSet& set,
                 const UiText& texts);

  GraphGeometry geometry(GraphKind kind, QSize size) const;
  // The header, its selected-range extremes taken from the drawn graphs
  // (temperature entries from the temperature graph, humidity from humidity).
  PrintHeaderInput header(const PrintHeaderInput& base, const GraphGeometry& temperature,
                          const GraphGeometry& humidity) const;
  const NavigationState& view() const { return m_view; }

 private:
  std::vector<PlotPoint> m_points;
  NavigationState m_view;
  QString m_model;
  AlarmSetting m_upper;
  AlarmSetting m_lower;
  UiText m_texts;
};

// The name that describes a set on paper: the set's own name, or for the log
// and real-time sets the connected logger's, for the file set the file's.
QString printName(const AppState& state, int set);

// Name, start time (record 1), count, interval, model, limits and the
// all-records extremes of a set; the selected range is left empty.
Result<PrintHeaderInput> baseHeader(const AppState& state, int set);

// The rows of `list` to print (every row when `allRows`, else the selected
// ones), in list order, with their extremes. Fails for an empty set or a row
// whose record cannot be read.
Result<DumpPrintPlan> planDumpPrint(const AppState& state, int set,
                                    std::span<const DumpListRow> list, bool allRows);

// Every record of a set in record order, as a dump list sorted by number
// shows them, all selected.
std::vector<DumpListRow> allRowsInRecordOrder(int count);

// The graph window to print: the one shown on screen when given, else the
// set's saved view, else the whole set fitted. Fails for an empty set.
Result<GraphPrintPlan> planGraphPrint(const AppState& state, int set,
                                      const std::optional<NavigationState>& shown);

}  // namespace termika
