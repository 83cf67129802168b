#pragma once

#include <QPrinter>

#include "ui/print/PrintOutcome.h"

class QWidget;

namespace termika {

// Shows the pages on `printer` as they will come out, before any paper is
// used. True when the user goes on to print; the printing itself is left to
// the caller, so it takes the same checked road with or without a preview.
bool confirmInPreview(QPrinter& printer, const PagePainter& paint, QWidget* parent);

}  // namespace termika
