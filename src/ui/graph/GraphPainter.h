#pragma once

#include <QPainter>

#include "core/views/GraphGeometry.h"

namespace termika {

// Paints a graph: the one painting path of the screen, images and paper.
// A geometry that is not drawable paints nothing.
void draw(QPainter& painter, const GraphGeometry& geometry);

}  // namespace termika
