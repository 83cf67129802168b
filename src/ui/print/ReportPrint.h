#pragma once

#include <QString>
#include <optional>

#include "core/base/Result.h"
#include "core/model/AppState.h"
#include "core/report/ReportInput.h"
#include "core/report/ReportSheet.h"
#include "core/report/Summary.h"
#include "ui/print/PrintOutcome.h"

namespace termika {

struct ReportOptions {
  double activationEnergyKJPerMol = report::kDefaultActivationEnergyKJPerMol;
  // Limits for this report only; without them the set's own alarm limits
  // count, and a set without alarm limits gets no verdict.
  std::optional<double> upperLimit;
  std::optional<double> lowerLimit;
  bool withDump = false;
};

// The figures of a set as the report prints them. Fails for an empty set.
Result<report::Summary> summarizeSet(const AppState& state, int set, const ReportOptions& options);

// The report of a set: the summary page(s), the graph of the whole set and,
// when asked, the dump pages. `origin` names the file or the download.
Result<PagePainter> prepareReportPrint(const AppState& state, int set, const ReportOptions& options,
                                       const QString& origin);

// Paints the summary lines, breaking pages where they run out; returns the
// number of pages used.
int printSummaryPages(QPainter& painter, QPagedPaintDevice& device,
                      const std::vector<report::SheetLine>& lines);

}  // namespace termika
