#pragma once

#include <array>
#include <cstdint>

namespace termika {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class Palette { Screen, Print };

// Meaning of the entries of the colour table.
enum ColourEntry : int {
  kMonthLine = 0,
  kMidnightLine = 1,
  kNoonLine = 2,
  kHourLine = 3,
  kHalfHourLine = 4,
  kMinuteLine = 5,
  kSecondLine = 6,
  kZeroLine = 7,
  kTensLine = 8,
  kFivesLine = 9,
  kOnesLine = 10,
  kHalvesLine = 11,
  kTenthsLine = 12,
  kSegmentDot = 13,
  kCurveLine = 14,
  kEndLine = 15,
  kNewestDot = 16,
  kTitleText = 18,
  kOtherText = 19,
  kUpperLimitLine = 28,
  kLowerLimitLine = 29,
  kBackground = 30,
};

constexpr int kColourCount = 31;
using ColourTable = std::array<Rgb, kColourCount>;

const ColourTable& colourTable(Palette palette);

}  // namespace termika
