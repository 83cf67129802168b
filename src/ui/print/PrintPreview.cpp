#include "ui/print/PrintPreview.h"

#include <QAction>
#include <QCoreApplication>
#include <QPainter>
#include <QPrintPreviewDialog>

#include "ui/print/PrintTarget.h"

namespace termika {

bool confirmInPreview(QPrinter& printer, const PagePainter& paint, QWidget* parent) {
  // The pages are laid out at the resolution they will be printed at.
  if (printer.outputFormat() == QPrinter::NativeFormat) printer.setResolution(kPrintResolution);
  QPrintPreviewDialog preview(&printer, parent);
  preview.setObjectName(QStringLiteral("PrintPreview"));
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [&paint](QPrinter* pages) {
                     QPainter painter;
                     if (painter.begin(pages)) paint(painter, *pages);
                   });
  // The preview's own print button would print straight from the preview,
  // past the error checks and the safe PDF write; here it only says "go on".
  // It is found by the caption Qt gives it, in the language Qt speaks.
  const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
  QAction* printAction = nullptr;
  for (QAction* action : preview.findChildren<QAction*>()) {
    if (action->text() == print) printAction = action;
  }
  // Without that button the preview could only print by itself: skip it.
  if (printAction == nullptr) return true;
  QObject::disconnect(printAction, &QAction::triggered, &preview, nullptr);
  QObject::connect(printAction, &QAction::triggered, &preview, &QDialog::accept);
  return preview.exec() == QDialog::Accepted;
}

}  // namespace termika
