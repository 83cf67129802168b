#pragma once

#include <QPaintDevice>
#include <QPainter>
#include <optional>

#include "core/base/Result.h"
#include "core/model/AppState.h"
#include "core/print/PrintPlan.h"
#include "ui/print/PrintOutcome.h"

namespace termika {

// Paints a graph page: both graphs first, each into its share of the page
// below the header, then the header, whose selected range is the one the
// graphs just drew.
PrintOutcome printGraphPage(QPainter& painter, const QPaintDevice& device,
                            const GraphPrintPlan& plan, const PrintHeaderInput& base,
                            const UiText& texts);

// Reads a set for its graph page. `view` is the window shown on screen;
// without it the whole set is printed. Fails for an empty set.
Result<PagePainter> prepareGraphPrint(const AppState& state, int set,
                                      const std::optional<NavigationState>& view);

}  // namespace termika
