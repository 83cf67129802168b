#pragma once

#include <QPageLayout>
#include <QPrinter>
#include <QString>

#include "core/base/Result.h"
#include "ui/print/PrintOutcome.h"

namespace termika {

// Fine enough for hairline rules and graph lines one device pixel wide.
inline constexpr int kPrintResolution = 300;

// A4 portrait with 10 mm margins.
QPageLayout defaultPdfLayout();

// Paints the pages into a PDF in memory and replaces `path` with it through
// CommitFile: a failure (unwritable folder, full disk, a device or pipe at
// the name) leaves whatever was there untouched.
Result<PrintOutcome> writePdf(const QString& path, const PagePainter& paint,
                              const QPageLayout& layout = defaultPdfLayout());

// Prints on the printer; a printer dialog's "print to file" goes through
// WritePdf. A printer that cannot start or ends in error gives a message.
Result<PrintOutcome> printOnPrinter(QPrinter& printer, const PagePainter& paint);

}  // namespace termika
