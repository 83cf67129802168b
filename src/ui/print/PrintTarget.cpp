#include "ui/print/PrintTarget.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

#include "core/app/Says.h"

namespace termika {

QPageLayout DefaultPdfLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                     QPageLayout::Millimeter);
}

Result<PrintOutcome> WritePdf(const QString& path, const PagePainter& paint,
                              const QPageLayout& layout) {
  const QString shown = QDir::toNativeSeparators(path);
  if (path.isEmpty()) return Error{says("No PDF file name was given.")};
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    return Error{says("Cannot write the PDF file %1: %2").arg(shown, file.errorString())};
  }
  QPdfWriter writer(&file);
  writer.setPageLayout(layout);
  writer.setResolution(kPrintResolution);
  writer.setCreator(QStringLiteral("Termika"));
  writer.setTitle(QFileInfo(path).completeBaseName());
  QPainter painter;
  if (!painter.begin(&writer)) {
    file.cancelWriting();
    return Error{says("Cannot start the PDF file %1.").arg(shown)};
  }
  const PrintOutcome outcome = paint(painter, writer);
  painter.end();
  if (!file.commit()) {
    return Error{says("Cannot write the PDF file %1: %2").arg(shown, file.errorString())};
  }
  return outcome;
}

Result<PrintOutcome> PrintOnPrinter(QPrinter& printer, const PagePainter& paint) {
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    if (printer.outputFileName().isEmpty()) {
      return Error{says("No printer is chosen and no PDF file name was given.")};
    }
    return WritePdf(printer.outputFileName(), paint, printer.pageLayout());
  }
  printer.setResolution(kPrintResolution);
  QPainter painter;
  if (!painter.begin(&printer)) {
    return Error{says("The printer \"%1\" cannot be started.").arg(printer.printerName())};
  }
  const PrintOutcome outcome = paint(painter, printer);
  painter.end();
  if (printer.printerState() == QPrinter::Error) {
    return Error{says("The printer \"%1\" reported an error; the pages may be incomplete.")
                     .arg(printer.printerName())};
  }
  return outcome;
}

}  // namespace termika
