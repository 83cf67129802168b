#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "core/base/Result.h"
#include "core/model/AppState.h"
#include "core/print/PrintPlan.h"
#include "core/views/Navigation.h"
#include "ui/print/ReportPrint.h"

class QTableView;
class QWidget;

namespace termika {

// What is on screen when printing starts.
struct PrintSelection {
  // The graph window shown; without it a graph page shows the whole set.
  std::optional<NavigationState> graphView;
  // The dump list's rows in displayed order with their selection; without
  // rows a dump prints every record in record order.
  std::vector<DumpListRow> dumpRows;
};

// Printing needs at least one point in the set.
bool canPrint(const AppState& state, int set);

// The rows of a dump list as shown, with the user's selection.
std::vector<DumpListRow> dumpListRows(const QTableView& table);

// The print buttons and menu item: the dump print dialog (DumpPrintDialog) in the dump
// view (viewMode 1), the graph print dialog (GraphPrintDialog) otherwise, for `set`. An
// empty set opens no dialog. After a complete print the set's selected-range
// extremes describe what was printed.
void openPrintDialog(QWidget* parent, AppState& state, int set, int viewMode,
                     const PrintSelection& selection);

// The report menu item: the summary report of `set` in a preview, printed or
// saved as a PDF from there. An empty set opens nothing.
void openReportPreview(QWidget* parent, AppState& state, int set);

// For scripted reports: a set's graph page or dump pages as a PDF file
// (written completely or not at all). Returns the number of pages.
Result<int> printSetToPdf(const AppState& state, int set, bool dump, const QString& pdfPath,
                          const PrintSelection& selection = {});

// termika-cli print-graph|print-dump FILE.csv -o OUT.pdf: reads the CSV file
// into a file set of its own (record file in a temporary folder) and prints
// it. Needs a QGuiApplication (the offscreen platform will do) for fonts.
Result<int> printCsvToPdf(const QString& csvPath, bool dump, const QString& pdfPath,
                          UiText::Language language);

// termika-cli report FILE.csv -o OUT.pdf: the summary report of a saved CSV
// file (summary, graph and, when asked, dump pages) as a PDF.
Result<int> reportCsvToPdf(const QString& csvPath, const ReportOptions& options,
                           const QString& pdfPath, UiText::Language language);

}  // namespace termika
