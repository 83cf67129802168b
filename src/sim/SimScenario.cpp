#include "sim/SimScenario.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include "core/data/DayTime.h"

namespace termika {
namespace {

constexpr int kMemoryPoints = 15000;

// Walks one JSON object, remembering the first fault so the caller can check
// once at the end. Unknown keys are faults too: a misspelt fault switch must
// not silently leave the fault off.
class ObjectReader final {
 public:
  ObjectReader(const QJsonObject& object, QString where, QString* error)
      : m_object(object), m_where(std::move(where)), m_error(error) {}

  bool has(const char* key) {
    m_known.insert(QString::fromLatin1(key));
    return m_object.contains(QLatin1String(key));
  }

  int integer(const char* key, int fallback, int low, int high) {
    if (!has(key)) return fallback;
    const QJsonValue v = m_object.value(QLatin1String(key));
    const double d = v.toDouble(-1e300);
    if (!v.isDouble() || d != static_cast<double>(static_cast<qint64>(d)) || d < low || d > high) {
      fail(QStringLiteral("\"%1\" must be a whole number from %2 to %3")
               .arg(key)
               .arg(low)
               .arg(high));
      return fallback;
    }
    return static_cast<int>(d);
  }

  double number(const char* key, double fallback) {
    if (!has(key)) return fallback;
    const QJsonValue v = m_object.value(QLatin1String(key));
    if (!v.isDouble()) fail(QStringLiteral("\"%1\" must be a number").arg(key));
    return v.toDouble(fallback);
  }

  bool boolean(const char* key, bool fallback) {
    if (!has(key)) return fallback;
    const QJsonValue v = m_object.value(QLatin1String(key));
    if (!v.isBool()) fail(QStringLiteral("\"%1\" must be true or false").arg(key));
    return v.toBool(fallback);
  }

  QString text(const char* key, const QString& fallback) {
    if (!has(key)) return fallback;
    const QJsonValue v = m_object.value(QLatin1String(key));
    if (!v.isString()) fail(QStringLiteral("\"%1\" must be a text").arg(key));
    return v.toString(fallback);
  }

  std::optional<qint64> time(const char* key) {
    if (!has(key)) return std::nullopt;
    const auto t = parseCalendarTime(m_object.value(QLatin1String(key)).toString());
    if (!t) fail(QStringLiteral("\"%1\" must be a time like \"2026-12-06 10:00:00\"").arg(key));
    return t;
  }

  QJsonObject object(const char* key) {
    if (!has(key)) return {};
    const QJsonValue v = m_object.value(QLatin1String(key));
    if (!v.isObject()) fail(QStringLiteral("\"%1\" must be an object").arg(key));
    return v.toObject();
  }

  QJsonArray array(const char* key) {
    if (!has(key)) return {};
    const QJsonValue v = m_object.value(QLatin1String(key));
    if (!v.isArray()) fail(QStringLiteral("\"%1\" must be a list").arg(key));
    return v.toArray();
  }

  template <typename T>
  T choice(const char* key, T fallback, std::initializer_list<std::pair<const char*, T>> options) {
    if (!has(key)) return fallback;
    const QString v = m_object.value(QLatin1String(key)).toString();
    QStringList names;
    for (const auto& [name, value] : options) {
      if (v == QLatin1String(name)) return value;
      names << QStringLiteral("\"%1\"").arg(name);
    }
    fail(QStringLiteral("\"%1\" must be one of %2").arg(key, names.join(QStringLiteral(", "))));
    return fallback;
  }

  void fail(const QString& message) {
    if (m_error->isEmpty()) *m_error = m_where + message;
  }

  // Call after every key was asked for.
  void rejectUnknownKeys() {
    for (const QString& key : m_object.keys()) {
      if (!m_known.contains(key)) fail(QStringLiteral("unknown key \"%1\"").arg(key));
    }
  }

