#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "SessionTestSupport.h"
#include "core/data/Csv.h"

namespace termika::testing {
namespace {

QString binary(const char* app) {
  return qEnvironmentVariable("TERMIKA_BINARY_DIR") +
         QStringLiteral("/src/apps/%1/%1").arg(QLatin1String(app));
}

struct CliRun {
  int exitCode = -1;
  QByteArray out;
  QByteArray err;
};

CliRun runCli(const QStringList& arguments, int timeoutMs = 30000) {
  QProcess cli;
  cli.start(binary("termika-cli"), arguments);
  CliRun r;
  if (!cli.waitForFinished(timeoutMs)) {
    cli.kill();
    cli.waitForFinished();
    return r;
  }
  r.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
  r.out = cli.readAllStandardOutput();
  r.err = cli.readAllStandardError();
  return r;
}

// termika-sim serving one scenario on <dir>/tty1.
class CliEndToEnd : public ::testing::Test {
 protected:
  void serve(const char* scenario) {
    ASSERT_TRUE(QFileInfo(binary("termika-sim")).isExecutable());
    ASSERT_TRUE(QFileInfo(binary("termika-cli")).isExecutable());
    m_tty = m_dir.filePath(QStringLiteral("tty1"));
    m_sim.start(binary("termika-sim"), {QStringLiteral("--link"), m_tty, scenarioPath(scenario)});
    ASSERT_TRUE(m_sim.waitForStarted());
    for (int i = 0; i < 300 && !QFileInfo::exists(m_tty); ++i) QThread::msleep(10);
    ASSERT_TRUE(QFileInfo::exists(m_tty));
  }
  void TearDown() override {
    if (m_sim.state() != QProcess::NotRunning) {
      m_sim.terminate();
      if (!m_sim.waitForFinished(3000)) m_sim.kill();
      m_sim.waitForFinished();
    }
  }

  QTemporaryDir m_dir;
  QProcess m_sim;
  QString m_tty;
};

// The logger is told its points are downloaded only once the file holds them.
TEST_F(CliEndToEnd, DownloadWritesTheSameCsvAsTheInProcessPathAndOnlyThenMarksTheLogger) {
  serve("qm120-three-blocks.json");
  const auto cli = [this](const char* command, const QString& output = {}) {
    QStringList arguments{QStringLiteral("--device"), m_tty, QLatin1String(command)};
    if (!output.isEmpty()) arguments << QStringLiteral("-o") << output;
    return runCli(arguments);
  };
  const QString cliCsv = m_dir.filePath(QStringLiteral("cli.csv"));
  for (const QString& output : {m_dir.filePath(QStringLiteral("missing/cli.csv")), cliCsv}) {
    const CliRun run = cli("download", output);
    EXPECT_EQ(run.exitCode, output == cliCsv ? 0 : 1) << run.err.toStdString();
    const QByteArray marked = output == cliCsv ? "not downloaded: no" : "not downloaded: yes";
    EXPECT_TRUE(cli("status").out.contains(marked)) << output.toStdString();
  }

  DownloadRun inProcess(scenarioFile("qm120-three-blocks.json"));
  ASSERT_EQ(inProcess.download(false), true);
  const AppState& app = inProcess.bench.app;
  const auto bytes = CsvBytes(app.set(kLogSet), app.file(kLogSet), app.Texts);
  ASSERT_TRUE(bytes.ok());

  QFile file(cliCsv);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray written = file.readAll();
  EXPECT_EQ(written.count('\n'), 3 + 204);
  EXPECT_EQ(written, *bytes);

  const CliRun stats = runCli({QStringLiteral("stats"), cliCsv});
  ASSERT_EQ(stats.exitCode, 0);
  EXPECT_TRUE(
      stats.out.startsWith("count: 204\nfirst: 2026/12/01 08:00:00\nlast: 2026/12/04 03:50:00\n"))
      << stats.out.toStdString();
}

TEST_F(CliEndToEnd, MeasureCountThreeGivesThreePointsWithIncreasingTimes) {
  serve("fresh-qm100.json");
  const CliRun run = runCli({QStringLiteral("--device"), m_tty, QStringLiteral("measure"),
                             QStringLiteral("--count"), QStringLiteral("3"),
                             QStringLiteral("--every"), QStringLiteral("2")});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QList<QByteArray> lines = run.out.trimmed().split('\n');
  ASSERT_EQ(lines.size(), 3) << run.out.toStdString();
  QString previous;
  for (int i = 0; i < 3; ++i) {
    const QList<QByteArray> fields = lines[i].split(',');
    ASSERT_EQ(fields.size(), 4);
    EXPECT_EQ(fields[0].toInt(), i + 1);
    const QString time = QString::fromUtf8(fields[1]);
    EXPECT_GT(time, previous);  // "yyyy/mm/dd hh:nn:ss" sorts as text
    previous = time;
  }
}

// 2 for a wrong command line, 1 for a failure.
TEST_F(CliEndToEnd, ExitCodesTellUsageFromFailure) {
  const std::pair<const char*, int> cases[] = {{"frobnicate", 2},
                                               {"download", 2},  // no -o
                                               {"measure --every 1", 2},
                                               {"--lang fr status", 2},
                                               {"start --mode loop", 2},
                                               {"stats DIR/none.csv", 1},
                                               {"--device DIR/no-such-tty status", 1}};
  for (const auto& [arguments, exitCode] : cases) {
    const QString line = QString::fromUtf8(arguments).replace(QStringLiteral("DIR"), m_dir.path());
    EXPECT_EQ(runCli(line.split(u' ')).exitCode, exitCode) << arguments;
  }
}

}  // namespace
}  // namespace termika::testing
