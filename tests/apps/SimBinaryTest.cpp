#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "FileFixtures.h"
#include "SimProcess.h"

namespace termika::testing {
namespace {

constexpr char kScenario[] = R"({"model": "QM120-RH", "clock": "2026-12-06 09:00:00"})";

// A start that cannot be served ends with a message and touches no file
// that is not the simulator's own.
TEST(SimBinary, ABadStartIsRefusedWithAMessageAndLeavesFilesAlone) {
  QTemporaryDir dir;
  const auto path = [&dir](const char* name) { return dir.filePath(QLatin1String(name)); };
  writeAll(path("bad.json"), R"({"clock": "yesterday"})");
  writeAll(path("scenario.json"), kScenario);
  writeAll(path("notes.txt"), "someone's notes\n");
  const struct {
    QStringList arguments;
    const char* said;
  } cases[] = {
      {{path("bad.json")}, "\"clock\""},
      {{path("scenario.json"), QStringLiteral("--adapter-file"), path("notes.txt")}, "notes.txt"},
  };
  for (const auto& c : cases) {
    QProcess process;
    process.start(SimProcess::binary(), c.arguments);
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 1) << c.said;
    EXPECT_TRUE(process.readAllStandardError().contains(c.said)) << c.said;
  }
  EXPECT_EQ(fileState(path("notes.txt")), QByteArray("someone's notes\n"));
}

}  // namespace
}  // namespace termika::testing
