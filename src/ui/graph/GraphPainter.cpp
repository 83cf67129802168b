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

// The label and title fonts, sized for the device painted on.
struct GraphFonts {
  QFont label;
  QFont title;
  QFontMetricsF labelMetrics;
  QFontMetricsF titleMetrics;

  GraphFonts(const QFont& base, QPaintDevice* device)
      : label(sized(base, kLabelPointSize)),
        title(sized(base, kTitlePointSize)),
        labelMetrics(label, device),
        titleMetrics(title, device) {}

  static QFont sized(QFont font, int points) {
    font.setPointSize(points);
    return font;
  }
};

void drawGrid(QPainter& p, const GraphGeometry& g) {
  const QRectF& box = g.plotBox;
  for (const GridLine& l : g.verticalLines) {
    p.setPen(QPen(colourOf(g, l.colour), 1.0));
    p.drawLine(QPointF(l.pos, box.bottom()), QPointF(l.pos, box.top()));
  }
  for (const GridLine& l : g.horizontalLines) {
    p.setPen(QPen(colourOf(g, l.colour), 1.0));
    p.drawLine(QPointF(box.right(), l.pos), QPointF(box.left(), l.pos));
  }
}

void drawLimitLines(QPainter& p, const GraphGeometry& g) {
  for (const GridLine& l : g.limitLines) {
    p.setPen(QPen(colourOf(g, l.colour), 1.0, Qt::DotLine));
    p.drawLine(QPointF(g.plotBox.right(), l.pos), QPointF(g.plotBox.left(), l.pos));
  }
}

void drawLabels(QPainter& p, const GraphGeometry& g, const GraphFonts& fonts) {
  const QFontMetricsF& metrics = fonts.labelMetrics;
  p.setFont(fonts.label);
  p.setPen(colourOf(g, kOtherText));
  const double titleWidth = fonts.titleMetrics.horizontalAdvance(g.titleText);
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
    // On a narrow graph the right margin is narrower than a label: it moves
    // left over the plot's edge rather than losing its unit.
    const double left = std::min(l.anchor.x() + zeroWidth / 2.0,
                                 g.size.width() - metrics.horizontalAdvance(l.text));
    p.drawText(QPointF(left, baseline), l.text);
  }
}

// The line at the newest time, its time and the newest point's dot.
void drawEndMarker(QPainter& p, const GraphGeometry& g, const GraphFonts& fonts) {
  p.setPen(QPen(colourOf(g, kEndLine), 1.0));
  p.drawLine(g.endLine);
  if (!g.endTimeText.isEmpty()) {
    const QFontMetricsF& metrics = fonts.labelMetrics;
    p.setFont(fonts.label);
    p.setPen(colourOf(g, kOtherText));
    p.drawText(QPointF(g.endTimeAnchor.x() - 0.75 * metrics.horizontalAdvance(g.endTimeText),
                       g.endTimeAnchor.y() + metrics.ascent()),
               g.endTimeText);
  }
  if (g.newestDot) drawDot(p, *g.newestDot, colourOf(g, kNewestDot));
}

void drawTitle(QPainter& p, const GraphGeometry& g, const GraphFonts& fonts) {
  if (g.titleText.isEmpty()) return;
  const double titleWidth = fonts.titleMetrics.horizontalAdvance(g.titleText);
  p.setFont(fonts.title);
  p.fillRect(QRectF(QPointF(g.titleAnchor.x(), g.titleAnchor.y()),
                    QPointF(g.titleAnchor.x() + 1.5 * titleWidth, g.size.height())),
             colourOf(g, kBackground));
  p.setPen(colourOf(g, kTitleText));
  p.drawText(QPointF(g.titleAnchor.x() + titleWidth / 4.0,
                     g.titleAnchor.y() + fonts.titleMetrics.ascent()),
             g.titleText);
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

  drawGrid(p, g);
  drawLimitLines(p, g);
  drawCurve(p, g);
  // Margins are cleared after the curve so nothing runs into the labels.
  p.fillRect(g.rightMargin, background);
  p.fillRect(g.bottomMargin, background);

  const GraphFonts fonts(p.font(), p.device());
  drawLabels(p, g, fonts);
  drawEndMarker(p, g, fonts);
  drawLonePoints(p, g, fonts.labelMetrics.height());
  drawTitle(p, g, fonts);
  p.restore();
}

}  // namespace termika
