#include "ui/print/GraphPrintDialog.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace termika {

GraphPrintDialog::GraphPrintDialog(Setup setup, QWidget* parent)
    : PrintDialogBase(std::move(setup), parent) {
  buildControls();
}

void GraphPrintDialog::buildControls() {
  setObjectName(QStringLiteral("GraphPrintDialog"));
  setWindowTitle(texts().text(303));
  auto* layout = new QVBoxLayout(this);
  auto* frame = new QGroupBox(this);
  buildPrinterControls(frame, 302);
  layout->addWidget(frame);
  layout->addWidget(buildButtons(300, 301));
}

}  // namespace termika
