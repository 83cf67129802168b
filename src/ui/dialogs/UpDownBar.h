#pragma once

#include <QScrollBar>

namespace termika {

// A small vertical bar used as an up/down control: its upper arrow raises
// the number, the lower one lowers it, and the thumb stands higher for a
// higher number. A plain vertical scroll bar counts downwards, so the bar
// holds the negated number and this class shows the number itself.
class UpDownBar final : public QScrollBar {
  Q_OBJECT

 public:
  UpDownBar(int minimum, int maximum, QWidget* parent = nullptr);

  int number() const { return -value(); }
  void setNumber(int number) { setValue(-number); }
  void setNumberRange(int minimum, int maximum) { setRange(-maximum, -minimum); }
  int lowest() const { return -maximum(); }
  int highest() const { return -minimum(); }

 Q_SIGNALS:
  void numberChanged(int number);
};

}  // namespace termika
