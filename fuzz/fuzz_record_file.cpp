// A record file of arbitrary content read back record by record, in ranges,
// and through the dump list. Input:
//   byte 0      rows the list is asked for beyond the file (modulo 64)
//   byte 1      sort column (modulo 5), byte 2 bit 0 the sort order
//   bytes 3..6  point numbers of the four extremes to mark
//   the rest    the file's bytes
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "FuzzSupport.h"
#include "core/data/RecordFile.h"
#include "core/views/DumpModel.h"

namespace termika {
namespace {

constexpr size_t kHead = 7;

void checkSameRecord(const DataRecord& a, const DataRecord& b) {
  fuzz::require(a.recordNo == b.recordNo && a.raw == b.raw && a.reserved == b.reserved &&
                a.remarks == b.remarks);
  fuzz::require(std::memcmp(&a.dateTime, &b.dateTime, sizeof a.dateTime) == 0);
}

void run(const std::uint8_t* data, size_t size) {
  if (size < kHead) return;
  static QTemporaryDir dir;
  static const UiText texts = UiText::load(UiText::Language::Japanese);
  fuzz::require(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("log.rand"));
  const QByteArray content(reinterpret_cast<const char*>(data + kHead),
                           static_cast<qsizetype>(size - kHead));
  {
    QFile out(path);
    fuzz::require(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    fuzz::require(out.write(content) == content.size());
  }

  RecordFile file;
  fuzz::require(file.open(path).ok());
  const int whole = static_cast<int>(content.size() / DataRecord::kSize);
  const int extra = data[0] % 64;

  for (int n = 1; n <= whole; ++n) {
    const std::optional<DataRecord> r = file.read(n);
    fuzz::require(r.has_value());
    checkSameRecord(*r, DataRecord::deserialize(content.constData() + (n - 1) * DataRecord::kSize));
  }
  // A record cut short by the end of the file is no record.
  fuzz::require(!file.read(whole + 1).has_value());
  fuzz::require(file.readRange(1, whole + extra).size() == static_cast<size_t>(whole));

  DumpModel model(&file, texts);
  const int rows = whole + extra;
  model.fill(rows);
  fuzz::require(model.rowCount() == rows);
  model.setSort(data[1] % DumpModel::kColumnCount, data[2] & 1);
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < DumpModel::kColumnCount; ++column) {
      const QModelIndex index = model.index(row, column);
      (void)model.data(index, Qt::DisplayRole);
      (void)model.data(index, DumpModel::kSortRole);
    }
    const int n = model.recordNoAt(row);
    fuzz::require(n >= 1 && n <= rows);
    fuzz::require(model.recordAt(row).has_value() == (n <= whole));
    (void)model.itemClickText(row);
  }
  model.sortByColumn(data[2] % DumpModel::kColumnCount);

  // Marking a row whose record lies beyond the file is an error, nothing else is.
  Extremes marks;
  bool readable = true;
  for (size_t e = 0; e < marks.entries.size(); ++e) {
    const int n = data[3 + e];
    marks.entries[e] = {static_cast<std::int16_t>(n), 20.0};
    if (n > whole && n <= rows) readable = false;
  }
  fuzz::require(model.markExtremeRows(marks).ok() == readable);
  model.appendRow(rows + 1);
  fuzz::require(model.rowCount() == rows + 1);
}

}  // namespace
}  // namespace termika

TERMIKA_FUZZ_TARGET(termika::run)
