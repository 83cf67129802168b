#include "core/views/DumpModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/base/Says.h"
#include "core/data/Formats.h"

namespace termika {

DumpModel::DumpModel(RecordFile* file, const UiText& texts, QObject* parent)
    : QAbstractTableModel(parent), m_file(file), m_texts(texts) {}

int DumpModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_order.size());
}

int DumpModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

const DataRecord* DumpModel::cached(int recordNo) const {
  if (recordNo < 1 || recordNo > m_count || m_file == nullptr) return nullptr;
  const auto block = static_cast<size_t>((recordNo - 1) / kBlock);
  if (block >= m_blocks.size()) {
    m_blocks.resize(block + 1);
    m_loaded.resize(block + 1, false);
  }
  if (!m_loaded[block]) {
    const int first = static_cast<int>(block) * kBlock + 1;
    const int last = std::min(first + kBlock - 1, m_count);
    m_blocks[block] = m_file->readRange(first, last);
    m_loaded[block] = true;
  }
  const auto offset = static_cast<size_t>((recordNo - 1) % kBlock);
  const auto& records = m_blocks[block];
  return offset < records.size() ? &records[offset] : nullptr;
}

QVariant DumpModel::sortValue(int recordNo, int column) const {
  if (column == kNumber) return recordNo;
  const DataRecord* r = cached(recordNo);
  if (r == nullptr) return QVariant();
  switch (column) {
    case kDate:
      return r->dateTime;
    case kTemperature:
      return static_cast<double>(r->temperature);
    case kHumidity:
      return static_cast<double>(r->humidity);
    default:
      return r->remarks;
  }
}

QVariant DumpModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumnCount) {
    return QVariant();
  }
  const int n = m_order[static_cast<size_t>(index.row())];
  if (role == kSortRole) return sortValue(n, index.column());
  if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return QVariant();
  if (index.column() == kNumber) return fmt::pointNo(n);
  const DataRecord* r = cached(n);
  if (r == nullptr) return QVariant();
  switch (index.column()) {
    case kDate:
      return fmt::dateTime(r->dateTime);
    case kTemperature:
      return fmt::measuredValue(r->temperature, fmt::LeadingZero::Kept);
    case kHumidity:
      return fmt::measuredValue(r->humidity, fmt::LeadingZero::Kept);
    default:
      return r->remarks;
  }
}

QVariant DumpModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= kColumnCount) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return m_texts.inRange(TextId::DumpRecordNumber, section);
}

Qt::ItemFlags DumpModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

bool DumpModel::lessThan(int a, int b) const {
  if (m_sortKey != kNumber) {
    const QPartialOrdering c = QVariant::compare(sortValue(a, m_sortKey), sortValue(b, m_sortKey));
    if (c == QPartialOrdering::Less) return m_sortOrder == 0;
    if (c == QPartialOrdering::Greater) return m_sortOrder != 0;
    return a < b;  // equal keys keep record order in both directions
  }
  return m_sortOrder == 0 ? a < b : a > b;
}

void DumpModel::rebuildRowIndex() {
  m_rowOf.assign(static_cast<size_t>(m_count), -1);
  for (size_t row = 0; row < m_order.size(); ++row) {
    m_rowOf[static_cast<size_t>(m_order[row] - 1)] = static_cast<int>(row);
  }
}

void DumpModel::applySort() {
  if (m_sortKey == kNumber) {
    std::sort(m_order.begin(), m_order.end(), [this](int a, int b) { return lessThan(a, b); });
    rebuildRowIndex();
    return;
  }
  // Compare plain keys rather than variants: a 15000-row sort stays cheap.
  struct Keyed {
    double number;
    int recordNo;
  };
  if (m_sortKey == kRemarks) {
    std::vector<std::pair<QString, int>> keys;
    keys.reserve(m_order.size());
    for (int n : m_order) {
      const DataRecord* r = cached(n);
      keys.emplace_back(r ? r->remarks : QString(), n);
    }
    const bool asc = m_sortOrder == 0;
    std::sort(keys.begin(), keys.end(), [asc](const auto& a, const auto& b) {
      const int c = a.first.compare(b.first);
      if (c != 0) return asc ? c < 0 : c > 0;
      return a.second < b.second;
    });
    for (size_t i = 0; i < keys.size(); ++i) m_order[i] = keys[i].second;
  } else {
    std::vector<Keyed> keys;
    keys.reserve(m_order.size());
    for (int n : m_order) {
      const DataRecord* r = cached(n);
      double v = 0.0;
      if (r != nullptr) {
        v = m_sortKey == kDate          ? r->dateTime
            : m_sortKey == kTemperature ? static_cast<double>(r->temperature)
                                        : static_cast<double>(r->humidity);
      }
      // NaN (only from a damaged file) would break the strict ordering the sort
      // relies on: it sorts as the lowest value instead.
      if (std::isnan(v)) v = -std::numeric_limits<double>::infinity();
      keys.push_back({v, n});
    }
    const bool asc = m_sortOrder == 0;
    std::sort(keys.begin(), keys.end(), [asc](const Keyed& a, const Keyed& b) {
      if (a.number != b.number) return asc ? a.number < b.number : a.number > b.number;
      return a.recordNo < b.recordNo;
    });
    for (size_t i = 0; i < keys.size(); ++i) m_order[i] = keys[i].recordNo;
  }
  rebuildRowIndex();
}

void DumpModel::sort(int column, Qt::SortOrder order) {
  setSort(column, order == Qt::AscendingOrder ? 0 : 1);
}

