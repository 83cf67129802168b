#pragma once

#include "ui/print/PrintForm.h"

namespace termika {

// The graph print dialog: printer choice, the printer's set-up dialog, print
// and "Save as PDF".
class Form9 final : public PrintForm {
  Q_OBJECT

 public:
  Form9(Setup setup, QWidget* parent = nullptr);

 private:
  void Form_Load();
};

}  // namespace termika
