#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace termika {

// One measured point. On disk it is exactly 84 bytes, little-endian, in the
// field order below, with no padding (see serialize()).
struct DataRecord {
  static constexpr int kSize = 84;
  static constexpr int kRemarksBytes = 50;

  float temperature = 0.0f;                // offset 0, °C after conversion
  float humidity = 0.0f;                   // offset 4, %RH after conversion
  std::array<std::uint8_t, 8> reserved{};  // offset 8, always zero
  double dateTime = 0.0;                   // offset 16, day serial
  float segment = 0.0f;                    // offset 24, 1-based run number
  QString remarks;                         // offset 28, 50 bytes Windows-31J, blank padded
  std::int16_t recordNo = 0;               // offset 78, 1-based number in its set
  std::array<std::uint8_t, 4> raw{};       // offset 80, temp hi, temp lo, hum hi, hum lo

  int rawTemperature() const { return raw[0] * 256 + raw[1]; }
  int rawHumidity() const { return raw[2] * 256 + raw[3]; }

  QByteArray serialize() const;
  // `bytes` must hold kSize bytes. Reserved bytes are read back as stored.
  static DataRecord deserialize(const char* bytes);

  friend bool operator==(const DataRecord&, const DataRecord&) = default;
};

// The remark as stored: cut to 50 bytes at a character boundary, blank padded,
// decoded back. Assigning through this keeps in-memory and on-disk text equal.
QString fitRemarks(const QString& text);
// The remark without the trailing blanks of its padding (leading ones are its
// own): what other programs are given. fitRemarks turns it back.
QString unpaddedRemarks(const QString& remarks);

}  // namespace termika
