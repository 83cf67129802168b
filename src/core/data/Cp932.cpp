#include "core/data/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <optional>

namespace termika::cp932 {
namespace {
constexpr const char* kCodec = "windows-31j";

constexpr auto kStateless = QStringConverter::Flag::Stateless;

// Converters are built in place and never moved: the system converter keeps
// a pointer to its state, so a moved converter stops counting errors.
template <typename Converter>
void open(std::optional<Converter>& converter) {
  converter.reset();
  converter.emplace(kCodec, kStateless);
  if (!converter->isValid()) {
    converter.reset();
    converter.emplace("Shift_JIS", kStateless);
  }
}

// Opening a converter costs far more than converting one remark, so each
// thread keeps one of each. Their error flag only ever goes up (resetting the
// system's converters closes them), so a converter that met bad text is
// replaced by a fresh one.
QStringEncoder& sharedEncoder() {
  thread_local std::optional<QStringEncoder> encoder;
  if (!encoder || encoder->hasError()) open(encoder);
  return *encoder;
}

QStringDecoder& sharedDecoder() {
  thread_local std::optional<QStringDecoder> decoder;
  if (!decoder || decoder->hasError()) open(decoder);
  return *decoder;
}

bool isAscii(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() >= 0x80) return false;
  }
  return true;
}

bool isAscii(const QByteArray& bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Lead bytes of the code page's double-byte characters.
bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Characters the code page lacks become "?", one at a time, so a stray emoji
// never turns into a byte pair that reads back as something else.
QByteArray encodeWithSubstitutes(const QString& text) {
  QByteArray out;
  out.reserve(text.size() * 2);
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QStringEncoder& encoder = sharedEncoder();
    const QByteArray piece = encoder.encode(text.mid(i, len));
    out += encoder.hasError() || piece.isEmpty() ? QByteArray("?") : piece;
    i += len;
  }
  return out;
}

}  // namespace

QByteArray encode(const QString& text) {
  if (isAscii(text)) return text.toLatin1();
  QStringEncoder& encoder = sharedEncoder();
  QByteArray out = encoder.encode(text);
  return encoder.hasError() ? encodeWithSubstitutes(text) : out;
}

QString decode(const QByteArray& bytes) {
  if (isAscii(bytes)) return QString::fromLatin1(bytes);
  thread_local QByteArray lastBytes;
  thread_local QString lastText;
  if (bytes == lastBytes) return lastText;
  lastText = sharedDecoder().decode(bytes);
  lastBytes = bytes;
  return lastText;
}

QByteArray encodeFixed(const QString& text, int width) {
  // Remarks repeat (blanks, the same alarm mark on many points): the last
  // answer is kept so a whole set is not re-encoded character by character.
  thread_local QString lastText;
  thread_local int lastWidth = -1;
  thread_local QByteArray lastBytes;
  if (width == lastWidth && text == lastText) return lastBytes;
  QByteArray out = encode(text);
  if (out.size() > width) {
    // Walk the characters so a double-byte character that does not fit is
    // dropped whole instead of being split.
    qsizetype cut = 0;
    while (cut < out.size()) {
      const qsizetype len = isLeadByte(static_cast<unsigned char>(out.at(cut))) ? 2 : 1;
      if (cut + len > width) break;
      cut += len;
    }
    out.truncate(cut);
  }
  out.append(width - out.size(), ' ');
  lastText = text;
  lastWidth = width;
  lastBytes = out;
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
