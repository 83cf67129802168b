#include "core/views/FormLayout.h"

#include <algorithm>
#include <cmath>

namespace termika {

int TwipsToPixels(int twips, double logicalDpi) {
  return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

FormLayout LayOutForm(QSize window, QSize client, QSize content, double logicalDpi) {
  FormLayout l;
  const int minW = TwipsToPixels(7000, logicalDpi);
  const int maxW = TwipsToPixels(11600, logicalDpi);
  const int minH = TwipsToPixels(6200, logicalDpi);
  const int maxH = TwipsToPixels(10500, logicalDpi);
  l.window = QSize(std::clamp(window.width(), minW, maxW), std::clamp(window.height(), minH, maxH));
  // The client area shrinks or grows with the window's clamping.
  const QSize clampedClient(std::max(0, client.width() + l.window.width() - window.width()),
                            std::max(0, client.height() + l.window.height() - window.height()));
  l.showScrollBars =
      clampedClient.width() < content.width() || clampedClient.height() < content.height();
  if (!l.showScrollBars) {
    l.frame = QRect(QPoint(0, 0), clampedClient);
    return l;
  }
  const int band = TwipsToPixels(255, logicalDpi);
  const int w = std::max(0, clampedClient.width() - band);
  const int h = std::max(0, clampedClient.height() - band);
  l.frame = QRect(0, 0, w, h);
  l.verticalBar = QRect(w, 0, band, h);
  l.horizontalBar = QRect(0, h, w, band);
  l.horizontalMaximum = std::max(0, content.width() - w);
  l.verticalMaximum = std::max(0, content.height() - h);
  l.horizontalPage = w;
  l.verticalPage = h;
  return l;
}

}  // namespace termika
