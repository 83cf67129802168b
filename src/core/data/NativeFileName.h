#pragma once

#include <QByteArray>
#include <QString>

namespace termika {

// A Unix file name is bytes, and not all bytes are UTF-8 text. A name is held
// in a QString with every byte that is not part of valid UTF-8 kept as the
// lone surrogate U+DC80 + byte, so it goes back to the system unchanged and
// two such names never fall together (Qt alone would turn both into U+FFFD).
QString fileNameFromNative(const QByteArray& native);
QByteArray nativeFileName(const QString& name);

// True when Qt's own file classes reach the same bytes (no escaped byte).
bool isQtFileName(const QString& name);

}  // namespace termika
