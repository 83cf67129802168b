#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QString>
#include <vector>

#include "core/print/PrintHeader.h"
#include "core/print/PrintPage.h"

namespace termika {

// Text and rules on a printed page, placed in page units. The 10.5 pt font is
// set on the printer itself and its metrics are converted into page units, so
// what is measured is what is printed.
class PageText final {
 public:
  PageText(QPainter& painter, const QPaintDevice& device);

  const PageScale& scale() const { return m_scale; }
  const PrintMetrics& metrics() const { return m_metrics; }
  const ColumnPositions& columns() const { return m_columns; }

  // Width of a text in page units across.
  double width(QStringView text) const;
  // Draws a text whose top left is at (x, top).
  void text(double x, double top, const QString& s);
  // The same, squeezed across when it would pass maxWidth, so it never runs
  // into the next column.
  void fittedText(double x, double top, double maxWidth, const QString& s);
  void rule(double x1, double y1, double x2, double y2);

  // The header block from the top of the page, one line per pitch; returns
  // the print position under it.
  double headerBlock(const std::vector<HeaderLine>& lines);

 private:
  QPainter& m_painter;
  QFont m_font;
  QFontMetricsF m_fontMetrics;
  PageScale m_scale;
  PrintMetrics m_metrics;
  ColumnPositions m_columns;
  double m_ascent = 0.0;  // device pixels
  double m_ruleWidth = 1.0;
};

}  // namespace termika
