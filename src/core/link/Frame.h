#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <optional>

namespace termika::frame {

// A command or a decoded answer: b0 (always 1 in commands), the code, two data bytes.
using Bytes4 = std::array<std::uint8_t, 4>;

inline constexpr std::uint8_t kTerminator = 0xFF;
inline constexpr std::uint8_t kRejection = 0xEE;
inline constexpr int kFrameSize = 9;

// One byte value 0..255 as a (hundreds, packed BCD of the rest) pair:
// 87 -> 00 87, 123 -> 01 23, 255 -> 02 55. No pair byte can be 0xFF.
std::array<std::uint8_t, 2> encodePair(std::uint8_t value);
// nullopt unless h is 0..2, both nibbles of l are decimal digits and the value is <= 255.
std::optional<std::uint8_t> decodePair(std::uint8_t h, std::uint8_t l);

// The 9-byte frame of a command: four pairs and the terminator.
QByteArray encode(const Bytes4& command);

// Decodes an answer that ends in the terminator: the last eight bytes before
// it are four pairs (earlier bytes are noise and ignored). nullopt when the
// answer is too short or any pair is invalid.
std::optional<Bytes4> decodeAnswer(const QByteArray& answer);

// True when the first byte of an answer marks a rejection.
bool isRejection(const QByteArray& answer);

}  // namespace termika::frame
