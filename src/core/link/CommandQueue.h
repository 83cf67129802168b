#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "core/base/Result.h"
#include "core/link/Frame.h"
#include "core/link/Protocol.h"
#include "core/model/SessionMode.h"

namespace termika {

// One queued request: its four bytes, the session mode under which its answer
// is handled, and a parameter the answer handler may advance (an address
// during a download).
struct CommandRow {
  std::uint8_t b0 = 1;
  std::uint8_t b1 = 0;
  std::uint8_t b2 = 0;
  std::uint8_t b3 = 0;
  SessionMode mode = SessionMode::None;
  std::int32_t param = 0;

  frame::Bytes4 bytes() const { return {b0, b1, b2, b3}; }
  Opcode opcode() const { return static_cast<Opcode>(b1); }

  friend bool operator==(const CommandRow&, const CommandRow&) = default;
};

using CommandRows = std::vector<CommandRow>;

// The rows of one exchange, sent strictly one after another. It holds at
// most 101 rows; appending past that is refused, so a careless caller gets an
// error instead of a write out of bounds.
class CommandQueue final {
 public:
  static constexpr int kCapacity = 101;

  // QueueCommand: writes the row at `count` and increments it.
  Result<void> append(const CommandRow& row);
  // All rows or none.
  Result<void> append(const CommandRows& rows);
  // Empties the queue: count and send index back to 0.
  void clear();

  bool isEmpty() const { return m_count == 0; }
  int count() const { return m_count; }
  int sendIndex() const { return m_sendIndex; }
  bool hasCurrent() const { return m_sendIndex >= 0 && m_sendIndex < m_count; }
  // The row at the send index; only valid while hasCurrent().
  CommandRow& current() { return m_rows.at(static_cast<size_t>(m_sendIndex)); }
  const CommandRow& current() const { return m_rows.at(static_cast<size_t>(m_sendIndex)); }
  // Row `index` of 0..count-1.
  const CommandRow& at(int index) const { return m_rows.at(static_cast<size_t>(index)); }
  // Moves the send index to the next row (it may reach count: the end).
  void advance();

 private:
  std::array<CommandRow, kCapacity> m_rows{};
  int m_count = 0;
  int m_sendIndex = 0;
};

}  // namespace termika
