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

Result<QByteArray> exportBytes(ExportFormat format, const DataSet& set,
                               const std::vector<DataRecord>& records, const UiText& texts,
                               const QTimeZone& zone) {
  return format == ExportFormat::Json ? jsonBytes(set, records, zone)
                                      : utf8CsvBytes(set, records, texts, zone);
}

Result<void> writeExportFile(const QString& path, ExportFormat format, const DataSet& set,
                             const std::vector<DataRecord>& records, const UiText& texts,
                             const QTimeZone& zone) {
  const Result<QByteArray> bytes = exportBytes(format, set, records, texts, zone);
  if (!bytes) return bytes.error();
  return commitFile(path, *bytes);
}

}  // namespace termika
