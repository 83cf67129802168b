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
  setWindowTitle(texts()[TextId::GraphPrintTitle]);
  auto* layout = new QVBoxLayout(this);
  auto* frame = new QGroupBox(this);
  buildPrinterControls(frame, TextId::GraphPrintPrinter);
  layout->addWidget(frame);
  layout->addWidget(buildButtons(TextId::GraphPrintButton, TextId::GraphPrintCancel));
}

}  // namespace termika
