#include "ui/ConnectPicture.h"

#include <QPainter>
#include <QPixmap>

namespace termika {

QIcon connectPicture(bool connected) {
  constexpr int kSize = 32;
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor ink = connected ? QColor(0x00, 0x99, 0x33) : QColor(0x70, 0x70, 0x70);
  painter.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap));
  painter.setBrush(connected ? QColor(0x80, 0xFF, 0x80) : QColor(0xD0, 0xD0, 0xD0));
  // Plug body with two pins and a cord.
  painter.drawRoundedRect(QRectF(8, 9, 16, 12), 3, 3);
  painter.drawLine(QPointF(12, 4), QPointF(12, 9));
  painter.drawLine(QPointF(20, 4), QPointF(20, 9));
  painter.drawLine(QPointF(16, 21), QPointF(16, 29));
  return QIcon(pixmap);
}

}  // namespace termika
