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
#include "core/data/InputFile.h"
#include "core/data/RecordFile.h"

namespace termika {

// CSV files hold three header lines and one line per point, written with the
// runtime's "write" convention: strings in double quotes, numbers bare, commas,
// CRLF, Windows-31J.
namespace csv {
// Hostile files are refused before they can exhaust memory.
inline constexpr int kMaxLineBytes = 4096;
inline constexpr int kMaxDataRows = kMaxSetPoints;
// Three header lines and the longest data rows, with their line ends.
inline constexpr qint64 kMaxFileBytes = qint64{kMaxDataRows + 3} * (kMaxLineBytes + 2);
}  // namespace csv

// The whole content of a good CSV file; the file set is replaced from it
// only once all of it has been read.
struct CsvContent {
  QString loggerName;
  double startTime = 0.0;
  int announcedCount = 0;
  std::int32_t interval = 0;
  AlarmSetting upperAlarm;
  AlarmSetting lowerAlarm;
  QString model;                    // with or without alarms, from the header form
  std::vector<DataRecord> records;  // numbered 1.., segments from the time gaps
  Extremes allExtremes;
};

// Why a file could not be read: a header of neither known form (the user is
// told the file has the wrong form), or anything else (a file error), with
// the line it happened on (0 when not tied to a line).
struct CsvReadError {
  bool wrongHeader = false;
  int line = 0;
  QString message;
};

struct CsvReadResult {
  std::optional<CsvContent> content;
  CsvReadError error;
  bool ok() const { return content.has_value(); }
};

// The bytes of a set's CSV file: header columns 5 and 6 and the limits come
// from the set's own Model and alarms, the name from its LoggerName.
Result<QByteArray> csvBytes(const DataSet& set, const RecordFile& file, const UiText& texts);
// The same layout as UTF-8 (with a byte-order mark, so spreadsheets see the
// encoding) for other programs: ISO 8601 local times with their offset in
// `zone`, numbers bare with the program's rounding, remarks without their
// padding. ParseCsv reads it back to the same points.
Result<QByteArray> utf8CsvBytes(const DataSet& set, const std::vector<DataRecord>& records,
                                const UiText& texts, const QTimeZone& zone);
// Writes through CommitFile: on any failure the previous file is untouched.
Result<void> writeCsvFile(const QString& path, const DataSet& set, const RecordFile& file,
                          const UiText& texts);

// Reads Windows-31J, or UTF-8 with a BOM, or UTF-8 where the bytes are not
// Windows-31J text; lines end in CR LF, LF or CR. Header texts are matched in
// the current language. Times are general dates or ISO 8601, numbers quoted
// or bare.
CsvReadResult parseCsv(const QByteArray& bytes, const UiText& texts);
// The file read whole (a pipe to its end), at most csv::kMaxFileBytes.
CsvReadResult readCsvFile(const QString& path, const UiText& texts,
                          InputKind kind = InputKind::Stream);

// Describes `set` by a file read: count, interval, alarms, model, name, the
// header's start and count, extremes; nothing drawn or selected yet. The
// records themselves are stored by the caller.
void applyCsvContent(DataSet& set, const CsvContent& content);

}  // namespace termika
