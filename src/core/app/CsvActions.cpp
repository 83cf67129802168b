#include "core/app/CsvActions.h"

#include <QDir>
#include <QFileInfo>
#include <QTimeZone>

#include "core/base/Says.h"
#include "core/data/Csv.h"
#include "core/data/Export.h"
#include "core/data/Formats.h"
#include "core/data/OutputFile.h"
#include "core/data/SetRecords.h"

namespace termika {
namespace {

bool isValidFileName(const QString& name) {
  if (name.trimmed().isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) {
    return false;
  }
  for (const QChar c : name) {
    if (c.unicode() < 0x20 || QStringView(u"\\/:*?\"<>|").contains(c)) return false;
  }
  return true;
}

void rememberFolder(AppState& state, const QString& path) {
  state.workingFolder = QFileInfo(path).absolutePath();
}

QString withSuffix(const QString& path, const QString& suffix) {
  return QFileInfo(path).suffix().isEmpty() ? path + suffix : path;
}

// The file types of the save dialog after the program's own CSV.
std::optional<ExportFormat> exportFormatOfType(int type) {
  if (type == 1) return ExportFormat::Utf8Csv;
  if (type == 2) return ExportFormat::Json;
  return std::nullopt;
}

}  // namespace

QString proposedCsvName(const QString& loggerName, double firstTime) {
  const QString stamp = fmt::fileStamp(firstTime);
  const QString named = loggerName + QLatin1Char('_') + stamp;
  return !loggerName.trimmed().isEmpty() && isValidFileName(named) ? named : stamp;
}

SaveOutcome saveDataSetCsv(AppState& state, int setIndex, UserPrompts& prompts) {
  if (setIndex != kLogSet && setIndex != kRealTimeSet) return SaveOutcome::Failed;
  DataSet& set = state.set(setIndex);
  if (set.count < 1) return SaveOutcome::NothingToSave;
  const std::optional<DataRecord> first = state.file(setIndex).read(1);
  // The content is built before the dialog: a record file that cannot be read
  // is not something another file name would mend.
  const Result<QByteArray> bytes = csvBytes(set, state.file(setIndex), state.texts);
  if (!first || !bytes) {
    prompts.info(state.modelName,
                 state.texts[TextId::FileError] + QStringLiteral("\r\r") +
                     (bytes ? says("Record 1 cannot be read.") : bytes.error().message));
    return SaveOutcome::Failed;
  }
  // The dialog turns the runtime filter text into its own form. The
  // program's own CSV comes first; the exports follow for other programs.
  const QString filter = state.texts[TextId::CsvSaveFilter] + QLatin1Char('|') +
                         says("UTF-8 CSV for other programs") + QStringLiteral("|*.csv|") +
                         says("JSON for other programs") + QStringLiteral("|*.json");
  const QString proposed = proposedCsvName(set.loggerName, first->dateTime);
  while (true) {
    const std::optional<UserPrompts::SaveChoice> chosen =
        prompts.chooseSaveFileOfType(proposed, filter);
    if (!chosen || chosen->path.isEmpty()) return SaveOutcome::Cancelled;
    rememberFolder(state, chosen->path);
    const std::optional<ExportFormat> format = exportFormatOfType(chosen->type);
    const QString path =
        withSuffix(chosen->path,
                   format == ExportFormat::Json ? QStringLiteral(".json") : QStringLiteral(".csv"));
    const Result<QByteArray> content =
        format ? exportBytes(*format, set, state.file(setIndex).readRange(1, set.count),
                             state.texts, QTimeZone::systemTimeZone())
               : *bytes;
    const Result<void> written = content ? commitFile(path, *content) : content.error();
    if (written) {
      // The program opens both CSV forms again, but not JSON: a set saved only
      // as JSON still counts as unsaved when the program closes.
      if (format != ExportFormat::Json) set.unsaved = false;
      prompts.notice(
          says("%1 points saved to %2").arg(set.count).arg(QDir::toNativeSeparators(path)));
      return SaveOutcome::Saved;
    }
    prompts.info(state.modelName, state.texts[TextId::FileNameInvalid] + QStringLiteral("\r\r") +
                                      written.error().message);
  }
}

SaveOutcome askSaveDataSet(AppState& state, int setIndex, const QString& prompt,
                           UserPrompts& prompts) {
  if (setIndex != kLogSet && setIndex != kRealTimeSet) return SaveOutcome::NothingToSave;
  const DataSet& set = state.set(setIndex);
  if (!set.unsaved || set.count < 1) return SaveOutcome::NothingToSave;
  if (!prompts.ask(state.modelName, prompt)) return SaveOutcome::Declined;
  return saveDataSetCsv(state, setIndex, prompts);
}

bool openCsvIntoFileSet(AppState& state, UserPrompts& prompts, const QString& path) {
  QString chosen = path;
  if (chosen.isEmpty()) {
    const std::optional<QString> picked =
        prompts.chooseOpenFile(state.texts[TextId::CsvOpenFilter]);
    if (!picked || picked->isEmpty()) return false;
    chosen = *picked;
    rememberFolder(state, chosen);
  }
  // A pipe picked in the dialog would hold the window until someone writes to it.
  CsvReadResult read = readCsvFile(chosen, state.texts, InputKind::RegularOnly);
  if (!read.ok()) {
    const TextId text = read.error.wrongHeader ? TextId::WrongFileFormat : TextId::FileError;
    prompts.info(state.modelName, state.texts[text] + QStringLiteral("\r\r") + read.error.message);
    return false;
  }
  CsvContent& content = *read.content;
  DataSet& set = state.set(kFileSet);
  if (const Result<void> stored = state.file(kFileSet).writeRange(1, content.records); !stored) {
    // The old points may be partly overwritten: the set is emptied rather
    // than left showing a mixture.
    clearDataSet(set);
    prompts.info(state.modelName,
                 state.texts[TextId::FileError] + QStringLiteral("\r\r") + stored.error().message);
    return false;
  }
  applyCsvContent(set, content);
  state.fileSetName = content.loggerName;
  state.fileSetFile = chosen;
  state.currentSet = kFileSet;
  return true;
}

}  // namespace termika
