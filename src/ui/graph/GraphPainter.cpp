#include "ui/graph/GraphPainter.h"

#include <QFontMetricsF>
#include <algorithm>
#include <vector>

namespace termika {
namespace {

// Labels keep at least a character's width between them.
double zeroGap(const QFontMetricsF& metrics) {
  return metrics.horizontalAdvance(QStringLiteral("0"));
}

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
    if (!s.points.empty()) drawDot(p, s.points.front(), dot);
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
  // In a narrow graph the rules can ask for more labels than fit: a label that
  // would overlap one already drawn is left out, dates ("m/d") going first.
  std::vector<QRectF> drawn;
  for (const bool dates : {true, false}) {
    for (const TimeLabel& l : g.timeLabels) {
      if (l.text.contains(u'/') != dates) continue;
      const double w = metrics.horizontalAdvance(l.text);
      const QRectF box(l.anchor.x() - w / 2.0, l.anchor.y(), w + zeroGap(metrics),
                       metrics.height());
      if (std::any_of(drawn.begin(), drawn.end(),
                      [&](const QRectF& r) { return r.intersects(box); })) {
        continue;
      }
      drawn.push_back(box);
      p.drawText(QPointF(box.left(), l.anchor.y() + metrics.ascent()), l.text);
    }
  }
  const double zeroWidth = metrics.horizontalAdvance(QStringLiteral("0"));
  for (const ValueLabel& l : g.valueLabels) {
    const double baseline = l.anchor.y() - metrics.height() / 2.0 + metrics.ascent();
    p.drawText(QPointF(l.anchor.x() + zeroWidth / 2.0, baseline), l.text);
  }

  p.setPen(QPen(colourOf(g, kEndLine), 1.0));
  p.drawLine(g.endLine);
  if (!g.endTimeText.isEmpty()) {
    const double w = metrics.horizontalAdvance(g.endTimeText);
    p.setPen(colourOf(g, kOtherText));
    p.drawText(QPointF(g.endTimeAnchor.x() - 0.75 * w, g.endTimeAnchor.y() + metrics.ascent()),
               g.endTimeText);
  }
  if (g.newestDot) drawDot(p, *g.newestDot, colourOf(g, kNewestDot));

  if (!g.titleText.isEmpty()) {
    QFont titleFont = font;
    titleFont.setPointSize(kTitlePointSize);
    p.setFont(titleFont);
    const QFontMetricsF tm(titleFont, p.device());
    const double w = tm.horizontalAdvance(g.titleText);
    p.fillRect(QRectF(QPointF(g.titleAnchor.x(), g.titleAnchor.y()),
                      QPointF(g.titleAnchor.x() + 1.5 * w, g.size.height())),
               background);
    p.setPen(colourOf(g, kTitleText));
    p.drawText(QPointF(g.titleAnchor.x() + w / 4.0, g.titleAnchor.y() + tm.ascent()), g.titleText);
  }
  p.restore();
}

}  // namespace termika
