#pragma once

#include <QFile>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "core/base/Result.h"
#include "core/data/DataRecord.h"

namespace termika {

// A random-access file of 84-byte records; record n (1-based) sits at byte
// offset (n - 1) * 84. Opening never truncates: what lies beyond a set's
// Count is never read.
class RecordFile final {
 public:
  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  Result<void> open(const QString& path);
  void close();
  bool isOpen() const;
  QString path() const;

  // nullopt when the record lies beyond the end of the file or cannot be read.
  std::optional<DataRecord> read(int recordNo) const;
  Result<void> write(int recordNo, const DataRecord& record);
  // Records written in one go from record `first` on; a whole set is stored
  // or converted without 15000 seeks.
  Result<void> writeRange(int first, const std::vector<DataRecord>& records);
  // Records first..last (inclusive) in one read, for views that walk a range.
  std::vector<DataRecord> readRange(int first, int last) const;

 private:
  std::unique_ptr<QFile> m_file;
};

}  // namespace termika
