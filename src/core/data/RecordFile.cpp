#include "core/data/RecordFile.h"

#include "core/base/Says.h"

namespace termika {

Result<void> RecordFile::open(const QString& path) {
  close();
  auto file = std::make_unique<QFile>(path);
  if (!file->open(QIODevice::ReadWrite)) {
    return Error{says("Cannot open the record file %1: %2").arg(path, file->errorString())};
  }
  m_file = std::move(file);
  return {};
}

void RecordFile::close() {
  if (m_file) m_file->close();
  m_file.reset();
}

bool RecordFile::isOpen() const { return m_file && m_file->isOpen(); }

QString RecordFile::path() const { return m_file ? m_file->fileName() : QString(); }

std::optional<DataRecord> RecordFile::read(int recordNo) const {
  if (!isOpen() || recordNo < 1) return std::nullopt;
  if (!m_file->seek(static_cast<qint64>(recordNo - 1) * DataRecord::kSize)) return std::nullopt;
  const QByteArray bytes = m_file->read(DataRecord::kSize);
  if (bytes.size() != DataRecord::kSize) return std::nullopt;
  return DataRecord::deserialize(bytes.constData());
}

std::vector<DataRecord> RecordFile::readRange(int first, int last) const {
  std::vector<DataRecord> out;
  if (!isOpen() || first < 1 || last < first) return out;
  if (!m_file->seek(static_cast<qint64>(first - 1) * DataRecord::kSize)) return out;
  const QByteArray bytes = m_file->read(static_cast<qint64>(last - first + 1) * DataRecord::kSize);
  const qsizetype n = bytes.size() / DataRecord::kSize;
  out.reserve(static_cast<size_t>(n));
  for (qsizetype i = 0; i < n; ++i) {
    out.push_back(DataRecord::deserialize(bytes.constData() + i * DataRecord::kSize));
  }
  return out;
}

Result<void> RecordFile::write(int recordNo, const DataRecord& record) {
  if (!isOpen()) return Error{says("The record file is not open")};
  if (recordNo < 1) return Error{says("Invalid record number %1").arg(recordNo)};
  if (!m_file->seek(static_cast<qint64>(recordNo - 1) * DataRecord::kSize) ||
      m_file->write(record.serialize()) != DataRecord::kSize) {
    return Error{says("Cannot write record %1 of %2: %3")
                     .arg(recordNo)
                     .arg(m_file->fileName(), m_file->errorString())};
  }
  return {};
}

Result<void> RecordFile::writeRange(int first, const std::vector<DataRecord>& records) {
  if (!isOpen()) return Error{says("The record file is not open")};
  if (first < 1) return Error{says("Invalid record number %1").arg(first)};
  if (records.empty()) return {};
  QByteArray bytes;
  bytes.reserve(static_cast<qsizetype>(records.size()) * DataRecord::kSize);
  for (const DataRecord& r : records) bytes += r.serialize();
  if (!m_file->seek(static_cast<qint64>(first - 1) * DataRecord::kSize) ||
      m_file->write(bytes) != bytes.size() || !m_file->flush()) {
    return Error{says("Cannot write records %1 to %2 of %3: %4")
                     .arg(first)
                     .arg(first + static_cast<int>(records.size()) - 1)
                     .arg(m_file->fileName(), m_file->errorString())};
  }
  return {};
}

}  // namespace termika
