// The CSV reader on arbitrary bytes, with the header texts of both languages.
#include <QByteArray>
#include <cmath>

#include "FuzzSupport.h"
#include "core/data/Csv.h"

namespace termika {
namespace {

void check(const CsvReadResult& result) {
  if (!result.ok()) {
    // Every refusal says why, so the user is never shown an empty message.
    fuzz::require(!result.error.message.isEmpty());
    return;
  }
  const CsvContent& content = *result.content;
  fuzz::require(content.records.size() <= static_cast<size_t>(csv::kMaxDataRows));
  // A first point later than one interval after the start already opens a
  // second run; after that every gap opens at most one more.
  float segment = 1.0f;
  for (size_t i = 0; i < content.records.size(); ++i) {
    const DataRecord& r = content.records[i];
    fuzz::require(r.recordNo == static_cast<int>(i) + 1);
    fuzz::require(std::isfinite(r.dateTime));
    fuzz::require(r.temperature >= -40.0f && r.temperature <= 100.0f);
    fuzz::require(r.humidity >= 0.0f && r.humidity <= 100.0f);
    fuzz::require(r.segment == segment || r.segment == segment + 1.0f);
    segment = r.segment;
  }
}

}  // namespace
}  // namespace termika

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  termika::fuzz::ensureApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static const termika::UiText ja = termika::UiText::load(termika::UiText::Language::Japanese);
  static const termika::UiText en = termika::UiText::load(termika::UiText::Language::English);
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  termika::check(termika::parseCsv(bytes, ja));
  termika::check(termika::parseCsv(bytes, en));
  return 0;
}
