#pragma once

#include <QtGlobal>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace termika {

// The block table of a download: one row per recording run (start and point
// count) read from the logger's header entries, and the time of every point
// worked out from it. Times are whole calendar seconds (since 1899-12-30);
// callers turn them into day serials once, so no error builds up.
class RecordingHeader final {
 public:
  static constexpr int kRows = 151;
  static constexpr int kFirstAddress = 0xF000;
  static constexpr int kEntryBytes = 8;
  static constexpr int kEndAddress = 0x10000;

  struct Block {
    qint64 startSeconds = 0;
    int points = 0;
    friend bool operator==(const Block&, const Block&) = default;
  };
  struct Stamp {
    qint64 seconds = 0;
    int segment = 0;  // 1-based block number
    friend bool operator==(const Stamp&, const Stamp&) = default;
  };
  using Entry = std::array<std::uint8_t, kEntryBytes>;

  // Empties the table for a new reading. `recordingStart` is the logger's
  // recording start from its status (nullopt when unknown).
  void clear(std::optional<qint64> recordingStart);

  // Stores the entry read at `address` (its first byte). False once this
  // entry ends the reading: 151 entries, the end of the header memory, an
  // entry earlier than the recording start, a second unwritten entry in a
  // row, or a date that does not exist.
  bool addEntry(const Entry& entry, int address);
  bool done() const { return m_done; }
  int entriesRead() const { return static_cast<int>(m_entries.size()); }

  // Fixes the blocks of the current recording (entries 0..n-2) once the
  // reading has ended; the newest block gets what the earlier ones leave of
  // `totalPoints` (never below 0). A reading ended by its very first entry
  // gives one block at the recording start holding every point.
  void settle(qint64 totalPoints);
  const std::vector<Block>& blocks() const { return m_blocks; }

  // Unwrapped memory: the time and segment of the `count` points in the
  // order they arrive. Blocks holding no points are skipped; points beyond
  // the last block carry on in its rhythm.
  std::vector<Stamp> forwardStamps(int count, int intervalSeconds) const;
  // Wrapped memory: the times of the newest `count` points, oldest first
  // (index 0 = record 1), worked backwards from the newest block; points
  // older than the first block step back from its start by the interval.
  std::vector<Stamp> backwardStamps(int count, int intervalSeconds) const;

 private:
  struct Read {
    qint64 startSeconds = 0;
    int points = 0;
  };
  std::optional<qint64> m_recordingStart;
  std::vector<Read> m_entries;
  std::vector<Block> m_blocks;
  bool m_lastUnwritten = false;
  bool m_done = false;
};

}  // namespace termika
