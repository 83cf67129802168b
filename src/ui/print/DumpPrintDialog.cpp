#include "ui/print/DumpPrintDialog.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/print/PrintWords.h"

namespace termika {

DumpPrintDialog::DumpPrintDialog(Setup setup, QWidget* parent)
    : PrintDialogBase(std::move(setup), parent) {
  buildControls();
}

void DumpPrintDialog::buildControls() {
  setObjectName(QStringLiteral("DumpPrintDialog"));
  setWindowTitle(texts()[TextId::DumpPrintTitle]);
  auto* layout = new QVBoxLayout(this);

  auto* range = m_ui.rangeFrame = new QGroupBox(texts()[TextId::DumpPrintRange], this);
  auto* rangeLayout = new QVBoxLayout(range);
  auto* allRows = m_ui.allRowsRadio =
      new QRadioButton(printWord(texts(), PrintWord::AllRows), range);
  auto* selectedRows = m_ui.selectedRowsRadio =
      new QRadioButton(texts()[TextId::DumpPrintSelectedOnly], range);
  // Without a selection the only useful range is every row.
  selectedRows->setEnabled(rowsSelected());
  (rowsSelected() ? selectedRows : allRows)->setChecked(true);
  rangeLayout->addWidget(allRows);
  rangeLayout->addWidget(selectedRows);
  layout->addWidget(range);

  auto* frame = new QGroupBox(this);
  buildPrinterControls(frame, TextId::DumpPrintPrinter);
  layout->addWidget(frame);
  layout->addWidget(buildButtons(TextId::DumpPrintButton, TextId::DumpPrintCancel));
}

bool DumpPrintDialog::allRows() const { return m_ui.allRowsRadio->isChecked(); }

}  // namespace termika
