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

}  // namespace
}  // namespace termika
