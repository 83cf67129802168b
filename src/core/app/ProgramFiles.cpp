#include "core/app/ProgramFiles.h"

#include <QDir>
#include <utility>

#include "core/base/Says.h"
#include "core/model/AppState.h"

namespace termika {

ProgramFiles::ProgramFiles(QString folder) : m_folder(std::move(folder)) {}

ProgramFiles::~ProgramFiles() { m_disp.close(); }

QString ProgramFiles::pathOf(const Entry& entry) const {
  return QDir(m_folder).filePath(QString::fromLatin1(entry.name));
}

Result<void> ProgramFiles::open(AppState& state) {
  for (const Entry& entry : kFiles) {
    QFile stale(pathOf(entry));
    if (stale.exists() && !stale.remove()) {
      return Error{says("Cannot delete the old record file %1: %2")
                       .arg(stale.fileName(), stale.errorString())};
    }
  }
  for (const Entry& entry : kFiles) {
    Result<void> opened;
    if (entry.set < 0) {
      m_disp.setFileName(pathOf(entry));
      if (!m_disp.open(QIODevice::ReadWrite)) {
        opened = Error{says("Cannot open the record file %1: %2")
                           .arg(m_disp.fileName(), m_disp.errorString())};
      }
    } else {
      state.set(entry.set).fileNo = static_cast<std::int16_t>(entry.fileNo);
      opened = state.file(entry.set).open(pathOf(entry));
    }
    if (!opened) {
      close(state);
      remove();
      return opened.error();
    }
  }
  return {};
}

void ProgramFiles::close(AppState& state) {
  for (const Entry& entry : kFiles) {
    if (entry.set >= 0) state.file(entry.set).close();
  }
  m_disp.close();
}

QStringList ProgramFiles::remove(const Deleter& deleteFile) const {
  QStringList failed;
  for (const Entry& entry : kFiles) {
    const QString path = pathOf(entry);
    if (!QFile::exists(path)) continue;
    const bool removed = deleteFile ? deleteFile(path) : QFile::remove(path);
    if (!removed) failed << QString::fromLatin1(entry.name);
  }
  return failed;
}

}  // namespace termika
