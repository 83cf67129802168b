#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>

#include "ScenarioFixture.h"
#include "sim/SimulatedLogger.h"

namespace termika {
namespace {

using testing::scenarioFrom;

QByteArray hex(const char* text) { return QByteArray::fromHex(text); }

// Everything the logger sends in answer to one request, without moving its
// virtual time (answers are taken whenever they fall due).
QByteArray ask(SimulatedLogger& logger, const char* hexRequest) {
  logger.receive(hex(hexRequest));
  QByteArray out;
  for (const SimChunk& c : logger.takeOutputUntil(logger.now() + 10'000'000)) out += c.bytes;
  return out;
}

// What they hold shows in the download and end-to-end tests that use them.
TEST(Scenario, EveryShippedScenarioLoads) {
  const QString dir = qEnvironmentVariable("TERMIKA_SOURCE_DIR", QStringLiteral(".")) +
                      QStringLiteral("/scenarios");
  const QStringList files = QDir(dir).entryList({QStringLiteral("*.json")});
  ASSERT_GE(files.size(), 15) << dir.toStdString();
  for (const QString& f : files) {
    const Result<SimScenario> s = loadScenario(dir + QLatin1Char('/') + f);
    EXPECT_TRUE(s.ok()) << (s.ok() ? "" : s.error().message.toStdString());
  }
}

// A QM120-RH holding three hand-chosen points in one block, with a sensor
// that reads exactly 25 °C and 59.83 %RH so measurement counts are known.
constexpr const char* kLogger = R"({
  "model": "QM120-RH", "firmware": [1, 5], "loggerName": "AB12", "clock": "2026-12-06 10:20:30",
  "state": "idle", "recordMode": "loop", "interval": {"unit": "minutes", "value": 10},
  "alarms": {"upper": {"raw": 564, "on": true}, "lower": {"raw": 256, "on": false}},
  "battery": {"count": 768}, "reservation": {"day": 7, "hour": 9, "minute": 45},
  "recording": {"blocks": [{"start": "2026-12-01 08:30:00", "points": 3}],
                "olderEntry": "2026-10-15 07:05:09"},
  "points": [[4660, 1383], [4864, 1536], [5120, 1792]],
  "sensor": {"temperatureMean": 25, "temperatureSwing": 0, "humidityMean": 59.83,
             "humiditySwing": 0, "noise": 0}
})";

// What the program reads back and compares with a scenario (clock, start, memory counts, name,
// alarms, points, acknowledgements) is left to the session and fault tests, and the framing to
// the program's own frame tests; these are the answers nothing else checks, and what is rejected.
TEST(Answers, MatchTheHandWrittenFrames) {
  struct Case {
    const char* request;
    const char* answer;
    const char* what;
  };
  const Case cases[] = {
      {"0001009900000000ff", "514d3132302d52480105ff",
       "identify: model text, version bytes 1 and 5"},
      {"0001003000000000ff", "0001003000000000ff", "state bits: idle"},
      {"0001003400000000ff", "0001003400070000ff", "reservation day 7"},
      {"0001003500000000ff", "0001003500090000ff", "reservation hour 9"},
      {"0001003600000000ff", "0001003600450000ff", "reservation minute 45"},
      {"0001003700000000ff", "0001003701310010ff", "interval setting 131, 10"},
      {"0001005000000000ff", "0001005000010000ff", "loop on, no wrap"},
      {"0001005100000000ff", "0001005100030000ff", "battery count 768 = 3, 0"},
      {"0001001500000000ff", "0001001500000000ff", "not recording (code 15)"},
      {"0001001600000000ff", "0001001600010000ff", "battery low: 768 counts = 2.48 V"},
      {"0001002200000000ff", "0001002200250061ff", "temperature count 6461 = 25 C"},
      {"0001002100000000ff", "0001002100070008ff", "humidity count 1800 = 59.83 %RH"},
      {"0001000800000012ff", "0255025502550255ff", "unwritten point memory reads 0xFF"},
      {"0001000802400008ff", "0038001600210007ff", "older entry: 26 10 15 07"},
      {"0001000802550252ff", "0255025502550255ff", "last header bytes"},
      {"0001007700000000ff", "eeff", "unknown code 77 rejected"},
      {"0001002300990000ff", "eeff", "unknown sub-address of 23 rejected"},
      {"0002002300160000ff", "eeff", "first byte 2 rejected"},
      {"0001000100130026ff", "eeff", "month 13 rejected"},
      {"0001001101290010ff", "eeff", "interval unit 129 rejected"},
      {"0001003200240000ff", "eeff", "reservation hour 24 rejected"},
      {"494e4954414c4cff", "", "INITALL gets no answer"},
  };
  for (const Case& c : cases) {
    SimulatedLogger logger(scenarioFrom(kLogger));
    EXPECT_EQ(ask(logger, c.request).toHex(' '), hex(c.answer).toHex(' ')) << c.what;
  }
}

// A new request starts the stream over from the first point; the rest of the old one never
// leaves. Header layout and block stamps show in the program's download tests.
TEST(Answers, ANewStreamRequestStartsOverFromTheFirstPoint) {
  SimScenario scenario = scenarioFrom(kLogger);
  scenario.faults.paced = true;
  scenario.faults.baud = 9600;  // an answer every 9.375 ms
  SimulatedLogger logger(scenario);
  const char* stream = "0001004400000012ff";  // 12 bytes
  logger.receive(hex(stream));
  QByteArray got;
  for (const SimChunk& chunk : logger.takeOutputUntil(20)) got += chunk.bytes;
  logger.advanceTo(20);
  got += ask(logger, stream);
  const QByteArray points = hex("0018005200050103ff0019000000060000ff0020000000070000ff");
  EXPECT_EQ(got.toHex(), (points.left(18) + points).toHex());
}

}  // namespace
}  // namespace termika