void DumpModel::setSort(int key, int order) {
  if (key < 0 || key >= kColumnCount) return;
  m_sortKey = key;
  m_sortOrder = order == 0 ? 0 : 1;
  Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  std::vector<int> records;
  records.reserve(static_cast<size_t>(before.size()));
  for (const QModelIndex& i : before) records.push_back(m_order[static_cast<size_t>(i.row())]);
  applySort();
  QModelIndexList after;
  after.reserve(before.size());
  for (qsizetype i = 0; i < before.size(); ++i) {
    after.push_back(index(m_rowOf[static_cast<size_t>(records[static_cast<size_t>(i)] - 1)],
                          before[i].column()));
  }
  changePersistentIndexList(before, after);
  Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
  Q_EMIT sortChanged(m_sortKey, m_sortOrder);
}

void DumpModel::sortByColumn(int column) {
  if (column < 0 || column >= kColumnCount) return;
  if (column == m_sortKey) {
    setSort(column, m_sortOrder != 0 ? 0 : 1);
  } else {
    setSort(column, m_sortOrder);
  }
}

void DumpModel::fill(int count) {
  beginResetModel();
  m_count = std::max(count, 0);
  m_blocks.clear();
  m_loaded.clear();
  m_marks.clear();
  m_order.resize(static_cast<size_t>(m_count));
  for (int i = 0; i < m_count; ++i) m_order[static_cast<size_t>(i)] = i + 1;
  applySort();
  endResetModel();
}

void DumpModel::clear() { fill(0); }

void DumpModel::appendRow(int count) {
  if (count != m_count + 1) {
    // Anything but one new point is a refill.
    fill(count);
    return;
  }
  m_count = count;
  // The block holding the new record may have been read short before.
  const auto block = static_cast<size_t>((count - 1) / kBlock);
  if (block < m_loaded.size()) m_loaded[block] = false;
  const auto pos = std::upper_bound(m_order.begin(), m_order.end(), count,
                                    [this](int a, int b) { return lessThan(a, b); });
  const int row = static_cast<int>(pos - m_order.begin());
  beginInsertRows(QModelIndex(), row, row);
  m_order.insert(pos, count);
  rebuildRowIndex();
  endInsertRows();
}

QString DumpModel::markFor(int recordNo, const Extremes& all) const {
  QString mark;
  if (!all.hasValues()) return mark;
  for (int e = 0; e < 4; ++e) {
    if (all.entries[static_cast<size_t>(e)].pointNo == recordNo)
      mark += m_texts.inRange(TextId::MarkMaximumTemperature, e);
  }
  return mark;
}

Result<void> DumpModel::markExtremeRows(const Extremes& all) {
  std::map<int, QString> wanted;
  if (all.hasValues()) {
    for (const ExtremeEntry& e : all.entries) {
      if (e.pointNo >= 1 && e.pointNo <= m_count) wanted[e.pointNo] = markFor(e.pointNo, all);
    }
  }
  std::vector<int> touched;
  for (const auto& [n, mark] : m_marks) touched.push_back(n);
  for (const auto& [n, mark] : wanted) touched.push_back(n);
  std::sort(touched.begin(), touched.end());
  touched.erase(std::unique(touched.begin(), touched.end()), touched.end());

  for (int n : touched) {
    const QString oldMark = m_marks.contains(n) ? m_marks[n] : QString();
    const QString newMark = wanted.contains(n) ? wanted[n] : QString();
    if (oldMark == newMark || n > m_count) {
      if (n > m_count) m_marks.erase(n);
      continue;
    }
    const DataRecord* cachedRecord = cached(n);
    if (cachedRecord == nullptr) {
      return Error{says("Cannot read record %1 of %2").arg(n).arg(m_file->path())};
    }
    DataRecord record = *cachedRecord;
    QString remark = record.remarks.trimmed();
    const QString oldTrimmed = oldMark.trimmed();
    if (!oldTrimmed.isEmpty() && remark.endsWith(oldTrimmed)) {
      remark.chop(oldTrimmed.size());
      remark = remark.trimmed();
    }
    record.remarks = fitRemarks(remark + newMark);
    if (auto written = m_file->write(n, record); !written) return written;
    const auto block = static_cast<size_t>((n - 1) / kBlock);
    m_blocks[block][static_cast<size_t>((n - 1) % kBlock)] = record;
    if (newMark.isEmpty()) {
      m_marks.erase(n);
    } else {
      m_marks[n] = newMark;
    }
    const int row = m_rowOf[static_cast<size_t>(n - 1)];
    const QModelIndex cell = index(row, kRemarks);
    Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole, kSortRole});
  }
  return {};
}

QString DumpModel::itemClickText(int row) const {
  if (row < 0 || row >= rowCount()) return QString();
  const int n = m_order[static_cast<size_t>(row)];
  const DataRecord* r = cached(n);
  if (r == nullptr) return QString();
  return m_texts[TextId::DumpTipDate] + fmt::dateTime(r->dateTime) +
         m_texts[TextId::DumpTipTemperature] +
         fmt::measuredValue(r->temperature, fmt::LeadingZero::Kept) +
         m_texts[TextId::DumpTipHumidity] +
         fmt::measuredValue(r->humidity, fmt::LeadingZero::Kept) +
         m_texts[TextId::DumpTipHumidityUnit];
}

int DumpModel::recordNoAt(int row) const {
  return row >= 0 && row < rowCount() ? m_order[static_cast<size_t>(row)] : 0;
}

std::optional<DataRecord> DumpModel::recordAt(int row) const {
  const DataRecord* r = cached(recordNoAt(row));
  return r ? std::optional<DataRecord>(*r) : std::nullopt;
}

}  // namespace termika
