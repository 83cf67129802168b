#include "sim/LoggerMemory.h"

#include <algorithm>

#include "core/base/PackedDecimal.h"
#include "core/data/DayTime.h"

namespace termika {

void LoggerMemory::clear() {
  std::fill(m_points.begin(), m_points.end(), std::uint8_t{0xFF});
  m_blocks.clear();
  m_blockFirst.clear();
  m_total = 0;
  m_headerErased = false;
}

void LoggerMemory::startRecording(qint64 startSeconds, RecordMode mode) {
  // The first entry of the recording being replaced stays behind as the
  // older entry that ends the program's header reading.
  std::optional<qint64> older = m_olderEntry;
  if (!m_blocks.empty() && !m_headerErased) older = m_blocks.front().startSeconds;
  if (!older || *older >= startSeconds) older = startSeconds - 86400;
  clear();
  m_olderEntry = older;
  m_mode = mode;
  startBlock(startSeconds);
}

void LoggerMemory::startBlock(qint64 startSeconds) {
  m_blocks.push_back({startSeconds, 0});
  m_blockFirst.push_back(m_total);
}

void LoggerMemory::append(const std::array<std::uint8_t, 4>& raw) {
  if (m_blocks.empty() || full()) return;
  const auto at = static_cast<size_t>((m_total % kPoints) * 4);
  std::copy(raw.begin(), raw.end(), m_points.begin() + static_cast<std::ptrdiff_t>(at));
  ++m_total;
  ++m_blocks.back().points;
}

int LoggerMemory::usedBytes() const {
  if (m_mode == RecordMode::Loop) return static_cast<int>(m_total % kPoints) * 4;
  return static_cast<int>(std::min<qint64>(m_total, kPoints)) * 4;
}

int LoggerMemory::wraps() const {
  if (m_mode != RecordMode::Loop) return 0;
  return static_cast<int>(std::min<qint64>(m_total / kPoints, 255));
}

std::optional<qint64> LoggerMemory::recordingStart() const {
  if (m_blocks.empty()) return std::nullopt;
  return m_blocks.front().startSeconds;
}

std::uint8_t LoggerMemory::byteAt(int address) const {
  if (address >= 0 && address < kPointBytes) return m_points[static_cast<size_t>(address)];
  if (address >= kHeaderAddress && address <= 0xFFFF) return headerByte(address - kHeaderAddress);
  return 0xFF;
}

std::uint8_t LoggerMemory::headerByte(int offset) const {
  if (m_headerErased) return 0xFF;
  const auto entry = static_cast<size_t>(offset / kEntryBytes);
  const int field = offset % kEntryBytes;
  qint64 start = 0;
  qint64 count = 0;
  if (entry < m_blocks.size()) {
    start = m_blocks[entry].startSeconds;
    count = m_blocks[entry].points;
  } else if (entry == m_blocks.size() && m_olderEntry) {
    start = *m_olderEntry;
  } else {
    return 0xFF;
  }
  const CivilTime t = civilFromSeconds(start);
  const auto c = static_cast<quint16>(std::min<qint64>(count, 0xFFFF));
  switch (field) {
    case 0:
      return toPackedDecimal(t.year % 100);
    case 1:
      return toPackedDecimal(t.month);
    case 2:
      return toPackedDecimal(t.day);
    case 3:
      return toPackedDecimal(t.hour);
    case 4:
      return toPackedDecimal(t.minute);
    case 5:
      return toPackedDecimal(t.second);
    case 6:
      return static_cast<std::uint8_t>(c & 0xFF);
    default:
      return static_cast<std::uint8_t>(c >> 8);
  }
}

SimPoint LoggerMemory::pointOf(qint64 g, int intervalSeconds) const {
  const auto it = std::upper_bound(m_blockFirst.begin(), m_blockFirst.end(), g);
  const auto block = static_cast<size_t>(std::distance(m_blockFirst.begin(), it) - 1);
  SimPoint p;
  p.seconds = m_blocks[block].startSeconds + (g - m_blockFirst[block]) * intervalSeconds;
  p.segment = static_cast<int>(block) + 1;
  p.address = static_cast<int>(g % kPoints) * 4;
  for (size_t i = 0; i < 4; ++i) p.raw[i] = m_points[static_cast<size_t>(p.address) + i];
  return p;
}

std::vector<SimPoint> LoggerMemory::pointsInTimeOrder(int intervalSeconds) const {
  std::vector<SimPoint> out;
  const qint64 first = std::max<qint64>(0, m_total - kPoints);
  out.reserve(static_cast<size_t>(m_total - first));
  for (qint64 g = first; g < m_total; ++g) out.push_back(pointOf(g, intervalSeconds));
  return out;
}

std::vector<SimPoint> LoggerMemory::pointsInAddressOrder(int intervalSeconds) const {
  std::vector<SimPoint> out = pointsInTimeOrder(intervalSeconds);
  std::sort(out.begin(), out.end(),
            [](const SimPoint& a, const SimPoint& b) { return a.address < b.address; });
  return out;
}

}  // namespace termika
