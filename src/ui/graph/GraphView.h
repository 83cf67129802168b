#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>
#include <optional>

#include "core/views/GraphGeometry.h"
#include "core/views/GraphGestures.h"

namespace termika {

// One on-screen graph ("ondo" or "situdo", named by the caller). The picture
// lives in a backing image at the screen's pixel density, so a set's last
// graph can be stored and shown again without redrawing; the cursor is drawn
// over it, so moving the mouse never redraws the graph.
class GraphView final : public QWidget {
  Q_OBJECT

 public:
  explicit GraphView(QWidget* parent = nullptr);

  // Paints `geometry` into the backing image and shows it.
  void showGraph(const GraphGeometry& geometry);
  // Shows a stored picture (possibly empty); the mouse readout stays off
  // until the next showGraph.
  void setImage(const QImage& image);
  const QImage& image() const { return m_image; }
  const GraphGeometry& geometry() const { return m_geometry; }

  // The cursor line at `secondsBack` from the window's right end, with the
  // box of `lines` beside the mouse (empty: no box); nothing clears both.
  void showCursor(std::optional<double> secondsBack, const QStringList& lines = {});
  const QStringList& cursorBox() const { return m_boxLines; }
  // Seconds back from the window's right end under the mouse, while it is over
  // a drawn graph.
  std::optional<double> hoveredSeconds() const;

  QSize sizeHint() const override;

 Q_SIGNALS:
  // Mouse x in seconds back from the window's right end.
  void cursorMoved(double secondsBack);
  void cursorLeft();
  void gesture(const GraphGesture& gesture);
  void resized(QSize size);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void paintCursor(QPainter& painter) const;

  QImage m_image;
  GraphGeometry m_geometry;
  std::optional<QPointF> m_mouse;         // over the widget
  std::optional<double> m_dragFrom;       // seconds back where the drag began
  std::optional<double> m_cursorSeconds;  // where the cursor line stands
  QStringList m_boxLines;
  WheelNotches m_wheel;
  WheelNotches m_sidewaysWheel;
};

}  // namespace termika
