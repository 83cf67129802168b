#pragma once

#include <QByteArray>
#include <QString>
#include <QTimeZone>
#include <optional>
#include <vector>

#include "core/base/Result.h"
#include "core/base/UiText.h"
#include "core/data/DataRecord.h"
#include "core/data/DataSet.h"

namespace termika {

// The files a data set is exported to for other programs.
enum class ExportFormat { Utf8Csv, Json };

// The format a command line names: "csv-utf8" or "json"; nothing otherwise.
std::optional<ExportFormat> exportFormatNamed(const QString& name);

// The set's points in `format`, times as local times of `zone`.
Result<QByteArray> exportBytes(ExportFormat format, const DataSet& set,
                               const std::vector<DataRecord>& records, const UiText& texts,
                               const QTimeZone& zone);
// Writes through CommitFile: on any failure the previous file is untouched.
Result<void> writeExportFile(const QString& path, ExportFormat format, const DataSet& set,
                             const std::vector<DataRecord>& records, const UiText& texts,
                             const QTimeZone& zone);

}  // namespace termika
