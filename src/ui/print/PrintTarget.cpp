#include "ui/print/PrintTarget.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>

#include "core/base/Says.h"
#include "core/data/OutputFile.h"

namespace termika {

QPageLayout defaultPdfLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                     QPageLayout::Millimeter);
}

Result<PrintOutcome> writePdf(const QString& path, const PagePainter& paint,
                              const QPageLayout& layout) {
  const QString shown = QDir::toNativeSeparators(path);
  if (path.isEmpty()) return Error{says("No PDF file name was given.")};
  // Checked before the pages are painted, which can take a while.
  if (Result<void> usable = checkOutputFile(path); !usable) return usable.error();
  // The writer paints into memory; the file is then replaced in one checked
  // step, like every other file the program writes.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  PrintOutcome outcome;
  {
    QPdfWriter writer(&buffer);
    writer.setPageLayout(layout);
    writer.setResolution(kPrintResolution);
    writer.setCreator(QStringLiteral("Termika"));
    writer.setTitle(QFileInfo(path).completeBaseName());
    QPainter painter;
    if (!painter.begin(&writer)) {
      return Error{says("Cannot start the PDF file %1.").arg(shown)};
    }
    outcome = paint(painter, writer);
    painter.end();
  }
  if (Result<void> saved = commitFile(path, bytes); !saved) return saved.error();
  return outcome;
}

Result<PrintOutcome> printOnPrinter(QPrinter& printer, const PagePainter& paint) {
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    if (printer.outputFileName().isEmpty()) {
      return Error{says("No printer is chosen and no PDF file name was given.")};
    }
    return writePdf(printer.outputFileName(), paint, printer.pageLayout());
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
