#include <gtest/gtest.h>

#include <QDir>

#include "SimTestSupport.h"

namespace termika {
namespace {

QString scenarioDir() {
  return qEnvironmentVariable("TERMIKA_SOURCE_DIR", QStringLiteral(".")) +
         QStringLiteral("/scenarios");
}

TEST(Scenario, EveryShippedScenarioLoadsAndHoldsWhatItsNameSays) {
  const QStringList files = QDir(scenarioDir()).entryList({QStringLiteral("*.json")});
  ASSERT_GE(files.size(), 15) << scenarioDir().toStdString();
  for (const QString& f : files) {
    const Result<SimScenario> s = loadScenario(scenarioDir() + QLatin1Char('/') + f);
    EXPECT_TRUE(s.ok()) << (s.ok() ? "" : s.error().message.toStdString());
  }
  struct Case {
    const char* file;
    const char* model;
    qint64 points;  // expected download size
    int usedBytes;  // status answer
    int wraps;
  };
  const Case cases[] = {{"fresh-qm100.json", "QM100-RH", 0, 0, 0},
                        {"qm120-three-blocks.json", "QM120-RH", 204, 816, 0},
                        {"full-memory.json", "QM100-RH", 15000, 60000, 0},
                        {"wrapped-loop.json", "QM120-RH", 15000, 4321 * 4, 2},
                        {"demo.json", "QM120-RH", 1981, 1981 * 4, 0}};
  for (const Case& c : cases) {
    const Result<SimScenario> s = loadScenario(scenarioDir() + QLatin1Char('/') + c.file);
    ASSERT_TRUE(s.ok()) << c.file;
    SimulatedLogger logger(*s);
    EXPECT_EQ(s->model, QLatin1String(c.model)) << c.file;
    EXPECT_EQ(static_cast<qint64>(logger.expectedDownload().size()), c.points) << c.file;
    EXPECT_EQ(logger.memory().usedBytes(), c.usedBytes) << c.file;
    EXPECT_EQ(logger.memory().wraps(), c.wraps) << c.file;
  }
}

TEST(Scenario, ThreeBlockScenarioExceedsBothAlarmLimits) {
  const Result<SimScenario> s = loadScenario(scenarioDir() + "/qm120-three-blocks.json");
  ASSERT_TRUE(s.ok());
  SimulatedLogger logger(*s);
  ASSERT_EQ(logger.memory().blocks().size(), 3u);
  const double upper = countToTemperature(s->upperAlarm.rawLimit, false);
  const double lower = countToTemperature(s->lowerAlarm.rawLimit, false);
  EXPECT_NEAR(upper, 26.0, 0.01);
  EXPECT_NEAR(lower, 18.0, 0.01);
  std::vector<double> t;
  for (const SimPoint& p : logger.expectedTimeOrder()) {
    t.push_back(countToTemperature(p.raw[0] * 256 + p.raw[1], false));
  }
  EXPECT_GE(*std::max_element(t.begin(), t.end()), upper);
  EXPECT_LE(*std::min_element(t.begin(), t.end()), lower);
}

TEST(Scenario, ParsesEveryField) {
  const Result<SimScenario> s = parseScenario(R"({
    "name": "n", "model": "QM120-RH", "firmware": [2, 7], "loggerName": "AB",
    "clock": "2026-02-03 04:05:06", "state": "reserved", "recordMode": "loop",
    "interval": {"unit": "seconds", "value": 2},
    "alarms": {"upper": {"raw": 700, "on": true}, "lower": {"celsius": 25, "on": false}},
    "battery": {"count": 800, "fault": true},
    "reservation": {"day": 4, "hour": 5, "minute": 6}, "downloaded": true,
    "recording": {"blocks": [{"start": "2026-02-01 00:00:00", "points": 2}],
                  "olderEntry": "2026-01-01 00:00:00", "erasedHeader": true},
    "sensor": {"seed": 9, "temperatureMean": 20, "temperatureSwing": 1, "humidityMean": 40,
               "humiditySwing": 2, "noise": 0.5},
    "points": [[1, 2]],
    "faults": {"silentRequests": 1, "rejectedRequests": 2, "noiseBytes": 3,
               "overlongAnswers": 4, "stallAfterPoints": 5, "unplugAfterRequests": 6,
               "probeDelayMs": 700, "paced": true, "baud": 9600, "latencyMs": 16,
               "armOnCode": 8, "armAfter": 12}
  })");
  ASSERT_TRUE(s.ok()) << s.error().message.toStdString();
  EXPECT_EQ(s->firmwareMajor, 2);
  EXPECT_EQ(s->loggerName, QByteArray("  AB"));  // padded on the left, as the program does
  EXPECT_EQ(s->clockSeconds, simtest::at("2026-02-03 04:05:06"));
  EXPECT_EQ(s->state, RecordingState::Reserved);
  EXPECT_EQ(s->recordMode, RecordMode::Loop);
  EXPECT_EQ(s->intervalSeconds(), 2);
  EXPECT_TRUE(s->lowResolution);  // 2 s or less
  EXPECT_EQ(s->upperAlarm.rawLimit, 700);
  EXPECT_EQ(s->lowerAlarm.rawLimit, 1615);  // 25 °C in low resolution
  EXPECT_TRUE(s->batteryFault);
  EXPECT_EQ(s->reserveMinute, 6);
  EXPECT_TRUE(s->downloaded);
  EXPECT_TRUE(s->erasedHeader);
  EXPECT_EQ(s->olderEntrySeconds, simtest::at("2026-01-01 00:00:00"));
  EXPECT_EQ(s->sensor.seed, 9u);
  EXPECT_EQ(s->explicitPoints.size(), 1u);
  EXPECT_EQ(s->faults.stallAfterPoints, 5);
  EXPECT_EQ(s->faults.latencyMs, 16);
  EXPECT_TRUE(s->faults.paced);
  EXPECT_EQ(s->faults.armOnCode, 8);
  EXPECT_EQ(s->faults.armAfter, 12);
}

TEST(Scenario, BadInputGivesAClearError) {
  struct Case {
    const char* json;
    const char* messagePart;
  };
  const Case cases[] = {
      {"{", "not valid JSON"},
      {"[]", "must be a JSON object"},
      {R"({"model": "QM100-RH"})", "\"clock\" is missing"},
      {R"({"clock": "2026-13-01 00:00:00"})", "\"clock\" must be a time like"},
      {R"({"clock": "2026-12-06 09:00:00", "colour": 1})", "unknown key \"colour\""},
      {R"({"clock": "2026-12-06 09:00:00", "faults": {"silence": 3}})", "unknown key \"silence\""},
      {R"({"clock": "2026-12-06 09:00:00", "state": "asleep"})", "\"state\" must be one of"},
      {R"({"clock": "2026-12-06 09:00:00", "loggerName": "TOOLONG"})", "at most 4"},
      {R"({"clock": "2026-12-06 09:00:00", "model": ""})", "\"model\" must be"},
      {R"({"clock": "2026-12-06 09:00:00", "battery": {"count": 2000}})", "0 to 1023"},
      {R"({"clock": "2026-12-06 09:00:00", "interval": {"unit": "minutes", "value": 0}})",
       "1 to 255"},
      {R"({"clock": "2026-12-06 09:00:00", "state": "reserved"})", "needs a \"reservation\""},
      {R"({"clock": "2026-12-06 09:00:00", "state": "recording"})", "at least one recording block"},
      {R"({"clock": "2026-12-06 09:00:00",
           "recording": {"blocks": [{"start": "2026-12-01 00:00:00", "points": 15001}]}})",
       "at most 15000 points"},
      {R"({"clock": "2026-12-06 09:00:00", "recording": {"blocks": [{"points": 1}]}})",
       "block 1: \"start\""},
      {R"({"clock": "2026-12-06 09:00:00", "points": [[1, 2]]})", "more explicit points"},
      {R"({"clock": "2026-12-06 09:00:00", "points": [[1]]})", "point 1 must be"},
      {R"({"clock": "2026-12-06 09:00:00", "firmware": [1, 255]})", "\"firmware\" must be"},
  };
  for (const Case& c : cases) {
    const Result<SimScenario> s = parseScenario(QByteArray(c.json));
    ASSERT_FALSE(s.ok()) << c.json;
    EXPECT_TRUE(s.error().message.contains(QLatin1String(c.messagePart)))
        << c.json << " -> " << s.error().message.toStdString();
  }
  const Result<SimScenario> missing = loadScenario(QStringLiteral("/nonexistent/x.json"));
  ASSERT_FALSE(missing.ok());
  EXPECT_TRUE(missing.error().message.contains(QLatin1String("/nonexistent/x.json")));
}

}  // namespace
}  // namespace termika
