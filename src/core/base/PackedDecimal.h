#pragma once

#include <cstdint>
#include <optional>

namespace termika {

// The logger keeps times as packed decimal: 0x59 reads as 59. nullopt when a
// nibble is above 9.
inline std::optional<int> fromPackedDecimal(std::uint8_t value) {
  if ((value >> 4) > 9 || (value & 0x0F) > 9) return std::nullopt;
  return (value >> 4) * 10 + (value & 0x0F);
}

// 0..99 as packed decimal.
inline std::uint8_t toPackedDecimal(int value) {
  return static_cast<std::uint8_t>(((value / 10) % 10) * 16 + value % 10);
}

}  // namespace termika
