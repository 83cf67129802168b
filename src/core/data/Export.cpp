#include "core/data/Export.h"

#include "core/data/Csv.h"
#include "core/data/JsonExport.h"
#include "core/data/OutputFile.h"

namespace termika {

std::optional<ExportFormat> exportFormatNamed(const QString& name) {
  if (name == QLatin1String("csv-utf8")) return ExportFormat::Utf8Csv;
  if (name == QLatin1String("json")) return ExportFormat::Json;
  return std::nullopt;
}

Result<QByteArray> ExportBytes(ExportFormat format, const DataSet& set,
                               const std::vector<DataRecord>& records, const UiText& texts,
                               const QTimeZone& zone) {
  return format == ExportFormat::Json ? JsonBytes(set, records, zone)
                                      : Utf8CsvBytes(set, records, texts, zone);
}

Result<void> WriteExportFile(const QString& path, ExportFormat format, const DataSet& set,
                             const std::vector<DataRecord>& records, const UiText& texts,
                             const QTimeZone& zone) {
  const Result<QByteArray> bytes = ExportBytes(format, set, records, texts, zone);
  if (!bytes) return bytes.error();
  return CommitFile(path, *bytes);
}

}  // namespace termika