 private:
  QJsonObject m_object;
  QString m_where;
  QString* m_error;
  QSet<QString> m_known;
};

SimAlarm readAlarm(const QJsonObject& json, const QString& where, bool lowResolution,
                   QString* error) {
  ObjectReader r(json, where, error);
  SimAlarm alarm;
  alarm.on = r.boolean("on", false);
  if (r.has("celsius")) {
    alarm.rawLimit = temperatureToCount(r.number("celsius", 0), lowResolution);
  }
  alarm.rawLimit = r.integer("raw", alarm.rawLimit, 0, 0x7FFF);
  r.rejectUnknownKeys();
  return alarm;
}

void readRecording(const QJsonObject& json, SimScenario& s, QString* error) {
  ObjectReader r(json, QStringLiteral("recording: "), error);
  const QJsonArray blocks = r.array("blocks");
  for (qsizetype i = 0; i < blocks.size(); ++i) {
    ObjectReader b(blocks.at(i).toObject(), QStringLiteral("recording block %1: ").arg(i + 1),
                   error);
    const auto start = b.time("start");
    if (!start) b.fail(QStringLiteral("\"start\" is missing or malformed"));
    s.blocks.push_back({start.value_or(0), b.integer("points", 0, 0, 1000000)});
    b.rejectUnknownKeys();
  }
  if (r.has("repeatBlocks")) {
    // Many short runs, for headers longer than any table the program keeps.
    ObjectReader b(r.object("repeatBlocks"), QStringLiteral("repeatBlocks: "), error);
    const auto start = b.time("start");
    if (!start) b.fail(QStringLiteral("\"start\" is missing or malformed"));
    const int count = b.integer("count", 0, 0, 500);
    const int points = b.integer("points", 1, 0, 1000);
    const int gap = b.integer("gapSeconds", 3600, 1, 10000000);
    b.rejectUnknownKeys();
    for (int i = 0; i < count; ++i)
      s.blocks.push_back({start.value_or(0) + qint64{i} * gap, points});
  }
  s.olderEntrySeconds = r.time("olderEntry");
  s.erasedHeader = r.boolean("erasedHeader", false);
  r.rejectUnknownKeys();
}

void readFaults(const QJsonObject& json, SimFaults& f, QString* error) {
  ObjectReader r(json, QStringLiteral("faults: "), error);
  f.armOnCode = r.integer("armOnCode", -1, -1, 255);
  f.armAfter = r.integer("armAfter", 0, 0, 1000000);
  f.silentRequests = r.integer("silentRequests", 0, 0, 1000000);
  f.rejectedRequests = r.integer("rejectedRequests", 0, 0, 1000000);
  f.noiseBytes = r.integer("noiseBytes", 0, 0, 80);
  f.overlongAnswers = r.integer("overlongAnswers", 0, 0, 1000000);
  f.stallAfterPoints = r.integer("stallAfterPoints", -1, -1, 15000);
  f.rejectStreamAfterPoints = r.integer("rejectStreamAfterPoints", -1, -1, 15000);
  f.unplugAfterRequests = r.integer("unplugAfterRequests", -1, -1, 1000000);
  f.probeDelayMs = r.integer("probeDelayMs", 0, 0, 60000);
  f.paced = r.boolean("paced", false);
  f.baud = r.integer("baud", 57600, 300, 3000000);
  f.latencyMs = r.integer("latencyMs", 0, 0, 10000);
  r.rejectUnknownKeys();
}

Result<SimScenario> checkConsistency(SimScenario s) {
  qint64 total = 0;
  for (const SimBlock& b : s.blocks) total += b.points;
  if (s.recordMode == RecordMode::OneTime && total > kMemoryPoints) {
    return Error{QStringLiteral("a one-time recording holds at most %1 points, the blocks hold %2")
                     .arg(kMemoryPoints)
                     .arg(total)};
  }
  if (total / kMemoryPoints > 255) {
    return Error{QStringLiteral("the memory may wrap at most 255 times")};
  }
  if (s.state == RecordingState::Recording && s.blocks.empty()) {
    return Error{QStringLiteral("a recording logger needs at least one recording block")};
  }
  if (static_cast<qint64>(s.explicitPoints.size()) > total) {
    return Error{QStringLiteral("more explicit points (%1) than the blocks hold (%2)")
                     .arg(s.explicitPoints.size())
                     .arg(total)};
  }
  return s;
}

}  // namespace

std::optional<qint64> parseCalendarTime(const QString& text) {
  static const QRegularExpression kPattern(
      QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})[ T](\\d{2}):(\\d{2}):(\\d{2})$"));
  const QRegularExpressionMatch m = kPattern.match(text);
  if (!m.hasMatch()) return std::nullopt;
  CivilTime t{m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
              m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt()};
  if (!isValidCivil(t) || t.year < 2000 || t.year > 2099) return std::nullopt;
  return secondsFromCivil(t);
}

