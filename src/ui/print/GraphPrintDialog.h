#pragma once

#include "ui/print/PrintDialogBase.h"

namespace termika {

// The graph print dialog: printer choice, the printer's set-up dialog, print
// and "Save as PDF".
class GraphPrintDialog final : public PrintDialogBase {
  Q_OBJECT

 public:
  GraphPrintDialog(Setup setup, QWidget* parent = nullptr);

 private:
  void buildControls();
};

}  // namespace termika
