#include "ui/graph/GraphView.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/graph/GraphPainter.h"

namespace termika {

GraphView::GraphView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphView::showGraph(const GraphGeometry& geometry) {
  m_geometry = geometry;
  if (geometry.drawable) {
    if (m_image.size() != geometry.size) {
      m_image = QImage(geometry.size, QImage::Format_RGB32);
    }
    QPainter painter(&m_image);
    draw(painter, geometry);
  }
  update();
}

void GraphView::setImage(const QImage& image) {
  m_image = image;
  m_geometry = GraphGeometry{};
  update();
}

QSize GraphView::sizeHint() const { return QSize(640, 240); }

void GraphView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const Rgb bg = colourTable(Palette::Screen)[kBackground];
  painter.fillRect(rect(), QColor(bg.r, bg.g, bg.b));
  if (!m_image.isNull()) painter.drawImage(QPoint(0, 0), m_image);
}

void GraphView::mouseMoveEvent(QMouseEvent* event) {
  if (m_geometry.drawable) Q_EMIT cursorMoved(m_geometry.unmapX(event->position().x()));
  QWidget::mouseMoveEvent(event);
}

void GraphView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Q_EMIT resized(size());
}

}  // namespace termika
