#include <gtest/gtest.h>

#include <QDir>

#include "SimTestSupport.h"

namespace termika {
namespace {

QString scenarioDir() {
  return qEnvironmentVariable("TERMIKA_SOURCE_DIR", QStringLiteral(".")) +
         QStringLiteral("/scenarios");
}

// What they hold shows in the download and end-to-end tests that use them.
TEST(Scenario, EveryShippedScenarioLoads) {
  const QStringList files = QDir(scenarioDir()).entryList({QStringLiteral("*.json")});
  ASSERT_GE(files.size(), 15) << scenarioDir().toStdString();
  for (const QString& f : files) {
    const Result<SimScenario> s = loadScenario(scenarioDir() + QLatin1Char('/') + f);
    EXPECT_TRUE(s.ok()) << (s.ok() ? "" : s.error().message.toStdString());
  }
}

}  // namespace
}  // namespace termika
