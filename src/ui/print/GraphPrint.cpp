#include "ui/print/GraphPrint.h"

#include <memory>

#include "core/print/GraphPageLayout.h"
#include "ui/graph/GraphPainter.h"
#include "ui/print/PageText.h"

namespace termika {
namespace {

// Draws one graph into a rectangle given in page units.
GraphGeometry drawGraph(QPainter& painter, const PageScale& scale, const GraphPrintPlan& plan,
                        GraphKind kind, const QRectF& units) {
  const QRectF target(scale.point(units.left(), units.top()),
                      scale.point(units.right(), units.bottom()));
  GraphGeometry g = plan.geometry(kind, target.size().toSize());
  painter.save();
  painter.translate(target.topLeft());
  draw(painter, g);
  painter.restore();
  return g;
}

}  // namespace

PrintOutcome printGraphPage(QPainter& painter, const QPaintDevice& device,
                            const GraphPrintPlan& plan, const PrintHeaderInput& base,
                            const UiText& texts) {
  PageText page(painter, device);
  // The number of header lines does not depend on the extremes.
  const int headerLines = static_cast<int>(headerBlockLines(base, texts).size());
  const GraphPageLayout layout = layoutGraphPage(headerLines, page.metrics().linePitch);
  const GraphGeometry t =
      drawGraph(painter, page.scale(), plan, GraphKind::Temperature, layout.temperature);
  const GraphGeometry h =
      drawGraph(painter, page.scale(), plan, GraphKind::Humidity, layout.humidity);
  page.headerBlock(headerBlockLines(plan.header(base, t, h), texts));

  PrintOutcome outcome;
  outcome.pages = 1;
  outcome.selected = t.selected;
  outcome.selected.entries[Extremes::kHighHumidity] = h.selected.entries[Extremes::kHighHumidity];
  outcome.selected.entries[Extremes::kLowHumidity] = h.selected.entries[Extremes::kLowHumidity];
  return outcome;
}

Result<PagePainter> prepareGraphPrint(const AppState& state, int set,
                                      const std::optional<NavigationState>& view) {
  Result<PrintHeaderInput> base = baseHeader(state, set);
  if (!base) return base.error();
  Result<GraphPrintPlan> plan = planGraphPrint(state, set, view);
  if (!plan) return plan.error();
  auto shared = std::make_shared<const GraphPrintPlan>(std::move(*plan));
  return PagePainter(
      [shared, header = *base, texts = state.texts](QPainter& painter, QPagedPaintDevice& device) {
        return printGraphPage(painter, device, *shared, header, texts);
      });
}

}  // namespace termika
