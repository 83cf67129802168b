#pragma once

#include <QHeaderView>
#include <QIcon>

namespace termika {

// The column header of a dump list. The sort column carries an arrow icon
// (pointing up for ascending, down for descending) beside its caption, drawn
// by us rather than left to the style, which may draw no indicator at all.
class DumpHeaderView final : public QHeaderView {
  Q_OBJECT

 public:
  explicit DumpHeaderView(QWidget* parent = nullptr);

 protected:
  void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;

 private:
  QIcon m_ascending;
  QIcon m_descending;
};

}  // namespace termika
