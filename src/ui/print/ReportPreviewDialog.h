#pragma once

#include <QDialog>
#include <QPrinter>
#include <memory>

#include "core/base/UiText.h"
#include "core/base/UserPrompts.h"
#include "ui/print/PrintOutcome.h"

class QPrintPreviewWidget;

namespace termika {

// The report of a set shown page by page before it goes anywhere; from here
// it is printed on a printer or saved as a PDF.
class ReportPreviewDialog final : public QDialog {
 public:
  ReportPreviewDialog(PagePainter report, QString proposedPdfName, const UiText& texts,
                      UserPrompts& prompts, QWidget* parent = nullptr);
  ~ReportPreviewDialog() override;

  QPrintPreviewWidget* preview() const { return m_preview; }
  // The pages the preview shows.
  int pageCount() const;

  // The printer dialog, then the printer; a PDF chosen there is written whole.
  void print();
  // Asks for a file name (".pdf" added) and writes the report there.
  void saveAsPdf();

 private:
  PagePainter m_report;
  QString m_proposedPdfName;
  const UiText& m_texts;
  UserPrompts& m_prompts;
  std::unique_ptr<QPrinter> m_printer;
  QPrintPreviewWidget* m_preview = nullptr;
};

}  // namespace termika
