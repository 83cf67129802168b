#include "core/data/Csv.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <cmath>

#include "core/base/Says.h"
#include "core/data/Cp932.h"
#include "core/data/DayTime.h"
#include "core/data/ExtremesUpdate.h"
#include "core/data/Formats.h"
#include "core/data/LoggerModel.h"
#include "core/data/OutputFile.h"

namespace termika {
namespace {

constexpr auto kStateless = QStringConverter::Flag::Stateless;
constexpr double kMinTemperature = -40.0;
constexpr double kMaxTemperature = 100.0;
constexpr double kMinHumidity = 0.0;
constexpr double kMaxHumidity = 100.0;
constexpr int kMaxInterval = 86400;

// ---------------------------------------------------------------- writing

QString quoted(const QString& text) {
  QString escaped = text;
  escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
  return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString joinLine(const QStringList& items) {
  return items.join(QLatin1Char(',')) + QLatin1String("\r\n");
}

// ---------------------------------------------------------------- reading

struct Item {
  QString text;
  bool quoted = false;
};

// Splits one line into items with the runtime's "input" convention. nullopt
// with `why` when a quoted item is not closed or is followed by stray text.
std::optional<std::vector<Item>> splitItems(const QString& line, QString& why) {
  std::vector<Item> items;
  qsizetype i = 0;
  const qsizetype n = line.size();
  auto skipBlanks = [&] {
    while (i < n && (line[i] == u' ' || line[i] == u'\t')) ++i;
  };
  while (true) {
    skipBlanks();
    Item item;
    if (i < n && line[i] == u'"') {
      item.quoted = true;
      ++i;
      bool closed = false;
      while (i < n) {
        if (line[i] == u'"') {
          if (i + 1 < n && line[i + 1] == u'"') {
            item.text += QLatin1Char('"');
            i += 2;
            continue;
          }
          closed = true;
          ++i;
          break;
        }
        item.text += line[i++];
      }
      if (!closed) {
        why = says("a quoted item is not closed (the line may be cut short)");
        return std::nullopt;
      }
      skipBlanks();
      if (i < n && line[i] != u',') {
        why = says("unexpected text after a quoted item");
        return std::nullopt;
      }
    } else {
      const qsizetype start = i;
      while (i < n && line[i] != u',') ++i;
      item.text = line.mid(start, i - start).trimmed();
    }
    items.push_back(item);
    if (i >= n) break;
    ++i;  // the comma
  }
  return items;
}

std::optional<double> parseDecimal(const QString& text) {
  static const QRegularExpression kRe(QStringLiteral("^[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
  const QString t = text.trimmed();
  if (!kRe.match(t).hasMatch()) return std::nullopt;
  bool ok = false;
  const double v = t.toDouble(&ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

enum class Encoding { Utf8, Cp932 };

// Splits the bytes into lines at CR LF, LF or a lone CR (old Mac files) and
// decodes each in one encoding.
class LineReader final {
 public:
  LineReader(const QByteArray& bytes, Encoding encoding) : m_bytes(bytes), m_encoding(encoding) {}

  int lineNo() const { return m_lineNo; }
  // True once a line was not text of the encoding.
  bool undecodable() const { return m_undecodable; }

  // nullopt at the end of the file; sets `error` instead when a line is bad.
  std::optional<QString> next(QString& error) {
    const qsizetype size = m_bytes.size();
    if (m_position >= size) return std::nullopt;
    qsizetype end = m_position;
    while (end < size && m_bytes[end] != '\n' && m_bytes[end] != '\r') ++end;
    const QByteArray raw = m_bytes.mid(m_position, end - m_position);
    if (end < size && m_bytes[end] == '\r') ++end;
    if (end < size && m_bytes[end] == '\n') ++end;
    m_position = end;
    ++m_lineNo;
    if (raw.size() > csv::kMaxLineBytes) {
      error = says("the line is longer than %1 bytes").arg(csv::kMaxLineBytes);
      return std::nullopt;
    }
    if (raw.contains('\0')) {
      error = says("the line holds binary data, not text");
      return std::nullopt;
    }
    if (isAscii(raw)) return QString::fromLatin1(raw);
    if (m_encoding == Encoding::Utf8) {
      if (raw.isValidUtf8()) return QString::fromUtf8(raw);
      m_undecodable = true;
      error = says("the line is not valid UTF-8 text");
      return std::nullopt;
    }
    // The first error ends the reading, so the decoder never needs a reset.
    // Built in place: a moved system converter stops counting errors.
    if (!m_cp932) m_cp932.emplace("windows-31j", kStateless);
    if (!m_cp932->isValid()) {
      m_cp932.reset();
      m_cp932.emplace("Shift_JIS", kStateless);
    }
    QString text = m_cp932->decode(raw);
    if (m_cp932->hasError()) {
      m_undecodable = true;
      error = says("the line is not valid Windows-31J text");
      return std::nullopt;
    }
    return text;
  }

 private:
  static bool isAscii(const QByteArray& bytes) {
    for (const char c : bytes) {
      if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
  }

  const QByteArray& m_bytes;
  Encoding m_encoding;
  std::optional<QStringDecoder> m_cp932;  // opened on the first line that needs it
  qsizetype m_position = 0;
  int m_lineNo = 0;
  bool m_undecodable = false;
};

CsvReadError lineError(int line, const QString& message, bool wrongHeader = false) {
  return {wrongHeader, line, line > 0 ? says("Line %1: %2").arg(line).arg(message) : message};
}

// The program's general date, or ISO 8601 as its UTF-8 exports write it.
std::optional<double> readTime(const QString& text) {
  const std::optional<double> general = fmt::parseGeneralDate(text);
  return general ? general : fmt::parseIsoLocalTime(text);
}

std::optional<AlarmSetting> parseAlarm(const Item& item) {
  const QString t = item.text.trimmed();
  if (t.isEmpty() || t.compare(QLatin1String("OFF"), Qt::CaseInsensitive) == 0) {
    return AlarmSetting{};
  }
  const auto value = parseDecimal(t);
  if (!value || *value < kMinTemperature || *value > kMaxTemperature) return std::nullopt;
  AlarmSetting alarm;
  alarm.limit = static_cast<std::int16_t>(std::nearbyint(*value));
  alarm.enabled = 1;
  return alarm;
}

std::optional<int> parseWhole(const Item& item, int minimum, int maximum) {
  const auto value = parseDecimal(item.text);
  if (!value || *value != std::floor(*value) || *value < minimum || *value > maximum) {
    return std::nullopt;
  }
  return static_cast<int>(*value);
}

// The program's layout in one of two spellings: its own files quote every
// item, write the general date and keep remarks blank-padded; UTF-8 exports
// for other programs write ISO 8601 times in `isoZone`, bare numbers and
// remarks without the padding.
QString csvText(const DataSet& set, const std::vector<DataRecord>& records, const UiText& texts,
                const QTimeZone* isoZone) {
  const bool iso = isoZone != nullptr;
  const auto time = [&](double t) {
    return iso ? fmt::isoLocalTime(t, *isoZone) : quoted(fmt::generalDate(t));
  };
  const auto number = [iso](const QString& digits) { return iso ? digits : quoted(digits); };
  const auto value = [iso](float v) {
    return iso ? fmt::measuredValue(v, fmt::LeadingZero::Kept)
               : quoted(fmt::measuredValue(v, fmt::LeadingZero::Dropped));
  };
  const auto limit = [&](const AlarmSetting& alarm) {
    return alarm.enabled != 0 ? number(QString::number(alarm.limit))
                              : quoted(QStringLiteral("OFF"));
  };
  const bool alarms = hasAlarms(set.model);
  QString text;
  text.reserve(static_cast<qsizetype>(records.size()) * 100 + 512);
  text +=
      joinLine({quoted(texts[TextId::CsvName]), quoted(texts[TextId::CsvStartTime]),
                quoted(texts[TextId::CsvRecordedPoints]), quoted(texts[TextId::CsvRecordInterval]),
                quoted(alarms ? texts[TextId::CsvUpperLimit] : QString()),
                quoted(alarms ? texts[TextId::CsvLowerLimit] : QString())});
  text += joinLine({quoted(set.loggerName), time(records.front().dateTime),
                    number(QString::number(records.size())), number(QString::number(set.interval)),
                    alarms ? limit(set.upperAlarm) : quoted(QString()),
                    alarms ? limit(set.lowerAlarm) : quoted(QString())});
  text += joinLine({quoted(texts[TextId::CsvRecordNumber]), quoted(texts[TextId::CsvDate]),
                    quoted(texts[TextId::CsvTemperature]), quoted(texts[TextId::CsvHumidity]),
                    quoted(texts[TextId::CsvRemarks])});
  int pointNo = 0;
  for (const DataRecord& r : records) {
    text += QString::number(++pointNo) + QLatin1Char(',') + time(r.dateTime) + QLatin1Char(',') +
            value(r.temperature) + QLatin1Char(',') + value(r.humidity) + QLatin1Char(',') +
            quoted(iso ? unpaddedRemarks(r.remarks) : r.remarks) + QLatin1String("\r\n");
  }
  return text;
}

}  // namespace

Result<QByteArray> csvBytes(const DataSet& set, const RecordFile& file, const UiText& texts) {
  if (set.count < 1) return Error{says("The data set holds no points to save.")};
  const std::vector<DataRecord> records = file.readRange(1, set.count);
  if (static_cast<int>(records.size()) != set.count) {
    return Error{says("Only %1 of %2 records of the data set could be read.")
                     .arg(records.size())
                     .arg(set.count)};
  }
  return cp932::encode(csvText(set, records, texts, nullptr));
}

Result<QByteArray> utf8CsvBytes(const DataSet& set, const std::vector<DataRecord>& records,
                                const UiText& texts, const QTimeZone& zone) {
  if (records.empty()) return Error{says("The data set holds no points to save.")};
  return QByteArray("\xEF\xBB\xBF") + csvText(set, records, texts, &zone).toUtf8();
}

Result<void> writeCsvFile(const QString& path, const DataSet& set, const RecordFile& file,
                          const UiText& texts) {
  const Result<QByteArray> bytes = csvBytes(set, file, texts);
  if (!bytes) return bytes.error();
  return commitFile(path, *bytes);
}

namespace {

// What a line of the file is wrong with; nothing when it was good.
using LineFault = std::optional<CsvReadError>;

// Reads one file in one encoding: the three header lines, then the data lines.
class CsvParser final {
 public:
  CsvParser(const QByteArray& bytes, Encoding encoding, const UiText& texts)
      : m_reader(bytes, encoding), m_texts(texts) {}

  CsvReadResult parse() {
    LineFault fault = readTitles();
    if (!fault) fault = readHeaderValues();
    if (!fault) fault = readColumnTitles();
    if (!fault) fault = readDataLines();
    CsvReadResult result;
    if (fault) {
      result.error = std::move(*fault);
    } else {
      result.content = std::move(m_content);
    }
    return result;
  }

  // True once a line was not text of the encoding.
  bool undecodable() const { return m_reader.undecodable(); }

 private:
  // Header line `lineNo`, or nullopt with `fault` set: `missing` when the
  // file ends before it.
  std::optional<QString> headerLine(int lineNo, const QString& missing, LineFault& fault) {
    QString error;
    std::optional<QString> line = m_reader.next(error);
    if (!line) {
      fault = error.isEmpty() ? lineError(lineNo, missing) : lineError(m_reader.lineNo(), error);
    }
    return line;
  }

  // Line 1: the header titles decide the model.
  LineFault readTitles() {
    LineFault fault;
    const std::optional<QString> line = headerLine(0, says("The file is empty."), fault);
    if (!line) {
      fault->wrongHeader = true;
      return fault;
    }
    QString why;
    const auto titles = splitItems(*line, why);
    if (!titles || titles->size() != 6) {
      return lineError(1, says("not the header of a data file"), true);
    }
    bool known = true;
    for (int i = 0; i < 4; ++i) {
      known =
          known && (*titles)[static_cast<size_t>(i)].text == m_texts.inRange(TextId::CsvName, i);
    }
    const QString t5 = (*titles)[4].text;
    const QString t6 = (*titles)[5].text;
    if (known && t5 == m_texts[TextId::CsvUpperLimit] && t6 == m_texts[TextId::CsvLowerLimit]) {
      m_content.model = kModelWithAlarms;
    } else if (known && t5.isEmpty() && t6.isEmpty()) {
      m_content.model = kModelWithoutAlarms;
    } else {
      return lineError(1, says("not the header of a data file"), true);
    }
    return std::nullopt;
  }

  // Line 2: name, start, announced count, interval and the two limits.
  LineFault readHeaderValues() {
    LineFault fault;
    const std::optional<QString> line = headerLine(2, says("the header values are missing"), fault);
    if (!line) return fault;
    QString why;
    const auto values = splitItems(*line, why);
    if (!values) return lineError(2, why);
    if (values->size() != 6) {
      return lineError(2, says("expected 6 header values, found %1").arg(values->size()));
    }
    m_content.loggerName = (*values)[0].text;
    const auto start = readTime((*values)[1].text);
    if (!start) {
      return lineError(2, says("the start time \"%1\" is not a date").arg((*values)[1].text));
    }
    m_content.startTime = *start;
    const auto announced = parseWhole((*values)[2], 0, kMaxSetPoints);
    if (!announced) {
      return lineError(
          2, says("the point count \"%1\" is not a number of points").arg((*values)[2].text));
    }
    m_content.announcedCount = *announced;
    // 0 is what single measurements are saved with.
    const auto interval = parseWhole((*values)[3], 0, kMaxInterval);
    if (!interval) {
      return lineError(2, says("the interval \"%1\" is not 0..%2 seconds")
                              .arg((*values)[3].text)
                              .arg(kMaxInterval));
    }
    m_content.interval = *interval;
    const auto upper = parseAlarm((*values)[4]);
    const auto lower = parseAlarm((*values)[5]);
    if (!upper || !lower) return lineError(2, says("an alarm limit is neither OFF nor -40..100"));
    m_content.upperAlarm = *upper;
    m_content.lowerAlarm = *lower;
    return std::nullopt;
  }

  // Line 3: the column titles, read and ignored.
  LineFault readColumnTitles() {
    LineFault fault;
    const std::optional<QString> line = headerLine(3, says("the column titles are missing"), fault);
    if (!line) return fault;
    QString why;
    const auto columns = splitItems(*line, why);
    if (!columns) return lineError(3, why);
    if (columns->size() != 5) {
      return lineError(3, says("expected 5 column titles, found %1").arg(columns->size()));
    }
    return std::nullopt;
  }

  // Data lines: one point each, blank lines skipped.
  LineFault readDataLines() {
    m_previous = daySerialToSeconds(m_content.startTime);
    QString error;
    while (const std::optional<QString> line = m_reader.next(error)) {
      if (line->trimmed().isEmpty()) continue;
      if (static_cast<int>(m_content.records.size()) >= csv::kMaxDataRows) {
        return lineError(m_reader.lineNo(), says("more than %1 data rows").arg(csv::kMaxDataRows));
      }
      if (LineFault fault = readPoint(*line, m_reader.lineNo())) return fault;
    }
    if (!error.isEmpty()) return lineError(m_reader.lineNo(), error);
    return std::nullopt;
  }

  // One data line; a gap longer than the interval starts a new segment.
  LineFault readPoint(const QString& line, int lineNo) {
    QString why;
    const auto items = splitItems(line, why);
    if (!items) return lineError(lineNo, why);
    if (items->size() != 5) {
      return lineError(lineNo, says("expected 5 items, found %1").arg(items->size()));
    }
    const auto when = readTime((*items)[1].text);
    if (!when) return lineError(lineNo, says("\"%1\" is not a date").arg((*items)[1].text));
    const auto temperature = parseDecimal((*items)[2].text);
    if (!temperature || *temperature < kMinTemperature || *temperature > kMaxTemperature) {
      return lineError(
          lineNo, says("the temperature \"%1\" is not a number in -40..100").arg((*items)[2].text));
    }
    const auto humidity = parseDecimal((*items)[3].text);
    if (!humidity || *humidity < kMinHumidity || *humidity > kMaxHumidity) {
      return lineError(lineNo,
                       says("the humidity \"%1\" is not a number in 0..100").arg((*items)[3].text));
    }
    const qint64 seconds = daySerialToSeconds(*when);
    if (seconds - m_previous > m_content.interval) ++m_segment;
    m_previous = seconds;

    DataRecord r;  // Raw and Reserved stay zero: nothing of a logger sample is known
    r.dateTime = *when;
    r.temperature = static_cast<float>(*temperature);
    r.humidity = static_cast<float>(*humidity);
    r.segment = static_cast<float>(m_segment);
    r.remarks = fitRemarks((*items)[4].text);
    r.recordNo = static_cast<std::int16_t>(m_content.records.size() + 1);
    updateExtremes(r, m_content.allExtremes);
    m_content.records.push_back(std::move(r));
    return std::nullopt;
  }

  LineReader m_reader;
  const UiText& m_texts;
  CsvContent m_content;
  qint64 m_previous = 0;  // the time of the last point read
  int m_segment = 1;
};

// Reads the whole file in one encoding.
CsvReadResult parseAs(const QByteArray& bytes, Encoding encoding, const UiText& texts,
                      bool& undecodable) {
  CsvParser parser(bytes, encoding, texts);
  CsvReadResult result = parser.parse();
  undecodable = parser.undecodable();
  return result;
}

}  // namespace

CsvReadResult parseCsv(const QByteArray& bytes, const UiText& texts) {
  bool undecodable = false;
  if (bytes.startsWith("\xEF\xBB\xBF"))
    return parseAs(bytes.mid(3), Encoding::Utf8, texts, undecodable);
  // The program's own encoding comes first: Windows-31J bytes of half-width
  // katakana can be valid UTF-8 as well. UTF-8 is tried when the bytes are
  // not Windows-31J text, or when its header only makes sense in UTF-8.
  CsvReadResult own = parseAs(bytes, Encoding::Cp932, texts, undecodable);
  if (own.ok() || !bytes.isValidUtf8() || (!undecodable && !own.error.wrongHeader)) return own;
  bool utf8Undecodable = false;
  CsvReadResult utf8 = parseAs(bytes, Encoding::Utf8, texts, utf8Undecodable);
  return utf8.ok() || !utf8.error.wrongHeader || undecodable ? utf8 : own;
}

CsvReadResult readCsvFile(const QString& path, const UiText& texts, InputKind kind) {
  const Result<QByteArray> bytes = readInputFile(path, csv::kMaxFileBytes, kind);
  if (!bytes) return {std::nullopt, lineError(0, bytes.error().message)};
  return parseCsv(*bytes, texts);
}

void applyCsvContent(DataSet& set, const CsvContent& content) {
  set.count = static_cast<int>(content.records.size());
  set.drawnCount = 0;
  set.interval = content.interval;
  set.upperAlarm = content.upperAlarm;
  set.lowerAlarm = content.lowerAlarm;
  set.model = content.model;
  set.loggerName = content.loggerName;
  set.announcedStart = content.startTime;
  set.announcedCount = content.announcedCount;
  set.allExtremes = content.allExtremes;
  set.selectedExtremes.reset();
}

}  // namespace termika
