#pragma once

#include <QByteArray>
#include <QString>

namespace termika::cp932 {

// The Japanese Windows code page, in which remarks, names and CSV files are
// stored so they stay interchangeable with Windows programs.
QByteArray encode(const QString& text);
QString decode(const QByteArray& bytes);

// Encodes text into exactly `width` bytes: cut at a character boundary
// (never half a double-byte character), then padded with blanks.
QByteArray encodeFixed(const QString& text, int width);

// True when every character of text is single-byte in the code page
// (0x20..0x7E or half-width katakana 0xA1..0xDF).
bool isSingleByteText(const QString& text);

}  // namespace termika::cp932
