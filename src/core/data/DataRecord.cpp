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
  put(out, 0, Temperature);
  put(out, 4, Humidity);
  std::memcpy(out.data() + 8, Reserved.data(), Reserved.size());
  put(out, 16, DateTime);
  put(out, 24, Segment);
  const QByteArray remarks = cp932::encodeFixed(Remarks, kRemarksBytes);
  std::memcpy(out.data() + 28, remarks.constData(), kRemarksBytes);
  put(out, 78, RecordNo);
  std::memcpy(out.data() + 80, Raw.data(), Raw.size());
  return out;
}

DataRecord DataRecord::deserialize(const char* bytes) {
  DataRecord r;
  r.Temperature = get<float>(bytes, 0);
  r.Humidity = get<float>(bytes, 4);
  std::memcpy(r.Reserved.data(), bytes + 8, r.Reserved.size());
  r.DateTime = get<double>(bytes, 16);
  r.Segment = get<float>(bytes, 24);
  r.Remarks = cp932::decode(QByteArray(bytes + 28, kRemarksBytes));
  r.RecordNo = get<std::int16_t>(bytes, 78);
  std::memcpy(r.Raw.data(), bytes + 80, r.Raw.size());
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
