#pragma once

#include <QRect>
#include <QSize>

namespace termika {

// Window sizes are kept in twips (1440 per inch) and turned into pixels with
// the screen's logical dpi: 15 twips per pixel at 96 dpi.
int TwipsToPixels(int twips, double logicalDpi);

// Where the main window's scrolled content frame and its two scroll bars go.
struct FormLayout {
  QSize window;  // the window size after clamping, pixels
  bool showScrollBars = false;
  QRect frame;                // the visible frame inside the client area
  QRect horizontalBar;        // along the frame's bottom edge (empty when hidden)
  QRect verticalBar;          // along the frame's right edge (empty when hidden)
  int horizontalMaximum = 0;  // content width - visible width
  int verticalMaximum = 0;
  int horizontalPage = 0;  // large change: the visible size
  int verticalPage = 0;
};

// Clamps the window to 7000-11600 x 6200-10500 twips and lays out the frame:
// when the client area cannot show all of `content`, both bars (255 twips
// thick) appear and the frame shrinks by their thickness.
FormLayout LayOutForm(QSize window, QSize client, QSize content, double logicalDpi);

}  // namespace termika
