#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

#include "core/base/Result.h"
#include "core/views/GraphGeometry.h"

namespace termika {

struct MainWindowControls;

// The drawable graphs on screen, top to bottom (none outside the graph view).
std::vector<GraphGeometry> shownGraphs(const MainWindowControls& ui);

// The graphs stacked top to bottom in one picture, painted anew from their
// geometry: an SVG then holds lines and text rather than pixels.
QImage graphImage(const std::vector<GraphGeometry>& graphs);
Result<QByteArray> graphSvg(const std::vector<GraphGeometry>& graphs, const QString& title);

// Writes the picture as SVG when `path` ends in .svg, otherwise as PNG; a
// failed write leaves what was there.
Result<void> saveGraphPicture(const QString& path, const std::vector<GraphGeometry>& graphs);

}  // namespace termika
