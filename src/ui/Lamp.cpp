#include "ui/Lamp.h"

#include <QPainter>

namespace termika {

Lamp::Lamp(QWidget* parent) : QWidget(parent) { setFixedSize(sizeHint()); }

void Lamp::setColor(const QColor& color) {
  if (color == m_color) return;
  m_color = color;
  update();
}

void Lamp::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(palette().color(QPalette::Dark), 1));
  painter.setBrush(m_color);
  painter.drawEllipse(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
}

}  // namespace termika
