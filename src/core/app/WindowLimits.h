#pragma once

#include <QSize>

namespace termika {

// The smallest and largest size of the main window, in pixels.
struct WindowLimits {
  QSize minimum;
  QSize maximum;
};

// The window keeps within 7000..11600 x 6200..10500 twips (1440 twips per
// inch). The pixel limits round inwards so they never leave that range.
WindowLimits windowLimits(double logicalDpi);

// The start-up size: the screen's size, held within the limits.
QSize initialWindowSize(const QSize& screen, const WindowLimits& limits);

}  // namespace termika
