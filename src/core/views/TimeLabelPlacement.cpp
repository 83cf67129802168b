#include "core/views/TimeLabelPlacement.h"

#include <algorithm>

namespace termika {

TimeLabelRow timeLabelRowOf(const GraphGeometry& g, double titleWidth, double endTimeWidth,
                            double gap) {
  TimeLabelRow row{g.plotBox.left(), g.plotBox.right(), gap, {}};
  // The title is printed a quarter of its width in, on a box one and a half
  // widths long; the end time starts three quarters of its width left of the end.
  if (!g.titleText.isEmpty()) {
    row.taken.push_back({g.titleAnchor.x(), g.titleAnchor.x() + 1.5 * titleWidth});
  }
  if (!g.endTimeText.isEmpty()) {
    const double x = g.endTimeAnchor.x();
    row.taken.push_back({x - 0.75 * endTimeWidth, x + 0.25 * endTimeWidth});
  }
  return row;
}

std::vector<PlacedTimeLabel> placeTimeLabels(std::span<const TimeLabel> labels,
                                             const std::function<double(const QString&)>& widthOf,
                                             const TimeLabelRow& row) {
  std::vector<const TimeLabel*> byRank;
  byRank.reserve(labels.size());
  for (const TimeLabel& l : labels) byRank.push_back(&l);
  std::stable_sort(byRank.begin(), byRank.end(),
                   [](const TimeLabel* a, const TimeLabel* b) { return a->rank < b->rank; });

  std::vector<TakenSpan> taken = row.taken;
  std::vector<PlacedTimeLabel> placed;
  for (const TimeLabel* l : byRank) {
    const double width = widthOf(l->text);
    const double left = l->anchor.x() - width / 2.0;
    const double right = left + width;
    if (left < row.left || right > row.right) continue;
    const bool clashes = std::any_of(taken.begin(), taken.end(), [&](const TakenSpan& t) {
      return left < t.right + row.gap && right + row.gap > t.left;
    });
    if (clashes) continue;
    taken.push_back({left, right});
    placed.push_back({left, width, l->text});
  }
  std::sort(placed.begin(), placed.end(),
            [](const PlacedTimeLabel& a, const PlacedTimeLabel& b) { return a.left < b.left; });
  return placed;
}

}  // namespace termika
