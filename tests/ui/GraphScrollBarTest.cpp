#include <gtest/gtest.h>

#include <QSignalSpy>

#include "ui/graph/GraphScrollBar.h"

namespace termika {
namespace {

TEST(GraphScrollBar, StatesRoundTripInBothDirectionsWithoutSignals) {
  const std::vector<ScrollState> states{{0, 50, 10}, {32767, 5, 32767}, {945, -345, 200}};
  for (const ScrollState& s : states) {
    SCOPED_TRACE(s.minimum);
    QScrollBar bar(Qt::Horizontal);
    SetUpGraphScrollBar(bar);
    EXPECT_FALSE(bar.hasTracking());
    QSignalSpy spy(&bar, &QScrollBar::valueChanged);
    ApplyScrollState(bar, s);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(ReadScrollState(bar), s);
    EXPECT_EQ(bar.invertedAppearance(), s.minimum > s.maximum);
  }
}

}  // namespace
}  // namespace termika
