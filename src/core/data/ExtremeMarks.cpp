#include "core/data/ExtremeMarks.h"

#include "core/base/Says.h"

namespace termika {

QString trimBlanks(const QString& text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text.at(first) == u' ') ++first;
  while (last > first && text.at(last - 1) == u' ') --last;
  return text.mid(first, last - first);
}

Result<void> markExtremeRecords(const Extremes& extremes, int count, RecordFile& file,
                                const UiText& texts) {
  for (int entry = 0; entry < static_cast<int>(extremes.entries.size()); ++entry) {
    const int pointNo = extremes.entries[static_cast<size_t>(entry)].pointNo;
    if (pointNo < 1 || pointNo > count) continue;
    std::optional<DataRecord> record = file.read(pointNo);
    if (!record) {
      return Error{says("Record %1 could not be read to mark an extreme.").arg(pointNo)};
    }
    record->remarks = fitRemarks(trimBlanks(record->remarks) +
                                 texts.inRange(TextId::RemarkMaximumTemperature, entry));
    if (auto written = file.write(pointNo, *record); !written) return written;
  }
  return {};
}

}  // namespace termika
