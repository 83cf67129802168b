#include "FileCommands.h"

#include <QTimeZone>
#include <cstdio>

#include "CliRunner.h"
#include "core/app/CsvActions.h"
#include "core/base/Says.h"
#include "core/data/Csv.h"
#include "core/data/InputFile.h"
#include "ui/print/PrintActions.h"

namespace termika::cli {

namespace {

void err(const QString& line) {
  std::fprintf(stderr, "termika-cli: %s\n", line.toLocal8Bit().constData());
}

// The CSV file's points, its header texts matched in the chosen language
// first, then the other (a file is read once: a pipe cannot be read twice).
Result<CsvContent> readCsv(const CliOptions& options) {
  const Result<QByteArray> bytes = readInputFile(options.file, csv::kMaxFileBytes);
  if (!bytes) return bytes.error();
  CsvReadResult read = parseCsv(*bytes, UiText::load(options.language));
  if (!read.ok() && read.error.wrongHeader) {
    read = parseCsv(*bytes, UiText::load(options.language == UiText::Language::Japanese
                                             ? UiText::Language::English
                                             : UiText::Language::Japanese));
  }
  if (!read.ok()) return Error{says("Cannot read %1: %2").arg(options.file, read.error.message)};
  return std::move(*read.content);
}

Result<int> exportFile(const CliOptions& options) {
  const Result<CsvContent> content = readCsv(options);
  if (!content) return content.error();
  DataSet set;
  applyCsvContent(set, *content);
  const Result<void> written =
      writeExportFile(options.output, options.exportFormat, set, content->records,
                      UiText::load(options.language), QTimeZone::systemTimeZone());
  if (!written) return written.error();
  return static_cast<int>(content->records.size());
}

Result<int> reportFile(const CliOptions& options) {
  ReportOptions report;
  report.activationEnergyKJPerMol = options.activationEnergy;
  report.upperLimit = options.reportHigh;
  report.lowerLimit = options.reportLow;
  report.withDump = options.withDump;
  return reportCsvToPdf(options.file, report, options.output, options.language);
}

}  // namespace

int runFileCommand(const CliOptions& options) {
  // The new file must never take the place of the data it is made from.
  if (isSameFile(options.file, options.output)) {
    err(says("%1 is the same file as %2; it would replace the data.")
            .arg(options.output, options.file));
    return kExitFailure;
  }
  const QString& c = options.command;
  Result<int> done = c == QLatin1String("export") ? exportFile(options)
                     : c == QLatin1String("report")
                         ? reportFile(options)
                         : printCsvToPdf(options.file, c == QLatin1String("print-dump"),
                                         options.output, options.language);
  if (!done) {
    err(done.error().message);
    return kExitFailure;
  }
  // Scripts read this line: it stays the same in both languages.
  const QString what = c == QLatin1String("export") ? QStringLiteral("%1: %2 point(s)")
                                                    : QStringLiteral("%1: %2 page(s)");
  std::printf("%s\n", what.arg(options.output).arg(*done).toLocal8Bit().constData());
  return kExitOk;
}

}  // namespace termika::cli
