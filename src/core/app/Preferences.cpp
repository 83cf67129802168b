#include "core/app/Preferences.h"

#include <QDir>

#include "core/base/Says.h"

namespace termika {

Preferences::Preferences(const QString& folder)
    : m_settings(QDir(folder).filePath(kFileName), QSettings::IniFormat) {}

QByteArray Preferences::windowGeometry() const {
  return m_settings.value("window/geometry").toByteArray();
}

void Preferences::setWindowGeometry(const QByteArray& geometry) {
  m_settings.setValue("window/geometry", geometry);
}

QByteArray Preferences::splitState() const {
  return m_settings.value("window/split").toByteArray();
}

void Preferences::setSplitState(const QByteArray& state) {
  m_settings.setValue("window/split", state);
}

QStringList Preferences::recentFiles() const {
  return m_settings.value("files/recent").toStringList();
}

void Preferences::setRecentFiles(const QStringList& files) {
  m_settings.setValue("files/recent", files);
}

Result<void> Preferences::save() {
  m_settings.sync();
  if (m_settings.status() == QSettings::NoError) return {};
  return Error{says("The window settings could not be written to %1.").arg(path())};
}

}  // namespace termika
