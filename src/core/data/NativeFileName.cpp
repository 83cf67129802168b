#include "core/data/NativeFileName.h"

#include <QFile>

namespace termika {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool isEscapedByte(QChar c) { return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF; }

// Length of the UTF-8 sequence `lead` starts, 0 for a byte that starts none.
qsizetype sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

QString fileNameFromNative(const QByteArray& native) {
  if (native.isValidUtf8()) return QFile::decodeName(native);
  QString name;
  qsizetype i = 0;
  while (i < native.size()) {
    const qsizetype length = sequenceLength(static_cast<unsigned char>(native[i]));
    const QByteArray sequence = native.mid(i, length);
    if (length > 0 && sequence.size() == length && sequence.isValidUtf8()) {
      name += QString::fromUtf8(sequence);
      i += length;
    } else {
      name += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(native[i])));
      ++i;
    }
  }
  return name;
}

QByteArray nativeFileName(const QString& name) {
  if (isQtFileName(name)) return QFile::encodeName(name);
  QByteArray native;
  qsizetype start = 0;
  for (qsizetype i = 0; i <= name.size(); ++i) {
    if (i < name.size() && !isEscapedByte(name[i])) continue;
    native += QFile::encodeName(name.mid(start, i - start));
    if (i < name.size()) native += static_cast<char>(name[i].unicode() - kEscapeBase);
    start = i + 1;
  }
  return native;
}

bool isQtFileName(const QString& name) {
  for (const QChar c : name) {
    if (isEscapedByte(c)) return false;
  }
  return true;
}

}  // namespace termika
