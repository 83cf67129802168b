#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>

#include "DialogTestSupport.h"
#include "core/data/DayTime.h"
#include "ui/graph/GraphPainter.h"
#include "ui/graph/GraphScrollBar.h"
#include "ui/graph/GraphView.h"

namespace termika {
namespace {

qint64 base() { return secondsFromCivil(CivilTime{2010, 3, 1, 0, 30, 0}); }

// 1050 x 550 pixels over W = 1000 s and 0..10 units: pixel x = 1000 - seconds
// back, pixel y = 50 * (10 - value). Points at 900 s, 500 s (segment 1) and
// 0 s back (segment 2).
struct Scene {
  std::vector<PlotPoint> points{{base() - 900, 2.0f, 20.0f, 1.0f, 1},
                                {base() - 500, 4.0f, 40.0f, 1.0f, 2},
                                {base(), 8.0f, 80.0f, 2.0f, 3}};

  GraphGeometry geometry(GraphKind kind, Palette palette, int width = 1000) const {
    GraphInput in;
    in.kind = kind;
    in.points = points;
    in.baseTime = base();
    in.width = width;
    in.range = kind == GraphKind::Temperature ? ValueRange{0, 100} : ValueRange{0, 1000};
    in.halfSpan = kind == GraphKind::Temperature ? 50 : 500;
    in.palette = palette;
    in.size = QSize(1050, 550);
    return buildGraphGeometry(in);
  }
};

QImage render(const GraphGeometry& g) {
  QImage image(g.size, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  draw(painter, g);
  return image;
}

QRgb colour(Palette palette, ColourEntry entry) {
  const Rgb& c = colourTable(palette)[entry];
  return qRgb(c.r, c.g, c.b);
}

// The curve midway between the first two points, the first segment's dot, background where
// the two segments would join if gaps were bridged and away from grid and curve, the newest
// point's dot beside the end line; a window of no width paints nothing at all.
TEST(GraphPainter, CurveDotsAndBackgroundWhereExpected) {
  const std::pair<QPoint, ColourEntry> probes[] = {{{300, 350}, kCurveLine},
                                                   {{100, 400}, kSegmentDot},
                                                   {{770, 192}, kBackground},
                                                   {{970, 37}, kBackground},
                                                   {{999, 99}, kNewestDot}};
  for (const auto& [kind, palette] : {std::pair{GraphKind::Temperature, Palette::Screen},
                                      {GraphKind::Humidity, Palette::Print}}) {
    const QImage image = render(Scene().geometry(kind, palette));
    for (const auto& [at, entry] : probes)
      EXPECT_EQ(image.pixel(at), colour(palette, entry)) << int(kind) << " " << at.x();
  }
  const QImage none = render(Scene().geometry(GraphKind::Temperature, Palette::Screen, 0));
  EXPECT_EQ(none.pixel(300, 350), qRgb(255, 0, 255));
}

TEST(GraphPainter, ALonePointIsARingNotADotOnTheEndLine) {
  Scene one;
  one.points = {{base(), 5.0f, 50.0f, 1.0f, 1}};  // at the window's end: (1000, 250)
  const QImage image = render(one.geometry(GraphKind::Temperature, Palette::Screen));
  // The marker reaches 3 px and more left of the end line, above and below.
  for (const QPoint step : {QPoint(-1, 0), QPoint(0, -1), QPoint(0, 1)}) {
    bool reached = false;
    for (int d = 3; d <= 10; ++d)
      reached = reached ||
                image.pixel(QPoint(1000, 250) + d * step) == colour(Palette::Screen, kSegmentDot);
    EXPECT_TRUE(reached) << step.x() << "," << step.y();
  }
}

// A graph 200 px wide has a 10 px right margin: the value labels move left over the plot's edge
// instead of being cut off at the unit.
TEST(GraphPainter, ValueLabelsOfANarrowGraphStayWhole) {
  const std::vector<PlotPoint> points{{1000, 5.0f, 50.0f, 1.0f, 1}, {2000, 6.0f, 50.0f, 1.0f, 2}};
  GraphInput in;
  in.points = points;
  in.baseTime = 2000;
  in.width = 1000;
  in.range = {0, 100};
  in.halfSpan = 50;
  in.size = {200, 300};
  in.unitText = QStringLiteral("°C");
  const GraphGeometry g = buildGraphGeometry(in);
  const QImage image = render(g);
  // White text in the 20 pixels left of the plot's end, around a label clear of the time row.
  const int y = qRound(g.valueLabels.at(g.valueLabels.size() / 2).anchor.y()),
            end = static_cast<int>(g.plotBox.right()) - 1;
  int text = 0;
  for (int i = 0; i < 20 * 9; ++i)
    text += qGray(image.pixel(end - 20 + i / 9, y - 4 + i % 9)) > 220;
  EXPECT_GT(text, 0);
}

TEST(GraphScrollBar, ThumbsSitAtTheStatesEndAndStepTowardsItsMaximum) {
  // Orientation, state, thumb in the left or top half, state value after a step right or down.
  const std::tuple<Qt::Orientation, ScrollState, bool, int> cases[] = {
      {Qt::Horizontal, {32767, 5, 32767}, true, 32766},  // the widest window at the left
      {Qt::Horizontal, {50, 5, 6}, false, 5},            // a narrow one at the right
      {Qt::Horizontal, {0, 50, 0}, true, 1},             // offset 0: the newest end
      {Qt::Vertical, {945, -345, 900}, true, 899},       // a high centre at the top
      {Qt::Vertical, {1, 700, 650}, false, 651},         // a wide half-span low down
  };
  for (const auto& [orientation, state, nearStart, afterStep] : cases) {
    SCOPED_TRACE(state.value);
    QScrollBar bar(orientation);
    bar.resize(orientation == Qt::Horizontal ? QSize(400, 16) : QSize(16, 400));
    setUpGraphScrollBar(bar);
    QSignalSpy spy(&bar, &QScrollBar::valueChanged);
    applyScrollState(bar, state);
    EXPECT_EQ(stateValueOf(bar, bar.value()), state.value);
    const QPoint thumb = scrollBarPart(bar, QStyle::SC_ScrollBarSlider).center();
    EXPECT_EQ((orientation == Qt::Horizontal ? thumb.x() : thumb.y()) < 200, nearStart);
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(stateValueOf(bar, bar.value()), afterStep);
    EXPECT_EQ(spy.count(), 1);  // the step, not the state shown
  }
}

// The mouse is read out in seconds back from the window's end until a stored picture (an empty
// set's) replaces the graph.
TEST(GraphView, ReadsOutTheMouseUntilAStoredPictureIsShown) {
  GraphView view;
  view.showGraph(Scene().geometry(GraphKind::Temperature, Palette::Screen));
  QSignalSpy spy(&view, &GraphView::cursorMoved);
  QMouseEvent move(QEvent::MouseMove, QPointF(600, 200), QPointF(600, 200), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &move);
  view.setImage(QImage());
  QCoreApplication::sendEvent(&view, &move);
  ASSERT_EQ(spy.count(), 1);
  EXPECT_NEAR(spy.at(0).at(0).toDouble(), 400.0, 1e-9);
}

}  // namespace
}  // namespace termika
