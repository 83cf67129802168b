#include "core/data/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace termika::cp932 {
namespace {
constexpr const char* kCodec = "windows-31j";
}

QByteArray encode(const QString& text) {
  QStringEncoder encoder(kCodec);
  if (!encoder.isValid()) encoder = QStringEncoder("Shift_JIS");
  return encoder.encode(text);
}

QString decode(const QByteArray& bytes) {
  QStringDecoder decoder(kCodec);
  if (!decoder.isValid()) decoder = QStringDecoder("Shift_JIS");
  return decoder.decode(bytes);
}

QByteArray encodeFixed(const QString& text, int width) {
  QByteArray out;
  out.reserve(width);
  // Encode character by character so a double-byte character that does not
  // fit is dropped whole instead of being split.
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QByteArray piece = encode(text.mid(i, len));
    if (out.size() + piece.size() > width) break;
    out += piece;
    i += len;
  }
  out.append(width - out.size(), ' ');
  return out;
}

bool isSingleByteText(const QString& text) {
  for (const QChar c : text) {
    const QByteArray b = encode(QString(c));
    if (b.size() != 1) return false;
    const auto v = static_cast<unsigned char>(b.at(0));
    const bool printable = v >= 0x20 && v <= 0x7E;
    const bool kana = v >= 0xA1 && v <= 0xDF;
    if (!printable && !kana) return false;
    if (b == "?" && c != QLatin1Char('?')) return false;  // unmappable character
  }
  return true;
}

}  // namespace termika::cp932
