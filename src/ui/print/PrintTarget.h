#pragma once

#include <QPageLayout>
#include <QPrinter>
#include <QString>

#include "core/Result.h"
#include "ui/print/PrintOutcome.h"

namespace termika {

// Fine enough for hairline rules and graph lines one device pixel wide.
inline constexpr int kPrintResolution = 300;

// A4 portrait with 10 mm margins.
QPageLayout DefaultPdfLayout();

// Writes the pages to a PDF file through a temporary file beside it: `path`
// is replaced only once every page is written, so a failure (unwritable
// folder, full disk) leaves no half-written file behind.
Result<PrintOutcome> WritePdf(const QString& path, const PagePainter& paint,
                              const QPageLayout& layout = DefaultPdfLayout());

// Prints on the printer; a printer dialog's "print to file" goes through
// WritePdf. A printer that cannot start or ends in error gives a message.
Result<PrintOutcome> PrintOnPrinter(QPrinter& printer, const PagePainter& paint);

}  // namespace termika
