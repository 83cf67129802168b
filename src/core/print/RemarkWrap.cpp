#include "core/print/RemarkWrap.h"

#include "core/data/ExtremeMarks.h"

namespace termika {

QStringList wrapRemark(const QString& remark, double columnWidth,
                       const std::function<double(QStringView)>& widthOf) {
  const QString text = trimBlanks(remark);
  QStringList lines{QString()};
  double x = 0.0;
  for (qsizetype i = 0; i < text.size();) {
    // A surrogate pair is one character on paper.
    const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QStringView ch = QStringView(text).mid(i, n);
    const double w = widthOf(ch);
    if (x + w > columnWidth && !lines.back().isEmpty()) {
      lines.push_back(QString());
      x = 0.0;
    }
    lines.back() += ch;
    x += w;
    i += n;
  }
  return lines;
}

}  // namespace termika
