#include "ui/print/Form9.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace termika {

Form9::Form9(Setup setup, QWidget* parent) : PrintForm(std::move(setup), parent) { Form_Load(); }

void Form9::Form_Load() {
  setObjectName(QStringLiteral("Form9"));
  setWindowTitle(texts().text(303));
  auto* layout = new QVBoxLayout(this);
  auto* frame = new QGroupBox(this);
  buildPrinterControls(frame, 302);
  layout->addWidget(frame);
  layout->addWidget(buildButtons(300, 301));
}

}  // namespace termika
