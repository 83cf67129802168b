#include "core/link/Frame.h"

namespace termika::frame {

std::array<std::uint8_t, 2> encodePair(std::uint8_t value) {
  const int rest = value % 100;
  return {static_cast<std::uint8_t>(value / 100),
          static_cast<std::uint8_t>((rest / 10) * 16 + rest % 10)};
}

std::optional<std::uint8_t> decodePair(std::uint8_t h, std::uint8_t l) {
  if (h > 2 || (l >> 4) > 9 || (l & 0x0F) > 9) return std::nullopt;
  const int value = h * 100 + (l >> 4) * 10 + (l & 0x0F);
  if (value > 255) return std::nullopt;
  return static_cast<std::uint8_t>(value);
}

QByteArray encode(const Bytes4& command) {
  QByteArray out;
  out.reserve(kFrameSize);
  for (const std::uint8_t b : command) {
    const auto pair = encodePair(b);
    out.append(static_cast<char>(pair[0]));
    out.append(static_cast<char>(pair[1]));
  }
  out.append(static_cast<char>(kTerminator));
  return out;
}

std::optional<Bytes4> decodeAnswer(const QByteArray& answer) {
  const qsizetype end = answer.lastIndexOf(static_cast<char>(kTerminator));
  if (end < 8) return std::nullopt;
  Bytes4 out{};
  for (qsizetype i = 0; i < 4; ++i) {
    const auto h = static_cast<std::uint8_t>(answer.at(end - 8 + 2 * i));
    const auto l = static_cast<std::uint8_t>(answer.at(end - 8 + 2 * i + 1));
    const auto v = decodePair(h, l);
    if (!v) return std::nullopt;
    out[static_cast<size_t>(i)] = *v;
  }
  return out;
}

bool isRejection(const QByteArray& answer) {
  return !answer.isEmpty() && static_cast<std::uint8_t>(answer.at(0)) == kRejection;
}

}  // namespace termika::frame
