#include "core/views/ValueRange.h"

#include <algorithm>

namespace termika {

ValueRange temperatureRange(int centre, int halfSpan) {
  return ValueRange{centre - halfSpan, centre + halfSpan};
}

ValueRange humidityRange(int centre, int halfSpan) {
  constexpr int kFull = 1000;
  if (centre + halfSpan > kFull) {
    centre = kFull - halfSpan;
  } else if (centre < halfSpan) {
    centre = halfSpan;
  }
  return ValueRange{std::max(centre - halfSpan, 0), std::min(centre + halfSpan, kFull)};
}

}  // namespace termika
