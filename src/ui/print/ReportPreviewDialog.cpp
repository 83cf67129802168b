#include "ui/print/ReportPreviewDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "core/base/Says.h"
#include "ui/print/PrintTarget.h"
#include "ui/print/PrintWords.h"

namespace termika {

ReportPreviewDialog::ReportPreviewDialog(PagePainter report, QString proposedPdfName,
                                         const UiText& texts, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent),
      m_report(std::move(report)),
      m_proposedPdfName(std::move(proposedPdfName)),
      m_texts(texts),
      m_prompts(prompts),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  setWindowTitle(says("Report"));
  m_printer->setPageLayout(defaultPdfLayout());
  m_preview = new QPrintPreviewWidget(m_printer.get(), this);
  m_preview->setZoomMode(QPrintPreviewWidget::FitToWidth);
  connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
    QPainter painter(printer);
    m_report(painter, *printer);
  });
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* printButton = buttons->addButton(says("Print…"), QDialogButtonBox::ActionRole);
  QPushButton* pdfButton =
      buttons->addButton(printWord(texts, PrintWord::SaveAsPdf), QDialogButtonBox::ActionRole);
  buttons->addButton(QDialogButtonBox::Close);
  connect(printButton, &QPushButton::clicked, this, &ReportPreviewDialog::print);
  connect(pdfButton, &QPushButton::clicked, this, &ReportPreviewDialog::saveAsPdf);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_preview, 1);
  layout->addWidget(buttons);
  // A page's width, and as tall as the screen allows, so the buttons stay on it.
  const QRect screen = this->screen()->availableGeometry();
  resize(std::min(720, screen.width()), std::min(900, screen.height() * 9 / 10));
}

ReportPreviewDialog::~ReportPreviewDialog() = default;

int ReportPreviewDialog::pageCount() const { return m_preview->pageCount(); }

void ReportPreviewDialog::print() {
  QPrintDialog dialog(m_printer.get(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (const Result<PrintOutcome> printed = printOnPrinter(*m_printer, m_report); !printed) {
    m_prompts.info(windowTitle(), printed.error().message);
  }
}

void ReportPreviewDialog::saveAsPdf() {
  const std::optional<QString> chosen =
      m_prompts.chooseSaveFile(m_proposedPdfName, printWord(m_texts, PrintWord::PdfFilter));
  if (!chosen || chosen->isEmpty()) return;
  QString path = *chosen;
  if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
  if (const Result<PrintOutcome> written = writePdf(path, m_report); !written) {
    m_prompts.info(windowTitle(), written.error().message);
    return;
  }
  m_prompts.notice(says("Report saved to %1").arg(QDir::toNativeSeparators(path)));
}

}  // namespace termika
