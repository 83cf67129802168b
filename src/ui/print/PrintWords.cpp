#include "ui/print/PrintWords.h"

namespace termika {

QString printWord(const UiText& texts, PrintWord word) {
  const bool ja = texts.language() == UiText::Language::Japanese;
  switch (word) {
    case PrintWord::SaveAsPdf:
      return ja ? QStringLiteral("PDFに保存...") : QStringLiteral("Save as PDF...");
    case PrintWord::Properties:
      return ja ? QStringLiteral("プロパティ...") : QStringLiteral("Properties...");
    case PrintWord::PdfFilter:
      return ja ? QStringLiteral("PDFﾌｧｲﾙ(*.pdf)|*.pdf") : QStringLiteral("PDF(*.pdf)|*.pdf");
    case PrintWord::AllRows:
      return ja ? QStringLiteral("全データを印刷") : QStringLiteral("All data is printed.");
    case PrintWord::NoPrinter:
      return ja ? QStringLiteral("プリンタがインストールされていません。PDFに保存できます。")
                : QStringLiteral("No printer is installed. The pages can be saved as PDF.");
    case PrintWord::NothingToPrint:
      return ja ? QStringLiteral("印刷するデータがありません。")
                : QStringLiteral("There is no data to print.");
  }
  return QString();
}

}  // namespace termika
