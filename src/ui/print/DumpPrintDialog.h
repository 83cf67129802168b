#pragma once

#include "ui/print/PrintDialogBase.h"

namespace termika {

// The dump print dialog: as the graph dialog, plus the print range:
// the rows selected in the dump list when there are any, else every row.
class DumpPrintDialog final : public PrintDialogBase {
  Q_OBJECT

 public:
  DumpPrintDialog(Setup setup, QWidget* parent = nullptr);

 protected:
  bool allRows() const override;

 private:
  void buildControls();
};

}  // namespace termika
