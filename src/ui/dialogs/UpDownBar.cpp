#include "ui/dialogs/UpDownBar.h"

namespace termika {

UpDownBar::UpDownBar(int minimum, int maximum, QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
  setNumberRange(minimum, maximum);
  setSingleStep(1);
  setPageStep(1);
  setFixedHeight(36);
  connect(this, &QScrollBar::valueChanged, this,
          [this](int value) { Q_EMIT numberChanged(-value); });
}

}  // namespace termika
