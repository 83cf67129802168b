#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

#include "core/base/Result.h"

namespace termika {

// What the window remembers between runs beyond Logger.ini: its geometry, the
// graph/dump split and the recent files. Logger.ini keeps its fixed one-line
// form, so these live in a file of their own beside it.
class Preferences final {
 public:
  static constexpr auto kFileName = "termika-window.ini";

  explicit Preferences(const QString& folder);

  QString path() const { return m_settings.fileName(); }

  QByteArray windowGeometry() const;
  void setWindowGeometry(const QByteArray& geometry);
  QByteArray splitState() const;
  void setSplitState(const QByteArray& state);
  QStringList recentFiles() const;
  void setRecentFiles(const QStringList& files);

  // Writes what changed; a file that cannot be written is reported, never
  // a reason to lose the window.
  Result<void> save();

 private:
  QSettings m_settings;
};

}  // namespace termika
