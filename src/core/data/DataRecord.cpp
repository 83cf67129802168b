#include "core/data/DataRecord.h"

#include <QtEndian>
#include <cstring>

#include "core/data/Cp932.h"

namespace termika {
namespace {

template <typename T>
void put(QByteArray& out, int offset, T value) {
  qToLittleEndian(value, out.data() + offset);
}

template <typename T>
T get(const char* in, int offset) {
  return qFromLittleEndian<T>(in + offset);
}

}  // namespace

static_assert(sizeof(float) == 4 && sizeof(double) == 8, "IEEE single and double expected");

QByteArray DataRecord::serialize() const {
  QByteArray out(kSize, '\0');
  put(out, 0, temperature);
  put(out, 4, humidity);
  std::memcpy(out.data() + 8, reserved.data(), reserved.size());
  put(out, 16, dateTime);
  put(out, 24, segment);
  const QByteArray remarkBytes = cp932::encodeFixed(remarks, kRemarksBytes);
  std::memcpy(out.data() + 28, remarkBytes.constData(), kRemarksBytes);
  put(out, 78, recordNo);
  std::memcpy(out.data() + 80, raw.data(), raw.size());
  return out;
}

DataRecord DataRecord::deserialize(const char* bytes) {
  DataRecord r;
  r.temperature = get<float>(bytes, 0);
  r.humidity = get<float>(bytes, 4);
  std::memcpy(r.reserved.data(), bytes + 8, r.reserved.size());
  r.dateTime = get<double>(bytes, 16);
  r.segment = get<float>(bytes, 24);
  r.remarks = cp932::decode(QByteArray(bytes + 28, kRemarksBytes));
  r.recordNo = get<std::int16_t>(bytes, 78);
  std::memcpy(r.raw.data(), bytes + 80, r.raw.size());
  return r;
}

QString fitRemarks(const QString& text) {
  return cp932::decode(cp932::encodeFixed(text, DataRecord::kRemarksBytes));
}

QString unpaddedRemarks(const QString& remarks) {
  qsizetype end = remarks.size();
  while (end > 0 && remarks.at(end - 1) == u' ') --end;
  return remarks.left(end);
}

}  // namespace termika
