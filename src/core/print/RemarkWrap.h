#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

namespace termika {

// The remark as printed: the blanks padding it to 50 characters are dropped,
// then it is set one character at a time and a character that would pass the
// column's right end starts the next line. Always at least one line (possibly
// empty), so a row without a remark still takes its line.
QStringList wrapRemark(const QString& remark, double columnWidth,
                       const std::function<double(QStringView)>& widthOf);

}  // namespace termika