Result<SimScenario> parseScenario(const QByteArray& json) {
  QJsonParseError parseError;
  const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
  if (parseError.error != QJsonParseError::NoError) {
    return Error{QStringLiteral("not valid JSON at offset %1: %2")
                     .arg(parseError.offset)
                     .arg(parseError.errorString())};
  }
  if (!doc.isObject()) return Error{QStringLiteral("the scenario must be a JSON object")};

  QString error;
  SimScenario s;
  ObjectReader r(doc.object(), QString(), &error);
  s.name = r.text("name", QString());
  s.model = r.text("model", s.model);
  if (s.model.isEmpty() || s.model.size() > 20 ||
      !QRegularExpression(QStringLiteral("^[ -~]+$")).match(s.model).hasMatch()) {
    r.fail(QStringLiteral("\"model\" must be 1 to 20 plain ASCII characters"));
  }
  const QJsonArray firmware = r.array("firmware");
  if (!firmware.isEmpty()) {
    if (firmware.size() != 2 || firmware.at(0).toInt(-1) < 0 || firmware.at(0).toInt(-1) > 254 ||
        firmware.at(1).toInt(-1) < 0 || firmware.at(1).toInt(-1) > 254) {
      r.fail(QStringLiteral("\"firmware\" must be [major, minor], each 0 to 254"));
    } else {
      s.firmwareMajor = static_cast<std::uint8_t>(firmware.at(0).toInt());
      s.firmwareMinor = static_cast<std::uint8_t>(firmware.at(1).toInt());
    }
  }
  const QString name = r.text("loggerName", QString());
  if (name.size() > 4 || !QRegularExpression(QStringLiteral("^[ -~]*$")).match(name).hasMatch()) {
    r.fail(QStringLiteral("\"loggerName\" must be at most 4 plain ASCII characters"));
  } else {
    s.loggerName = name.rightJustified(4, QLatin1Char(' ')).toLatin1();
  }
  const auto clock = r.time("clock");
  if (!clock) r.fail(QStringLiteral("\"clock\" is missing or malformed"));
  s.clockSeconds = clock.value_or(0);
  s.state = r.choice<RecordingState>("state", RecordingState::Idle,
                                     {{"idle", RecordingState::Idle},
                                      {"recording", RecordingState::Recording},
                                      {"reserved", RecordingState::Reserved},
                                      {"stopped-low-voltage", RecordingState::StoppedLowVoltage}});
  s.recordMode =
      r.choice<RecordMode>("recordMode", RecordMode::OneTime,
                           {{"one-time", RecordMode::OneTime}, {"loop", RecordMode::Loop}});
  if (r.has("interval")) {
    ObjectReader i(r.object("interval"), QStringLiteral("interval: "), &error);
    s.intervalUnit = i.choice<IntervalUnit>(
        "unit", IntervalUnit::Minutes,
        {{"seconds", IntervalUnit::Seconds}, {"minutes", IntervalUnit::Minutes}});
    s.intervalValue = static_cast<std::uint8_t>(i.integer("value", 10, 1, 255));
    i.rejectUnknownKeys();
  }
  s.lowResolution =
      r.boolean("lowResolution", s.intervalUnit == IntervalUnit::Seconds && s.intervalValue <= 2);
  if (r.has("alarms")) {
    ObjectReader a(r.object("alarms"), QStringLiteral("alarms: "), &error);
    if (a.has("upper")) {
      s.upperAlarm =
          readAlarm(a.object("upper"), QStringLiteral("upper alarm: "), s.lowResolution, &error);
    }
    if (a.has("lower")) {
      s.lowerAlarm =
          readAlarm(a.object("lower"), QStringLiteral("lower alarm: "), s.lowResolution, &error);
    }
    a.rejectUnknownKeys();
  }
  if (r.has("battery")) {
    ObjectReader b(r.object("battery"), QStringLiteral("battery: "), &error);
    s.batteryCount = b.integer("count", s.batteryCount, 0, 1023);
    s.batteryFault = b.boolean("fault", false);
    b.rejectUnknownKeys();
  }
  if (r.has("reservation")) {
    ObjectReader v(r.object("reservation"), QStringLiteral("reservation: "), &error);
    s.reserveDay = static_cast<std::uint8_t>(v.integer("day", 1, 1, 31));
    s.reserveHour = static_cast<std::uint8_t>(v.integer("hour", 0, 0, 23));
    s.reserveMinute = static_cast<std::uint8_t>(v.integer("minute", 0, 0, 59));
    v.rejectUnknownKeys();
  } else if (s.state == RecordingState::Reserved) {
    r.fail(QStringLiteral("a reserved logger needs a \"reservation\""));
  }
  s.downloaded = r.boolean("downloaded", false);
  if (r.has("recording")) readRecording(r.object("recording"), s, &error);
  if (r.has("sensor")) {
    ObjectReader n(r.object("sensor"), QStringLiteral("sensor: "), &error);
    s.sensor.seed = static_cast<quint64>(n.integer("seed", 1, 0, 2147483647));
    s.sensor.temperatureMean = n.number("temperatureMean", s.sensor.temperatureMean);
    s.sensor.temperatureSwing = n.number("temperatureSwing", s.sensor.temperatureSwing);
    s.sensor.humidityMean = n.number("humidityMean", s.sensor.humidityMean);
    s.sensor.humiditySwing = n.number("humiditySwing", s.sensor.humiditySwing);
    s.sensor.noise = n.number("noise", s.sensor.noise);
    n.rejectUnknownKeys();
  }
  const QJsonArray points = r.array("points");
  for (qsizetype i = 0; i < points.size(); ++i) {
    const QJsonArray p = points.at(i).toArray();
    if (p.size() != 2 || p.at(0).toInt(-1) < 0 || p.at(0).toInt(-1) > 65535 ||
        p.at(1).toInt(-1) < 0 || p.at(1).toInt(-1) > 65535) {
      r.fail(QStringLiteral("point %1 must be [temperature count, humidity count], 0 to 65535")
                 .arg(i + 1));
      break;
    }
    s.explicitPoints.push_back({p.at(0).toInt(), p.at(1).toInt()});
  }
  if (r.has("faults")) readFaults(r.object("faults"), s.faults, &error);
  r.rejectUnknownKeys();
  if (!error.isEmpty()) return Error{error};
  return checkConsistency(std::move(s));
}

Result<SimScenario> loadScenario(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return Error{QStringLiteral("cannot read scenario %1: %2").arg(path, file.errorString())};
  }
  // A scenario is a few kilobytes; anything huge is not one.
  if (file.size() > qint64{4} * 1024 * 1024) {
    return Error{QStringLiteral("scenario %1 is too large").arg(path)};
  }
  Result<SimScenario> s = parseScenario(file.readAll());
  if (!s) return Error{QStringLiteral("scenario %1: %2").arg(path, s.error().message)};
  return s;
}

}  // namespace termika
