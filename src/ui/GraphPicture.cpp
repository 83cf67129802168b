#include "ui/GraphPicture.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QStackedWidget>
#include <QSvgGenerator>

#include "core/base/Says.h"
#include "core/data/OutputFile.h"
#include "ui/MainWindowControls.h"
#include "ui/graph/GraphPainter.h"
#include "ui/graph/GraphView.h"

namespace termika {
namespace {

QSize stackedSize(const std::vector<GraphGeometry>& graphs) {
  QSize size(0, 0);
  for (const GraphGeometry& g : graphs) {
    size.setWidth(std::max(size.width(), g.size.width()));
    size.setHeight(size.height() + g.size.height());
  }
  return size;
}

void paintStacked(QPainter& painter, const std::vector<GraphGeometry>& graphs) {
  int top = 0;
  for (const GraphGeometry& g : graphs) {
    painter.save();
    painter.translate(0, top);
    draw(painter, g);
    painter.restore();
    top += g.size.height();
  }
}

}  // namespace

std::vector<GraphGeometry> shownGraphs(const MainWindowControls& ui) {
  std::vector<GraphGeometry> graphs;
  if (ui.viewStack->currentIndex() != 0) return graphs;
  for (const GraphView* view : {ui.temperatureGraph, ui.humidityGraph}) {
    if (view->geometry().drawable) graphs.push_back(view->geometry());
  }
  return graphs;
}

QImage graphImage(const std::vector<GraphGeometry>& graphs) {
  QImage image(stackedSize(graphs), QImage::Format_RGB32);
  if (image.isNull()) return image;
  image.fill(Qt::white);
  QPainter painter(&image);
  paintStacked(painter, graphs);
  return image;
}

Result<QByteArray> graphSvg(const std::vector<GraphGeometry>& graphs, const QString& title) {
  const QSize size = stackedSize(graphs);
  if (size.isEmpty()) return Error{says("There is no graph to save.")};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(), size));
  svg.setResolution(96);  // a pixel of the screen, as viewers measure it
  svg.setTitle(title);
  QPainter painter;
  if (!painter.begin(&svg)) return Error{says("The graph cannot be drawn as SVG.")};
  paintStacked(painter, graphs);
  painter.end();
  return bytes;
}

Result<void> saveGraphPicture(const QString& path, const std::vector<GraphGeometry>& graphs) {
  if (graphs.empty()) return Error{says("There is no graph to save.")};
  const QFileInfo file(path);
  if (file.suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0) {
    const Result<QByteArray> svg = graphSvg(graphs, file.completeBaseName());
    if (!svg) return svg.error();
    return commitFile(path, *svg);
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!graphImage(graphs).save(&buffer, "PNG")) {
    return Error{says("The graph cannot be drawn as PNG.")};
  }
  return commitFile(path, png);
}

}  // namespace termika
