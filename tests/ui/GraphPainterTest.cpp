#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>

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

  GraphGeometry geometry(GraphKind kind, Palette palette) const {
    GraphInput in;
    in.kind = kind;
    in.points = points;
    in.baseTime = base();
    in.width = 1000;
    in.range = kind == GraphKind::Temperature ? ValueRange{0, 100} : ValueRange{0, 1000};
    in.halfSpan = kind == GraphKind::Temperature ? 50 : 500;
    in.palette = palette;
    in.size = QSize(1050, 550);
    in.unitText = QStringLiteral("°C");
    in.titleText = QStringLiteral("Temperature");
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

QRgb rgb(const Rgb& c) { return qRgb(c.r, c.g, c.b); }

struct PixelCase {
  GraphKind kind;
  Palette palette;
};

TEST(GraphPainter, CurveDotsAndBackgroundWhereExpected) {
  const Scene scene;
  for (const PixelCase& c : {PixelCase{GraphKind::Temperature, Palette::Screen},
                             PixelCase{GraphKind::Humidity, Palette::Print}}) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    const ColourTable& colours = colourTable(c.palette);
    const QImage image = render(scene.geometry(c.kind, c.palette));
    // Midway between the first two points: the curve.
    EXPECT_EQ(image.pixel(300, 350) & 0xFFFFFF, rgb(colours[kCurveLine]) & 0xFFFFFF);
    // Start of the first segment: the segment dot.
    EXPECT_EQ(image.pixel(100, 400) & 0xFFFFFF, rgb(colours[kSegmentDot]) & 0xFFFFFF);
    // Where the two segments would join if gaps were bridged: background.
    EXPECT_EQ(image.pixel(770, 192) & 0xFFFFFF, rgb(colours[kBackground]) & 0xFFFFFF);
    // Away from grid and curve: background.
    EXPECT_EQ(image.pixel(970, 37) & 0xFFFFFF, rgb(colours[kBackground]) & 0xFFFFFF);
    // The newest point's dot beside the end line.
    EXPECT_EQ(image.pixel(999, 99) & 0xFFFFFF, rgb(colours[kNewestDot]) & 0xFFFFFF);
  }
}

TEST(GraphPainter, AZeroWidthWindowPaintsNothing) {
  GraphInput in;
  in.range = {0, 100};
  in.size = QSize(1050, 550);
  EXPECT_EQ(render(buildGraphGeometry(in)).pixel(10, 10) & 0xFFFFFF, qRgb(255, 0, 255) & 0xFFFFFF);
}

TEST(GraphPainter, ALonePointIsARingNotADotOnTheEndLine) {
  Scene one;
  one.points = {{base(), 5.0f, 50.0f, 1.0f, 1}};  // at the window's end: (1000, 250)
  const QImage image = render(one.geometry(GraphKind::Temperature, Palette::Screen));
  const QRgb dot = rgb(colourTable(Palette::Screen)[kSegmentDot]) & 0xFFFFFF;
  const auto dotAt = [&](int dx, int dy) {
    return (image.pixel(1000 + dx, 250 + dy) & 0xFFFFFF) == dot;
  };
  // The marker reaches 3 px and more left of the end line, above and below.
  bool left = false, above = false, below = false;
  for (int d = 3; d <= 10; ++d) {
    left = left || dotAt(-d, 0);
    above = above || dotAt(0, -d);
    below = below || dotAt(0, d);
  }
  EXPECT_TRUE(left && above && below);
}

// A bar that tells where its style paints the thumb.
class ThumbProbe final : public QScrollBar {
 public:
  using QScrollBar::QScrollBar;
  QPoint thumbCentre() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()
        ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this)
        .center();
  }
};

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
    ThumbProbe bar(orientation);
    bar.resize(orientation == Qt::Horizontal ? QSize(400, 16) : QSize(16, 400));
    setUpGraphScrollBar(bar);
    QSignalSpy spy(&bar, &QScrollBar::valueChanged);
    applyScrollState(bar, state);
    EXPECT_EQ(stateValueOf(bar, bar.value()), state.value);
    const QPoint thumb = bar.thumbCentre();
    EXPECT_EQ((orientation == Qt::Horizontal ? thumb.x() : thumb.y()) < 200, nearStart);
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(stateValueOf(bar, bar.value()), afterStep);
    EXPECT_EQ(spy.count(), 1);  // the step, not the state shown
  }
}

TEST(GraphView, KeepsItsPictureAndReportsTheMouseInSeconds) {
  const Scene scene;
  GraphView view;
  view.setObjectName(QStringLiteral("ondo"));
  view.resize(1050, 550);
  view.showGraph(scene.geometry(GraphKind::Temperature, Palette::Screen));
  ASSERT_EQ(view.image().size(), QSize(1050, 550));
  EXPECT_EQ(view.image().pixel(300, 350) & 0xFFFFFF,
            rgb(colourTable(Palette::Screen)[kCurveLine]) & 0xFFFFFF);

  QSignalSpy spy(&view, &GraphView::cursorMoved);
  QMouseEvent move(QEvent::MouseMove, QPointF(600, 200), QPointF(600, 200), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &move);
  ASSERT_EQ(spy.count(), 1);
  EXPECT_NEAR(spy.at(0).at(0).toDouble(), 400.0, 1e-9);

  // A stored empty picture switches the readout off.
  view.setImage(QImage());
  QCoreApplication::sendEvent(&view, &move);
  EXPECT_EQ(spy.count(), 1);
}

}  // namespace
}  // namespace termika
