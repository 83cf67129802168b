#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <functional>

#include "core/base/Result.h"

namespace termika {

struct AppState;

// The four record files the program keeps while it runs: real.rand,
// log.rand and read.rand hold the real-time, log and file sets; disp.rand is
// only opened and deleted. They never outlive the program.
class ProgramFiles final {
 public:
  struct Entry {
    int fileNo;
    const char* name;
    int set;  // data set the file holds, -1 for none
  };
  // In the order they are deleted at exit.
  static constexpr Entry kFiles[] = {
      {1, "real.rand", 1}, {2, "log.rand", 0}, {10, "disp.rand", -1}, {4, "read.rand", 2}};

  explicit ProgramFiles(QString folder);
  ProgramFiles(const ProgramFiles&) = delete;
  ProgramFiles& operator=(const ProgramFiles&) = delete;
  ~ProgramFiles();

  QString folder() const { return m_folder; }
  QString pathOf(const Entry& entry) const;

  // Deletes files an earlier run left behind (after a crash they hold stale
  // points that must never be read as data), then opens all four and gives
  // each data set its FileNo and record file. On failure nothing stays open.
  Result<void> open(AppState& state);
  void close(AppState& state);
  using Deleter = std::function<bool(const QString& path)>;
  // Deletes the four files in the order of kFiles; returns the names it
  // could not delete.
  QStringList remove(const Deleter& deleteFile = {}) const;

 private:
  QString m_folder;
  QFile m_disp;
};

}  // namespace termika
