#include "core/app/WindowLimits.h"

#include <cmath>

namespace termika {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kMinWidthTwips = 7000;
constexpr int kMinHeightTwips = 6200;

int pixelsUp(int twips, double dpi) {
  // A hair of tolerance so an exact quotient is not pushed up by rounding.
  return static_cast<int>(std::ceil(twips * dpi / kTwipsPerInch - 1e-9));
}

}  // namespace

WindowLimits windowLimits(double logicalDpi) {
  const double dpi = logicalDpi > 0 ? logicalDpi : 96.0;
  return WindowLimits{QSize(pixelsUp(kMinWidthTwips, dpi), pixelsUp(kMinHeightTwips, dpi))};
}

QSize initialWindowSize(const QSize& screen, const WindowLimits& limits) {
  return screen.expandedTo(limits.minimum);
}

}  // namespace termika
