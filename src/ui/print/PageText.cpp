#include "ui/print/PageText.h"

#include <algorithm>

namespace termika {
namespace {

constexpr double kRuleMillimetres = 0.2;

QFont withPrintSize(QFont font) {
  font.setPointSizeF(kPrintPointSize);
  return font;
}

}  // namespace

PageText::PageText(QPainter& painter, const QPaintDevice& device)
    : m_painter(painter),
      m_font(withPrintSize(painter.font())),
      m_fontMetrics(m_font, &device),
      m_scale{static_cast<double>(device.width()), static_cast<double>(device.height())} {
  m_painter.setFont(m_font);
  // Measured on the device itself, so what is measured is what is printed.
  const QFontMetricsF& fm = m_fontMetrics;
  const QString a = QStringLiteral("A");
  m_metrics = measurePrintMetrics(m_scale, fm.height(), fm.horizontalAdvance(a));
  m_columns = setColumnPositions(kLeftMargin, m_metrics.charWidth);
  m_ascent = fm.ascent();
  m_ruleWidth = std::max(1.0, kRuleMillimetres / 25.4 * device.logicalDpiX());
}

double PageText::width(QStringView text) const {
  return m_scale.unitsX(m_fontMetrics.horizontalAdvance(text.toString()));
}

void PageText::text(double x, double top, const QString& s) {
  m_painter.setPen(Qt::black);
  m_painter.drawText(QPointF(m_scale.x(x), m_scale.y(top) + m_ascent), s);
}

void PageText::fittedText(double x, double top, double maxWidth, const QString& s) {
  const double w = width(s);
  if (w <= maxWidth || w <= 0.0) {
    text(x, top, s);
    return;
  }
  m_painter.save();
  m_painter.translate(m_scale.x(x), m_scale.y(top) + m_ascent);
  m_painter.scale(maxWidth / w, 1.0);
  m_painter.setPen(Qt::black);
  m_painter.drawText(QPointF(0.0, 0.0), s);
  m_painter.restore();
}

void PageText::rule(double x1, double y1, double x2, double y2) {
  m_painter.setPen(QPen(Qt::black, m_ruleWidth));
  m_painter.drawLine(m_scale.point(x1, y1), m_scale.point(x2, y2));
}

double PageText::headerBlock(const std::vector<HeaderLine>& lines) {
  // Labels longer than the value column (the English ones) push every value
  // along together, so the values stay in one column.
  double valueX = m_columns.headerValue;
  for (const HeaderLine& line : lines) {
    if (!line.value.isEmpty()) {
      valueX = std::max(valueX, kLeftMargin + width(line.label) + m_metrics.charWidth / 2.0);
    }
  }
  double y = 0.0;
  for (const HeaderLine& line : lines) {
    text(kLeftMargin, y, line.label);
    if (!line.value.isEmpty()) text(valueX, y, line.value);
    y += m_metrics.linePitch;
  }
  return y;
}

}  // namespace termika
