#pragma once

#include <QByteArray>
#include <QString>

#include "core/base/Result.h"

namespace termika {

struct AppState;

// The values Logger.ini keeps between runs.
struct SettingsValues {
  int portNumber = 1;
  int chosenPort = 1;
  QString workingFolder;  // where the file dialogs start

  friend bool operator==(const SettingsValues&, const SettingsValues&) = default;
};

// Logger.ini: one line `PortNumber,ChosenPort,"folder"` ended by CR LF.
class Settings final {
 public:
  static constexpr int kLowestPort = 1;
  static constexpr int kHighestPort = 255;

  // `folder` holds Logger.ini; `programFolder` is the default working folder.
  Settings(QString folder, QString programFolder);

  // The program folder when it is writable, else `configFolder`.
  static Result<Settings> locate(const QString& programFolder, const QString& configFolder);

  QString path() const;
  SettingsValues defaults() const;

  // Reads the file, first creating it with the defaults when it is missing
  // (once: a file that still cannot be read is an error, not a loop). Fields
  // that cannot be read keep their defaults.
  Result<SettingsValues> load() const;
  // Replaces the file as a whole; a failed write leaves the old one intact.
  Result<void> save(const SettingsValues& values) const;

  static SettingsValues parseLine(const QByteArray& content, const SettingsValues& defaults);
  // A folder that cannot be stored is written as `fallbackFolder`.
  static QByteArray formatLine(const SettingsValues& values, const QString& fallbackFolder);
  // A double quote would end the quoted field early and a line break would
  // split the line, so such folders are refused.
  static bool isStorableFolder(const QString& folder);

 private:
  QString m_folder;
  QString m_programFolder;
};

void applySettings(AppState& state, const SettingsValues& values);
SettingsValues settingsOf(const AppState& state);

// Writes PortNumber, ChosenPort and the working-folder field of `state`.
Result<void> saveSettings(const Settings& settings, const AppState& state);

// Takes the folder a file dialog returned as the new working folder. A folder
// that Logger.ini cannot hold is refused and the previous one kept.
bool rememberWorkingFolder(AppState& state, const QString& folder);

}  // namespace termika
