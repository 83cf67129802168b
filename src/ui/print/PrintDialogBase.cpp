#include "ui/print/PrintDialogBase.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPushButton>
#include <algorithm>

#include "ui/print/PrintPreview.h"
#include "ui/print/PrintTarget.h"
#include "ui/print/PrintWords.h"

namespace termika {

PrintDialogBase::PrintDialogBase(Setup setup, QWidget* parent)
    : QDialog(parent),
      m_setup(std::move(setup)),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  setModal(true);
}

PrintDialogBase::~PrintDialogBase() = default;

void PrintDialogBase::buildPrinterControls(QGroupBox* frame, TextId printerCaption) {
  m_ui.printerFrame = frame;
  frame->setTitle(texts().text(printerCaption));
  auto* row = new QHBoxLayout(frame);
  m_ui.printerCombo = new QComboBox(frame);
  m_ui.printerCombo->addItems(m_setup.printers);
  auto* properties = m_ui.propertiesButton =
      new QPushButton(printWord(texts(), PrintWord::Properties), frame);
  row->addWidget(m_ui.printerCombo, 1);
  row->addWidget(properties);

  if (m_setup.printers.isEmpty()) {
    m_ui.printerCombo->setEnabled(false);
  } else {
    const qsizetype current =
        std::max<qsizetype>(0, m_setup.printers.indexOf(m_setup.defaultPrinter));
    m_ui.printerCombo->setCurrentIndex(static_cast<int>(current));
    m_chosen = m_setup.printers.at(current);
    m_printer->setPrinterName(m_chosen);
  }
  connect(m_ui.printerCombo, &QComboBox::activated, this, &PrintDialogBase::printerChosen);
  connect(properties, &QPushButton::clicked, this, &PrintDialogBase::openPrinterSettings);
}

QWidget* PrintDialogBase::buildButtons(TextId printCaption, TextId cancelCaption) {
  auto* box = new QWidget(this);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  m_ui.printButton = new QPushButton(texts().text(printCaption), box);
  m_ui.printButton->setDefault(true);
  auto* pdf = m_ui.pdfButton = new QPushButton(printWord(texts(), PrintWord::SaveAsPdf), box);
  auto* cancel = m_ui.cancelButton = new QPushButton(texts().text(cancelCaption), box);
  row->addStretch(1);
  row->addWidget(m_ui.printButton);
  row->addWidget(pdf);
  row->addWidget(cancel);
  connect(m_ui.printButton, &QPushButton::clicked, this, &PrintDialogBase::print);
  connect(pdf, &QPushButton::clicked, this, &PrintDialogBase::saveAsPdf);
  connect(cancel, &QPushButton::clicked, this, &PrintDialogBase::cancel);
  return box;
}

void PrintDialogBase::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  focusPrintButton();
}

void PrintDialogBase::focusPrintButton() {
  if (m_ui.printButton != nullptr) m_ui.printButton->setFocus();
}

void PrintDialogBase::printerChosen(int index) {
  if (index < 0 || index >= m_setup.printers.size()) return;
  m_chosen = m_setup.printers.at(index);
  m_printer->setPrinterName(m_chosen);
  if (m_ui.printButton != nullptr) m_ui.printButton->setFocus();
}

void PrintDialogBase::print() {
  // The printer dialog may have turned the printer into a PDF file.
  const bool toFile =
      m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty();
  if (m_setup.printers.isEmpty() && !toFile) {
    m_setup.prompts->info(QString(), printWord(texts(), PrintWord::NoPrinter));
    return;
  }
  Result<PagePainter> job = m_setup.prepare(allRows());
  if (!job) {
    m_setup.prompts->info(QString(), job.error().message);
    return;
  }
  // The pages are shown first; closing the preview returns to this dialog.
  if (!confirmInPreview(*m_printer, *job, this)) return;
  finish(printOnPrinter(*m_printer, *job));
}

void PrintDialogBase::cancel() { reject(); }

void PrintDialogBase::openPrinterSettings() {
  // The printer's own settings; choosing a printer here updates the printer list.
  QPrintDialog dialog(m_printer.get(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const qsizetype index = m_setup.printers.indexOf(m_printer->printerName());
  if (index >= 0 && m_ui.printerCombo != nullptr) {
    m_ui.printerCombo->setCurrentIndex(static_cast<int>(index));
    m_chosen = m_setup.printers.at(index);
  }
}

void PrintDialogBase::saveAsPdf() {
  const std::optional<QString> chosen = m_setup.prompts->chooseSaveFile(
      m_setup.proposedPdfName, printWord(texts(), PrintWord::PdfFilter));
  if (!chosen || chosen->isEmpty()) return;
  QString path = *chosen;
  if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
  Result<PagePainter> job = m_setup.prepare(allRows());
  if (!job) {
    m_setup.prompts->info(QString(), job.error().message);
    return;
  }
  finish(writePdf(path, *job));
}

void PrintDialogBase::finish(const Result<PrintOutcome>& result) {
  if (!result) {
    m_setup.prompts->info(QString(), result.error().message);
    return;
  }
  m_outcome = *result;
  accept();
}

}  // namespace termika
