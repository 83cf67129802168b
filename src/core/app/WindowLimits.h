#pragma once

#include <QSize>

namespace termika {

// The smallest size of the main window, in pixels. It grows without a cap:
// the graphs take whatever it gains.
struct WindowLimits {
  QSize minimum;
};

// The window is at least 7000 x 6200 twips (1440 twips per inch), rounded up
// to whole pixels.
WindowLimits windowLimits(double logicalDpi);

// The start-up size: the screen's size, at least the minimum.
QSize initialWindowSize(const QSize& screen, const WindowLimits& limits);

}  // namespace termika
