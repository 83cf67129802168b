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
  setWindowTitle(texts().text(315));
  auto* layout = new QVBoxLayout(this);

  auto* range = new QGroupBox(texts().text(312), this);
  range->setObjectName(QStringLiteral("Frame2"));
  auto* rangeLayout = new QVBoxLayout(range);
  m_allRows = new QRadioButton(printWord(texts(), PrintWord::AllRows), range);
  m_allRows->setObjectName(QStringLiteral("Option1"));
  auto* selectedRows = new QRadioButton(texts().text(313), range);
  selectedRows->setObjectName(QStringLiteral("Option2"));
  // Without a selection the only useful range is every row.
  selectedRows->setEnabled(rowsSelected());
  (rowsSelected() ? selectedRows : m_allRows)->setChecked(true);
  rangeLayout->addWidget(m_allRows);
  rangeLayout->addWidget(selectedRows);
  layout->addWidget(range);

  auto* frame = new QGroupBox(this);
  buildPrinterControls(frame, 314);
  layout->addWidget(frame);
  layout->addWidget(buildButtons(310, 311));
}

bool DumpPrintDialog::allRows() const { return m_allRows->isChecked(); }

}  // namespace termika
