#pragma once

#include <QtGlobal>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "sim/SimScenario.h"

namespace termika {

// One point as a download should deliver it.
struct SimPoint {
  qint64 seconds = 0;  // calendar seconds since 1899-12-30
  std::array<std::uint8_t, 4> raw{};
  int segment = 0;  // 1-based block number
  int address = 0;  // byte address in the point memory
};

// The logger's memory: 15000 four-byte points from address 0 and the
// recording header of 8-byte entries from 0xF000. Everything unwritten
// reads 0xFF, as erased flash does.
class LoggerMemory final {
 public:
  static constexpr int kPoints = 15000;
  static constexpr int kPointBytes = kPoints * 4;
  static constexpr int kHeaderAddress = 0xF000;
  static constexpr int kEntryBytes = 8;

  // Erases points and header.
  void clear();
  // A new recording: the points are erased, the header gets a first entry at
  // `startSeconds` followed by an older one the logger keeps.
  void startRecording(qint64 startSeconds, RecordMode mode);
  // A further run inside the current recording (used by scenarios).
  void startBlock(qint64 startSeconds);
  void append(const std::array<std::uint8_t, 4>& raw);

  void setOlderEntry(std::optional<qint64> seconds) { m_olderEntry = seconds; }
  void setHeaderErased(bool erased) { m_headerErased = erased; }
  void setMode(RecordMode mode) { m_mode = mode; }

  bool full() const { return m_mode == RecordMode::OneTime && m_total >= kPoints; }
  qint64 totalPoints() const { return m_total; }
  // Bytes of point data as the status reports them: the write position × 4.
  int usedBytes() const;
  // How often a loop recording has overwritten its oldest points (0..255).
  int wraps() const;
  bool hasRecording() const { return !m_blocks.empty(); }
  std::optional<qint64> recordingStart() const;
  const std::vector<SimBlock>& blocks() const { return m_blocks; }

  std::uint8_t byteAt(int address) const;

  // What a download returns: in memory order from address 0, or oldest first.
  std::vector<SimPoint> pointsInAddressOrder(int intervalSeconds) const;
  std::vector<SimPoint> pointsInTimeOrder(int intervalSeconds) const;

 private:
  std::uint8_t headerByte(int offset) const;
  SimPoint pointOf(qint64 globalIndex, int intervalSeconds) const;

  std::vector<std::uint8_t> m_points = std::vector<std::uint8_t>(kPointBytes, 0xFF);
  std::vector<SimBlock> m_blocks;
  std::vector<qint64> m_blockFirst;  // global index of each block's first point
  std::optional<qint64> m_olderEntry;
  bool m_headerErased = false;
  RecordMode m_mode = RecordMode::OneTime;
  qint64 m_total = 0;
};

}  // namespace termika
