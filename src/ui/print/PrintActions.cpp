#include "ui/print/PrintActions.h"

#include <QDir>
#include <QItemSelectionModel>
#include <QPrinterInfo>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>

#include "core/app/CsvActions.h"
#include "core/base/Says.h"
#include "core/data/Csv.h"
#include "core/data/Formats.h"
#include "core/data/InputFile.h"
#include "core/data/SetRecords.h"
#include "core/views/DumpModel.h"
#include "ui/MessageBoxPrompts.h"
#include "ui/print/DumpPrint.h"
#include "ui/print/DumpPrintDialog.h"
#include "ui/print/GraphPrint.h"
#include "ui/print/GraphPrintDialog.h"
#include "ui/print/PrintTarget.h"
#include "ui/print/PrintWords.h"
#include "ui/print/ReportPreviewDialog.h"
#include "ui/print/ReportPrint.h"

namespace termika {
namespace {

constexpr int kDumpView = 1;

// What the print dialogs' print button prints: the graph or the dump of the set.
Result<PagePainter> prepare(const AppState& state, int set, bool dump,
                            const PrintSelection& selection, bool allRows) {
  if (!dump) return prepareGraphPrint(state, set, selection.graphView);
  std::vector<DumpListRow> everyRecord;
  std::span<const DumpListRow> rows = selection.dumpRows;
  if (rows.empty()) {
    everyRecord = allRowsInRecordOrder(state.set(set).count);
    rows = everyRecord;
    allRows = true;
  }
  return prepareDumpPrint(state, set, rows, allRows);
}

QString proposedPdfName(const AppState& state, int set) {
  const std::optional<DataRecord> first = state.file(set).read(1);
  return proposedCsvName(printName(state, set), first ? first->dateTime : 0.0) +
         QStringLiteral(".pdf");
}

}  // namespace

bool canPrint(const AppState& state, int set) {
  return set >= 0 && set < kSetCount && state.set(set).count > 0;
}

std::vector<DumpListRow> dumpListRows(const QTableView& table) {
  std::vector<DumpListRow> rows;
  const auto* model = qobject_cast<const DumpModel*>(table.model());
  if (model == nullptr) return rows;
  const QItemSelectionModel* selection = table.selectionModel();
  rows.reserve(static_cast<size_t>(model->rowCount()));
  for (int row = 0; row < model->rowCount(); ++row) {
    const bool selected = selection != nullptr && selection->isRowSelected(row, QModelIndex());
    rows.push_back({model->recordNoAt(row), selected});
  }
  return rows;
}

void openPrintDialog(QWidget* parent, AppState& state, int set, int viewMode,
                     const PrintSelection& selection) {
  if (!canPrint(state, set)) return;
  const UiText& texts = state.texts;
  const bool dump = viewMode == kDumpView;
  MessageBoxPrompts prompts(parent, state);
  PrintDialogBase::Setup setup;
  setup.texts = &texts;
  setup.prompts = &prompts;
  setup.prepare = [&state, set, dump, selection](bool allRows) {
    return prepare(state, set, dump, selection, allRows);
  };
  setup.printers = QPrinterInfo::availablePrinterNames();
  setup.defaultPrinter = QPrinterInfo::defaultPrinterName();
  setup.proposedPdfName = proposedPdfName(state, set);
  setup.rowsSelected = std::any_of(selection.dumpRows.begin(), selection.dumpRows.end(),
                                   [](const DumpListRow& r) { return r.selected; });
  std::unique_ptr<PrintDialogBase> form;
  if (dump) {
    form = std::make_unique<DumpPrintDialog>(std::move(setup), parent);
  } else {
    form = std::make_unique<GraphPrintDialog>(std::move(setup), parent);
  }
  form->exec();
  if (form->outcome()) state.set(set).selectedExtremes = form->outcome()->selected;
}

// Where the report says its points came from.
QString reportOrigin(const AppState& state, int set) {
  if (set == kFileSet) return QDir::toNativeSeparators(state.fileSetFile);
  if (set == kLogSet && state.logSetDownloadedAt.isValid()) {
    const QString partial = partialNote(state.set(kLogSet));
    return says("Downloaded %1").arg(fmt::dateTime(state.logSetDownloadedAt)) +
           (partial.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(partial));
  }
  return set == kLogSet ? says("Downloaded from the logger") : says("Real-time measurements");
}

void openReportPreview(QWidget* parent, AppState& state, int set) {
  if (!canPrint(state, set)) return;
  MessageBoxPrompts prompts(parent, state);
  Result<PagePainter> report = prepareReportPrint(state, set, {}, reportOrigin(state, set));
  if (!report) {
    prompts.info(state.modelName, report.error().message);
    return;
  }
  const QString pdfName = proposedPdfName(state, set);
  ReportPreviewDialog dialog(std::move(*report), pdfName, state.texts, prompts, parent);
  dialog.exec();
}

Result<int> printSetToPdf(const AppState& state, int set, bool dump, const QString& pdfPath,
                          const PrintSelection& selection) {
  if (set < 0 || set >= kSetCount) return Error{says("There is no data set %1.").arg(set)};
  Result<PagePainter> job = prepare(state, set, dump, selection, false);
  if (!job) return job.error();
  Result<PrintOutcome> written = writePdf(pdfPath, *job);
  if (!written) return written.error();
  return written->pages;
}

namespace {

// Reads a CSV file into the file set of `state`, its records in a record file
// inside `folder`, for printing it from the command line.
Result<void> loadCsvForPrinting(AppState& state, const QString& csvPath, UiText::Language language,
                                const QTemporaryDir& folder) {
  state.texts = UiText::load(language);
  const Result<QByteArray> bytes = readInputFile(csvPath, csv::kMaxFileBytes);
  if (!bytes) return bytes.error();
  const CsvReadResult read = parseCsv(*bytes, state.texts);
  if (!read.ok()) {
    QString message = says("Cannot read %1: %2").arg(csvPath, read.error.message);
    // The pages are printed in the file's language: say which one fits.
    const bool english = language == UiText::Language::Japanese;
    if (read.error.wrongHeader &&
        parseCsv(*bytes,
                 UiText::load(english ? UiText::Language::English : UiText::Language::Japanese))
            .ok()) {
      message += english ? says(" The file is in English: use --lang en.")
                         : says(" The file is in Japanese: use --lang ja.");
    }
    return Error{message};
  }
  const CsvContent& content = *read.content;
  if (content.records.empty()) return Error{printWord(state.texts, PrintWord::NothingToPrint)};
  if (!folder.isValid()) {
    return Error{says("Cannot create a temporary folder: %1").arg(folder.errorString())};
  }
  RecordFile& file = state.file(kFileSet);
  if (Result<void> opened = file.open(folder.filePath(QStringLiteral("read.rand"))); !opened) {
    return opened.error();
  }
  if (Result<void> stored = file.writeRange(1, content.records); !stored) return stored.error();
  applyCsvContent(state.set(kFileSet), content);
  state.fileSetName = content.loggerName;
  state.currentSet = kFileSet;
  return {};
}

}  // namespace

Result<int> printCsvToPdf(const QString& csvPath, bool dump, const QString& pdfPath,
                          UiText::Language language) {
  AppState state;
  QTemporaryDir folder;
  if (Result<void> loaded = loadCsvForPrinting(state, csvPath, language, folder); !loaded) {
    return loaded.error();
  }
  Result<int> pages = printSetToPdf(state, kFileSet, dump, pdfPath);
  state.file(kFileSet).close();
  return pages;
}

Result<int> reportCsvToPdf(const QString& csvPath, const ReportOptions& options,
                           const QString& pdfPath, UiText::Language language) {
  AppState state;
  QTemporaryDir folder;
  if (Result<void> loaded = loadCsvForPrinting(state, csvPath, language, folder); !loaded) {
    return loaded.error();
  }
  Result<int> pages = [&]() -> Result<int> {
    Result<PagePainter> report = prepareReportPrint(state, kFileSet, options, csvPath);
    if (!report) return report.error();
    Result<PrintOutcome> written = writePdf(pdfPath, *report);
    if (!written) return written.error();
    return written->pages;
  }();
  state.file(kFileSet).close();
  return pages;
}

}  // namespace termika
