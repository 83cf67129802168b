#pragma once

#include <QString>

#include "core/base/UiText.h"

namespace termika {

// Captions and messages of the print dialogs that the text tables do not
// hold, in the table's language.
enum class PrintWord {
  SaveAsPdf,
  Properties,
  PdfFilter,
  AllRows,
  NoPrinter,
  NothingToPrint,
};

QString printWord(const UiText& texts, PrintWord word);

}  // namespace termika
