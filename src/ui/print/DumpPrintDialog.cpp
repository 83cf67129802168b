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

  auto* range = new QGroupBox(texts()[TextId::DumpPrintRange], this);
  range->setObjectName(QStringLiteral("Frame2"));
  auto* rangeLayout = new QVBoxLayout(range);
  m_allRows = new QRadioButton(printWord(texts(), PrintWord::AllRows), range);
  m_allRows->setObjectName(QStringLiteral("Option1"));
  auto* selectedRows = new QRadioButton(texts()[TextId::DumpPrintSelectedOnly], range);
  selectedRows->setObjectName(QStringLiteral("Option2"));
  // Without a selection the only useful range is every row.
  selectedRows->setEnabled(rowsSelected());
  (rowsSelected() ? selectedRows : m_allRows)->setChecked(true);
  rangeLayout->addWidget(m_allRows);
  rangeLayout->addWidget(selectedRows);
  layout->addWidget(range);

  auto* frame = new QGroupBox(this);
  buildPrinterControls(frame, TextId::DumpPrintPrinter);
  layout->addWidget(frame);
  layout->addWidget(buildButtons(TextId::DumpPrintButton, TextId::DumpPrintCancel));
}

bool DumpPrintDialog::allRows() const { return m_allRows->isChecked(); }

}  // namespace termika
