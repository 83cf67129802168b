#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>

#include "core/data/DayTime.h"
#include "ui/graph/GraphPainter.h"
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
    return BuildGraphGeometry(in);
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

TEST(GraphPainter, ZeroLineAndDegenerateWindows) {
  GraphInput in;
  in.baseTime = base();
  in.width = 1000;
  in.range = TemperatureRange(-50, 100);
  in.halfSpan = 100;
  in.size = QSize(1050, 550);
  const QImage image = render(BuildGraphGeometry(in));
  // 0 °C: 5/22 of 550 px below the top; x = 970 is off the vertical grid.
  const int y0 = static_cast<int>(550.0 * 5.0 / 22.0);
  EXPECT_EQ(image.pixel(970, y0) & 0xFFFFFF,
            rgb(colourTable(Palette::Screen)[kZeroLine]) & 0xFFFFFF);

  in.width = 0;
  const QImage untouched = render(BuildGraphGeometry(in));
  EXPECT_EQ(untouched.pixel(10, 10) & 0xFFFFFF, qRgb(255, 0, 255) & 0xFFFFFF);
  in.width = 1000;
  in.size = QSize(1, 1);
  const QImage tiny = render(BuildGraphGeometry(in));
  EXPECT_EQ(tiny.size(), QSize(1, 1));
}

TEST(GraphPainter, OverlappingTimeLabelsAreLeftOutDatesFirst) {
  GraphGeometry g = Scene().geometry(GraphKind::Temperature, Palette::Screen);
  const double y = g.bottomMargin.top();
  const auto withLabels = [&](std::vector<TimeLabel> labels) {
    GraphGeometry copy = g;
    copy.timeLabels = std::move(labels);
    return render(copy);
  };
  const TimeLabel noon{QPointF(500, y), QStringLiteral("12:00:00")};
  const TimeLabel near{QPointF(510, y), QStringLiteral("11:00:00")};
  const TimeLabel far{QPointF(200, y), QStringLiteral("11:00:00")};
  const TimeLabel date{QPointF(505, y), QStringLiteral("3/1")};
  EXPECT_EQ(withLabels({noon, near}), withLabels({noon}));
  EXPECT_NE(withLabels({noon, far}), withLabels({noon}));
  EXPECT_EQ(withLabels({noon, date}), withLabels({date}));
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
