#include "ui/graph/GraphView.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "ui/graph/GraphPainter.h"

namespace termika {
namespace {

QColor colourOf(Palette palette, int entry) {
  const Rgb c = colourTable(palette)[static_cast<size_t>(entry)];
  return QColor(c.r, c.g, c.b);
}

// The cursor must stand out from every grid and limit colour of the table.
const QColor kCursorLine(0, 190, 255);
const QColor kBoxFill(24, 24, 40, 230);
constexpr double kBoxGap = 12.0;
constexpr double kBoxPadding = 5.0;

}  // namespace

GraphView::GraphView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Clicking a graph gives it the keys; so does Tab.
  setFocusPolicy(Qt::StrongFocus);
}

void GraphView::showGraph(const GraphGeometry& geometry) {
  m_geometry = geometry;
  if (geometry.drawable) {
    // Painted at the screen's density: a picture scaled up would blur.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(geometry.size) * ratio).toSize();
    if (m_image.size() != pixels || m_image.devicePixelRatio() != ratio) {
      m_image = QImage(pixels, QImage::Format_RGB32);
      m_image.setDevicePixelRatio(ratio);
    }
    QPainter painter(&m_image);
    draw(painter, geometry);
  }
  update();
}

void GraphView::setImage(const QImage& image) {
  m_image = image;
  m_geometry = GraphGeometry{};
  showCursor(std::nullopt);
  update();
}

void GraphView::showCursor(std::optional<double> secondsBack, const QStringList& lines) {
  if (secondsBack == m_cursorSeconds && lines == m_boxLines) return;
  m_cursorSeconds = secondsBack;
  m_boxLines = secondsBack ? lines : QStringList();
  update();
}

std::optional<double> GraphView::hoveredSeconds() const {
  if (!m_mouse || !m_geometry.drawable || !isVisible()) return std::nullopt;
  return m_geometry.unmapX(m_mouse->x());
}

QSize GraphView::sizeHint() const { return QSize(640, 240); }

void GraphView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), colourOf(Palette::Screen, kBackground));
  if (!m_image.isNull()) painter.drawImage(QPoint(0, 0), m_image);
  paintCursor(painter);
  if (hasFocus()) {
    painter.setPen(QPen(colourOf(Palette::Screen, kOtherText), 1.0, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void GraphView::paintCursor(QPainter& painter) const {
  if (!m_cursorSeconds || !m_geometry.drawable) return;
  const QRectF& plot = m_geometry.plotBox;
  const double x = std::clamp(m_geometry.mapX(*m_cursorSeconds), plot.left(), plot.right());
  painter.setPen(QPen(kCursorLine, 1.0));
  painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
  if (m_boxLines.isEmpty() || !m_mouse) return;

  const QFontMetricsF metrics(font());
  double width = 0.0;
  for (const QString& line : m_boxLines) width = std::max(width, metrics.horizontalAdvance(line));
  QRectF box(0, 0, width + 2 * kBoxPadding,
             metrics.height() * static_cast<double>(m_boxLines.size()) + 2 * kBoxPadding);
  // Right of and below the mouse, or on the other side where the plot ends.
  QPointF at = *m_mouse + QPointF(kBoxGap, kBoxGap);
  if (at.x() + box.width() > plot.right()) at.rx() = m_mouse->x() - kBoxGap - box.width();
  if (at.y() + box.height() > plot.bottom()) at.ry() = m_mouse->y() - kBoxGap - box.height();
  box.moveTopLeft(QPointF(std::max(plot.left(), at.x()), std::max(plot.top(), at.y())));
  painter.setPen(QPen(kCursorLine, 1.0));
  painter.setBrush(kBoxFill);
  painter.drawRect(box);
  painter.setPen(colourOf(Palette::Screen, kOtherText));
  double baseline = box.top() + kBoxPadding + metrics.ascent();
  for (const QString& line : m_boxLines) {
    painter.drawText(QPointF(box.left() + kBoxPadding, baseline), line);
    baseline += metrics.height();
  }
}

void GraphView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_geometry.drawable) {
    m_dragFrom = m_geometry.unmapX(event->position().x());
    Q_EMIT gesture({GestureKind::DragStart, 0, 0.0});
  }
  QWidget::mousePressEvent(event);
}

void GraphView::mouseMoveEvent(QMouseEvent* event) {
  m_mouse = event->position();
  if (m_dragFrom && (event->buttons() & Qt::LeftButton) && m_geometry.drawable) {
    setCursor(Qt::ClosedHandCursor);
    Q_EMIT gesture({GestureKind::Drag, 0, *m_dragFrom - m_geometry.unmapX(m_mouse->x())});
  }
  if (m_geometry.drawable) Q_EMIT cursorMoved(m_geometry.unmapX(m_mouse->x()));
  QWidget::mouseMoveEvent(event);
}

void GraphView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    m_dragFrom.reset();
    unsetCursor();
  }
  QWidget::mouseReleaseEvent(event);
}

void GraphView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Q_EMIT gesture({GestureKind::Fit, 0, 0.0});
}

void GraphView::wheelEvent(QWheelEvent* event) {
  const QPoint delta = event->angleDelta();
  const bool sideways = delta.y() == 0 && delta.x() != 0;
  const int notches = sideways ? m_sidewaysWheel.add(delta.x()) : m_wheel.add(delta.y());
  const double at = m_geometry.drawable ? m_geometry.unmapX(event->position().x()) : 0.0;
  if (const auto g = wheelGesture(notches, sideways, event->modifiers(), at)) Q_EMIT gesture(*g);
  // Taken even between notches: the window around must not scroll instead.
  event->accept();
}

void GraphView::keyPressEvent(QKeyEvent* event) {
  if (const auto g = keyGesture(event->key(), event->modifiers())) {
    Q_EMIT gesture(*g);
    return;
  }
  QWidget::keyPressEvent(event);
}

void GraphView::leaveEvent(QEvent* event) {
  m_mouse.reset();
  Q_EMIT cursorLeft();
  QWidget::leaveEvent(event);
}

void GraphView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Q_EMIT resized(size());
}

}  // namespace termika
