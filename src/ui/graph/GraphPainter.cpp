#include "ui/graph/GraphPainter.h"

#include <QFontMetricsF>
#include <algorithm>

#include "core/views/TimeLabelPlacement.h"

namespace termika {
namespace {

constexpr int kLabelPointSize = 9;
constexpr int kTitlePointSize = 12;

QColor colourOf(const GraphGeometry& g, int entry) {
  const Rgb c = g.colours[static_cast<size_t>(entry)];
  return QColor(c.r, c.g, c.b);
}

// Draw width 2: a dot two pixels across.
void drawDot(QPainter& p, const QPointF& at, const QColor& colour) {
  p.fillRect(QRectF(at.x() - 1.0, at.y() - 1.0, 2.0, 2.0), colour);
}

void drawCurve(QPainter& p, const GraphGeometry& g) {
  const QColor line = colourOf(g, kCurveLine);
  const QColor dot = colourOf(g, kSegmentDot);
  p.setPen(QPen(line, 1.0));
  for (const CurveSegment& s : g.segments) {
    if (s.points.size() > 1) p.drawPolyline(s.points.data(), static_cast<int>(s.points.size()));
  }
  // Dots last, so a following line never hides where a segment starts.
  for (const CurveSegment& s : g.segments) {
    if (s.points.size() > 1) drawDot(p, s.points.front(), dot);
  }
}

// A point with no neighbour to join (a single measurement, a one-point
// segment) gets a ring two thirds of a text line across instead of a dot that
// vanishes on the axis; drawn after the margins are cleared, so a point at
// the window's end stays whole.
void drawLonePoints(QPainter& p, const GraphGeometry& g, double textHeight) {
  const double radius = std::max(4.0, textHeight / 3.0);
  p.setPen(QPen(colourOf(g, kSegmentDot), std::max(1.5, radius / 3.0)));
  p.setBrush(Qt::NoBrush);
  for (const CurveSegment& s : g.segments) {
    if (s.points.size() == 1) p.drawEllipse(s.points.front(), radius, radius);
  }
}

}  // namespace

void draw(QPainter& p, const GraphGeometry& g) {
  if (!g.drawable) return;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  const QColor background = colourOf(g, kBackground);
  const QRectF whole(0, 0, g.size.width(), g.size.height());
  p.fillRect(whole, background);
  p.setClipRect(whole);

  const double left = g.plotBox.left();
  const double right = g.plotBox.right();
  const double top = g.plotBox.top();
  const double bottom = g.plotBox.bottom();
  for (const GridLine& l : g.verticalLines) {
    p.setPen(QPen(colourOf(g, l.colour), 1.0));
    p.drawLine(QPointF(l.pos, bottom), QPointF(l.pos, top));
  }
  for (const GridLine& l : g.horizontalLines) {
    p.setPen(QPen(colourOf(g, l.colour), 1.0));
    p.drawLine(QPointF(right, l.pos), QPointF(left, l.pos));
  }
  for (const GridLine& l : g.limitLines) {
    p.setPen(QPen(colourOf(g, l.colour), 1.0, Qt::DotLine));
    p.drawLine(QPointF(right, l.pos), QPointF(left, l.pos));
  }
  drawCurve(p, g);

  // Margins are cleared after the curve so nothing runs into the labels.
  p.fillRect(g.rightMargin, background);
  p.fillRect(g.bottomMargin, background);

  QFont font = p.font();
  font.setPointSize(kLabelPointSize);
  p.setFont(font);
  const QFontMetricsF metrics(font, p.device());
  p.setPen(colourOf(g, kOtherText));
  QFont titleFont = font;
  titleFont.setPointSize(kTitlePointSize);
  const QFontMetricsF titleMetrics(titleFont, p.device());
  const double titleWidth = titleMetrics.horizontalAdvance(g.titleText);
  const double endTimeWidth = metrics.horizontalAdvance(g.endTimeText);
  // Labels keep at least a character's width between them.
  const double zeroWidth = metrics.horizontalAdvance(QStringLiteral("0"));
  const TimeLabelRow row = timeLabelRowOf(g, titleWidth, endTimeWidth, zeroWidth);
  const auto widthOf = [&metrics](const QString& text) { return metrics.horizontalAdvance(text); };
  const double labelTop = g.plotBox.bottom();
  for (const PlacedTimeLabel& l : placeTimeLabels(g.timeLabels, widthOf, row)) {
    p.drawText(QPointF(l.left, labelTop + metrics.ascent()), l.text);
  }
  for (const ValueLabel& l : g.valueLabels) {
    const double baseline = l.anchor.y() - metrics.height() / 2.0 + metrics.ascent();
    p.drawText(QPointF(l.anchor.x() + zeroWidth / 2.0, baseline), l.text);
  }

  p.setPen(QPen(colourOf(g, kEndLine), 1.0));
  p.drawLine(g.endLine);
  if (!g.endTimeText.isEmpty()) {
    p.setPen(colourOf(g, kOtherText));
    p.drawText(
        QPointF(g.endTimeAnchor.x() - 0.75 * endTimeWidth, g.endTimeAnchor.y() + metrics.ascent()),
        g.endTimeText);
  }
  if (g.newestDot) drawDot(p, *g.newestDot, colourOf(g, kNewestDot));
  drawLonePoints(p, g, metrics.height());

  if (!g.titleText.isEmpty()) {
    p.setFont(titleFont);
    p.fillRect(QRectF(QPointF(g.titleAnchor.x(), g.titleAnchor.y()),
                      QPointF(g.titleAnchor.x() + 1.5 * titleWidth, g.size.height())),
               background);
    p.setPen(colourOf(g, kTitleText));
    p.drawText(
        QPointF(g.titleAnchor.x() + titleWidth / 4.0, g.titleAnchor.y() + titleMetrics.ascent()),
        g.titleText);
  }
  p.restore();
}

}  // namespace termika
