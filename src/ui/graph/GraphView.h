#pragma once

#include <QImage>
#include <QWidget>

#include "core/views/GraphGeometry.h"

namespace termika {

// One on-screen graph ("ondo" or "situdo", named by the caller). The picture
// lives in a backing image, so a set's last graph can be stored and shown
// again without redrawing.
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

  QSize sizeHint() const override;

 Q_SIGNALS:
  // Mouse x in seconds back from the window's right end.
  void cursorMoved(double secondsBack);
  void resized(QSize size);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QImage m_image;
  GraphGeometry m_geometry;
};

}  // namespace termika
