#include "core/app/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <utility>

#include "core/app/WritableFolder.h"
#include "core/base/Says.h"
#include "core/data/Cp932.h"
#include "core/data/InputFile.h"
#include "core/data/OutputFile.h"
#include "core/model/AppState.h"

namespace termika {
namespace {

const QString kFileName = QStringLiteral("Logger.ini");
// More than any sane settings line; a bigger file is refused.
constexpr qint64 kMaxRead = qint64{64} * 1024;

int portFrom(QStringView field) {
  bool ok = false;
  const int value = field.trimmed().toInt(&ok, 10);
  return ok && value >= Settings::kLowestPort && value <= Settings::kHighestPort
             ? value
             : Settings::kLowestPort;
}

QString decodeLine(const QByteArray& bytes) {
  // Written as UTF-8 here; a file carried over from Windows is in cp932.
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) text = cp932::decode(bytes);
  return text;
}

}  // namespace

Settings::Settings(QString folder, QString programFolder)
    : m_folder(std::move(folder)), m_programFolder(std::move(programFolder)) {}

Result<Settings> Settings::locate(const QString& programFolder, const QString& configFolder) {
  Result<QString> folder = chooseWritableFolder(programFolder, configFolder);
  if (!folder) return folder.error();
  return Settings(*folder, programFolder);
}

QString Settings::path() const { return QDir(m_folder).filePath(kFileName); }

SettingsValues Settings::defaults() const {
  return SettingsValues{kLowestPort, kLowestPort, QDir::toNativeSeparators(m_programFolder)};
}

Result<SettingsValues> Settings::load() const {
  if (!QFileInfo::exists(path()) && !QFileInfo(path()).isSymLink()) {
    if (Result<void> written = save(defaults()); !written) return written.error();
  }
  // Only a plain file is read: a pipe in its place would wait for a writer.
  const Result<QByteArray> content = readInputFile(path(), kMaxRead, InputKind::RegularOnly);
  if (!content) return content.error();
  return parseLine(*content, defaults());
}

Result<void> Settings::save(const SettingsValues& values) const {
  return commitFile(path(), formatLine(values, defaults().workingFolder));
}

SettingsValues Settings::parseLine(const QByteArray& content, const SettingsValues& defaults) {
  SettingsValues values = defaults;
  qsizetype end = content.indexOf('\n');
  if (end < 0) end = content.size();
  if (end > 0 && content[end - 1] == '\r') --end;
  const QString line = decodeLine(content.left(end));

  const qsizetype first = line.indexOf(u',');
  values.portNumber = portFrom(QStringView(line).left(first < 0 ? line.size() : first));
  if (first < 0) return values;
  const qsizetype second = line.indexOf(u',', first + 1);
  values.chosenPort =
      portFrom(QStringView(line).mid(first + 1, second < 0 ? -1 : second - first - 1));
  if (second < 0) return values;

  // The folder is everything after the second comma (a folder may hold
  // commas), in double quotes; an unterminated quote means a cut-off line.
  const QString field = line.mid(second + 1).trimmed();
  if (field.size() >= 2 && field.startsWith(u'"') && field.endsWith(u'"')) {
    const QString folder = field.mid(1, field.size() - 2);
    if (!folder.isEmpty() && isStorableFolder(folder)) values.workingFolder = folder;
  }
  return values;
}

QByteArray Settings::formatLine(const SettingsValues& values, const QString& fallbackFolder) {
  const QString folder =
      isStorableFolder(values.workingFolder) ? values.workingFolder : fallbackFolder;
  return QStringLiteral("%1,%2,\"%3\"\r\n")
      .arg(values.portNumber)
      .arg(values.chosenPort)
      .arg(folder)
      .toUtf8();
}

bool Settings::isStorableFolder(const QString& folder) {
  return !folder.contains(u'"') && !folder.contains(u'\r') && !folder.contains(u'\n');
}

void applySettings(AppState& state, const SettingsValues& values) {
  state.portNumber = values.portNumber;
  state.chosenPort = values.chosenPort;
  state.workingFolder = values.workingFolder;
}

SettingsValues settingsOf(const AppState& state) {
  return SettingsValues{state.portNumber, state.chosenPort, state.workingFolder};
}

Result<void> saveSettings(const Settings& settings, const AppState& state) {
  return settings.save(settingsOf(state));
}

bool rememberWorkingFolder(AppState& state, const QString& folder) {
  if (folder.isEmpty() || !Settings::isStorableFolder(folder)) return false;
  state.workingFolder = folder;
  return true;
}

}  // namespace termika
