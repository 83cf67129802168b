#include "core/sessions/RecordingHeader.h"

#include <algorithm>

#include "core/data/Conversion.h"
#include "core/data/DayTime.h"

namespace termika {

namespace {

constexpr std::uint8_t kUnwrittenMonth = 0xFF;

}  // namespace

void RecordingHeader::clear(std::optional<qint64> recordingStart) {
  m_recordingStart = recordingStart;
  m_entries.clear();
  m_blocks.clear();
  m_lastUnwritten = false;
  m_done = false;
}

bool RecordingHeader::addEntry(const Entry& entry, int address) {
  if (m_done) return false;
  Read read;
  read.points = entry[7] * 256 + entry[6];
  bool ends = false;
  if (entry[1] == kUnwrittenMonth) {
    // Not written yet: the run is the one the status says started the recording.
    ends = m_lastUnwritten || !m_recordingStart;
    read.startSeconds = m_recordingStart.value_or(0);
    m_lastUnwritten = true;
  } else {
    m_lastUnwritten = false;
    const auto serial =
        packedDecimalTime({entry[0], entry[1], entry[2], entry[3], entry[4], entry[5]});
    if (serial) {
      read.startSeconds = daySerialToSeconds(*serial);
      if (m_recordingStart && read.startSeconds < *m_recordingStart) ends = true;
    } else {
      ends = true;
    }
  }
  m_entries.push_back(read);
  const int next = address + kEntryBytes;
  if (entriesRead() >= kRows || next >= kEndAddress) ends = true;
  m_done = ends;
  return !ends;
}

void RecordingHeader::settle(qint64 totalPoints) {
  m_blocks.clear();
  const qint64 total = std::max<qint64>(0, totalPoints);
  const int n = entriesRead();
  if (n <= 1) {
    // Nothing usable in the header: one run from the recording start.
    m_blocks.push_back({m_recordingStart.value_or(n == 1 ? m_entries.front().startSeconds : 0),
                        static_cast<int>(total)});
    return;
  }
  qint64 earlier = 0;
  for (int i = 0; i < n - 1; ++i) {
    const Read& r = m_entries[static_cast<size_t>(i)];
    if (i < n - 2) {
      m_blocks.push_back({r.startSeconds, r.points});
      earlier += r.points;
    } else {
      m_blocks.push_back({r.startSeconds, static_cast<int>(std::max<qint64>(0, total - earlier))});
    }
  }
}

std::vector<RecordingHeader::Stamp> RecordingHeader::forwardStamps(int count,
                                                                   int intervalSeconds) const {
  std::vector<Stamp> out;
  out.reserve(static_cast<size_t>(std::max(0, count)));
  if (m_blocks.empty()) return out;
  size_t block = 0;
  qint64 position = 0;
  for (int i = 0; i < count; ++i) {
    // Empty runs hold no point; any number of them is passed over, but the
    // last run takes whatever points are left.
    while (block + 1 < m_blocks.size() && position >= m_blocks[block].points) {
      ++block;
      position = 0;
    }
    out.push_back(
        {m_blocks[block].startSeconds + position * intervalSeconds, static_cast<int>(block) + 1});
    ++position;
  }
  return out;
}

std::vector<RecordingHeader::Stamp> RecordingHeader::backwardStamps(int count,
                                                                    int intervalSeconds) const {
  std::vector<Stamp> out(static_cast<size_t>(std::max(0, count)));
  if (m_blocks.empty()) return out;
  int r = count;  // record number being stamped, newest first
  for (int b = static_cast<int>(m_blocks.size()) - 1; b >= 0 && r > 0; --b) {
    const Block& block = m_blocks[static_cast<size_t>(b)];
    for (int p = block.points; p >= 1 && r > 0; --p, --r) {
      out[static_cast<size_t>(r - 1)] = {block.startSeconds + qint64{p - 1} * intervalSeconds,
                                         b + 1};
    }
  }
  // Points older than the first run's start: the table ran short.
  for (qint64 k = 1; r > 0; ++k, --r) {
    out[static_cast<size_t>(r - 1)] = {m_blocks.front().startSeconds - k * intervalSeconds, 1};
  }
  return out;
}

}  // namespace termika
