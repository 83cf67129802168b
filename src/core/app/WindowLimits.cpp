#include "core/app/WindowLimits.h"

#include <algorithm>
#include <cmath>

namespace termika {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kMinWidthTwips = 7000;
constexpr int kMaxWidthTwips = 11600;
constexpr int kMinHeightTwips = 6200;
constexpr int kMaxHeightTwips = 10500;

int pixelsUp(int twips, double dpi) {
  // A hair of tolerance so an exact quotient is not pushed up by rounding.
  return static_cast<int>(std::ceil(twips * dpi / kTwipsPerInch - 1e-9));
}
int pixelsDown(int twips, double dpi) {
  return static_cast<int>(std::floor(twips * dpi / kTwipsPerInch + 1e-9));
}

}  // namespace

WindowLimits windowLimits(double logicalDpi) {
  const double dpi = logicalDpi > 0 ? logicalDpi : 96.0;
  return WindowLimits{QSize(pixelsUp(kMinWidthTwips, dpi), pixelsUp(kMinHeightTwips, dpi)),
                      QSize(pixelsDown(kMaxWidthTwips, dpi), pixelsDown(kMaxHeightTwips, dpi))};
}

QSize initialWindowSize(const QSize& screen, const WindowLimits& limits) {
  return QSize(std::clamp(screen.width(), limits.minimum.width(), limits.maximum.width()),
               std::clamp(screen.height(), limits.minimum.height(), limits.maximum.height()));
}

}  // namespace termika
