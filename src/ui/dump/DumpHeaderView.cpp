#include "ui/dump/DumpHeaderView.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QStyleOptionHeader>

namespace termika {
namespace {

constexpr int kArrowSize = 12;

QIcon arrowIcon(bool up, const QColor& colour) {
  QPixmap pixmap(kArrowSize, kArrowSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  const double top = 2.0;
  const double bottom = kArrowSize - 2.0;
  const QPolygonF triangle =
      up ? QPolygonF{{kArrowSize / 2.0, top}, {kArrowSize - 1.0, bottom}, {1.0, bottom}}
         : QPolygonF{{1.0, top}, {kArrowSize - 1.0, top}, {kArrowSize / 2.0, bottom}};
  p.drawPolygon(triangle);
  return QIcon(pixmap);
}

}  // namespace

DumpHeaderView::DumpHeaderView(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent),
      m_ascending(arrowIcon(true, palette().color(QPalette::ButtonText))),
      m_descending(arrowIcon(false, palette().color(QPalette::ButtonText))) {
  setSortIndicatorShown(true);
}

void DumpHeaderView::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
  QHeaderView::initStyleOptionForIndex(option, logicalIndex);
  // Our icon replaces the style's indicator, so no style draws a second one.
  option->sortIndicator = QStyleOptionHeader::None;
  if (logicalIndex != sortIndicatorSection()) return;
  option->icon = sortIndicatorOrder() == Qt::AscendingOrder ? m_ascending : m_descending;
  option->iconAlignment = Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace termika
