#pragma once

#include "ui/print/PrintForm.h"

class QRadioButton;

namespace termika {

// The dump print dialog: as the graph dialog, plus the print range (Frame2):
// the rows selected in the dump list when there are any, else every row.
class Form10 final : public PrintForm {
  Q_OBJECT

 public:
  Form10(Setup setup, QWidget* parent = nullptr);

 protected:
  bool allRows() const override;

 private:
  void Form_Load();

  QRadioButton* m_allRows = nullptr;
};

}  // namespace termika
