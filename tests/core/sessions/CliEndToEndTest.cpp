#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <optional>

#include "SessionTestSupport.h"
#include "TinyDisk.h"
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

// How a run is fed and where its output goes.
struct CliIo {
  QString workingFolder;
  QString stdinFile;
  QString stdoutFile;
};

CliRun finished(QProcess& process, int timeoutMs) {
  CliRun r;
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished();
    return r;
  }
  r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  r.out = process.readAllStandardOutput();
  r.err = process.readAllStandardError();
  return r;
}

CliRun runCli(const QStringList& arguments, const CliIo& io = {}, int timeoutMs = 30000) {
  QProcess cli;
  if (!io.workingFolder.isEmpty()) cli.setWorkingDirectory(io.workingFolder);
  if (!io.stdinFile.isEmpty()) cli.setStandardInputFile(io.stdinFile);
  if (!io.stdoutFile.isEmpty()) cli.setStandardOutputFile(io.stdoutFile);
  cli.start(binary("termika-cli"), arguments);
  return finished(cli, timeoutMs);
}

// A command line given to the shell, for file names that are not text:
// "$0" is termika-cli.
CliRun runCliInShell(const QString& script) {
  QProcess shell;
  shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, binary("termika-cli")});
  return finished(shell, 30000);
}

QByteArray stateOf(const QString& path) {
  struct stat st {};
  if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return "(none)";
  if (S_ISFIFO(st.st_mode)) return "(fifo)";
  if (S_ISCHR(st.st_mode)) return "(character device)";
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// termika-sim serving one scenario on <dir>/tty1.
class CliEndToEnd : public ::testing::Test {
 protected:
  void serve(const char* scenario) { serveFile(scenarioPath(scenario)); }
  void serveJson(const QByteArray& json) {
    const QString file = m_dir.filePath(QStringLiteral("scenario.json"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(json) == json.size());
    out.close();
    serveFile(file);
  }
  void serveFile(const QString& scenario) {
    ASSERT_TRUE(QFileInfo(binary("termika-sim")).isExecutable());
    ASSERT_TRUE(QFileInfo(binary("termika-cli")).isExecutable());
    TearDown();
    m_tty = m_dir.filePath(QStringLiteral("tty1"));
    QFile::remove(m_tty);
    m_sim.start(binary("termika-sim"), {QStringLiteral("--link"), m_tty, scenario});
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

  QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

  QTemporaryDir m_dir;
  QProcess m_sim;
  QString m_tty;
};

TEST_F(CliEndToEnd, DownloadWritesTheSameCsvAsTheInProcessPath) {
  serve("qm120-three-blocks.json");
  const QString cliCsv = m_dir.filePath(QStringLiteral("cli.csv"));
  const CliRun run = runCli({QStringLiteral("--device"), m_tty, QStringLiteral("download"),
                             QStringLiteral("-o"), cliCsv});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_FALSE(run.err.contains("RTS")) << run.err.toStdString();  // a pty has none: --verbose

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

// 2 for a wrong command line, found before anything reaches a logger; 1 for
// a failure. Arguments are separated by "|".
TEST_F(CliEndToEnd, ExitCodesTellUsageFromFailure) {
  const std::pair<const char*, int> cases[] = {
      {"frobnicate", 2},
      {"download", 2},  // no -o
      {"measure|--every|1", 2},
      {"--lang|fr|status", 2},
      {"start|--mode|loop", 2},
      {"--baud|0|status", 2},
      {"--adapter|bogus|probe", 2},
      {"--port-map|DIR/tty|probe", 2},
      {"download|-o|DIR/a.csv|-o|DIR/b.csv", 2},
      {"print-graph|DIR/in.csv|-o|DIR/a.pdf|-o|DIR/b.pdf", 2},
      {"set-clock|--time|1999/12/31 23:59:59", 2},
      {"set-clock|--time|2100/01/01 00:00:00", 2},
      {"set-name|AB/C", 2},
      {"set-name|ABCDE", 2},
      {"set-name|A\tB", 2},
      {"stats|DIR/none.csv", 1},
      {"--device|DIR/no-such-tty|status", 1},
  };
  for (const auto& [arguments, exitCode] : cases) {
    const QString line = QString::fromUtf8(arguments).replace(QStringLiteral("DIR"), m_dir.path());
    const CliRun run = runCli(line.split(u'|'));
    EXPECT_EQ(run.exitCode, exitCode) << arguments << ": " << run.err.toStdString();
  }
}

// A logger holding 100 points that were never downloaded.
constexpr char kPending[] = R"({
  "model": "QM100-RH", "loggerName": "KEEP", "clock": "2026-12-06 12:00:00",
  "interval": {"unit": "minutes", "value": 1},
  "recording": {"blocks": [{"start": "2026-12-06 10:00:00", "points": 100}]}
})";

// Every way an output can be unsafe: the program says why, exits 1 and
// leaves every file as it was, and the logger is never marked downloaded for
// a set that was not saved. "$0" in a shell line is termika-cli.
TEST_F(CliEndToEnd, UnsafeOutputsAreRefusedAndNothingIsLost) {
  serveJson(kPending);
  const QString device = QStringLiteral("--device|") + m_tty;
  const QString csv = path("in.csv");
  ASSERT_EQ(runCli({QStringLiteral("--device"), m_tty, QStringLiteral("download"),
                    QStringLiteral("-o"), csv})
                .exitCode,
            0);
  serveJson(kPending);  // a fresh logger: the download above marked the old one
  ASSERT_TRUE(QFile::link(csv, path("link.csv")));
  ASSERT_EQ(
      ::link(QFile::encodeName(csv).constData(), QFile::encodeName(path("hard.csv")).constData()),
      0);
  ASSERT_EQ(::mkfifo(QFile::encodeName(path("out.fifo")).constData(), 0600), 0);
  ASSERT_EQ(::mkfifo(QFile::encodeName(path("in.fifo")).constData(), 0600), 0);
  const bool node =
      ::mknod(QFile::encodeName(path("null")).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
  testing::TinyDisk disk;
  if (disk.mounted()) {
    QFile old(disk.filePath(QStringLiteral("keep.csv")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old content\r\n") == 13);
    old.close();
    disk.fill(4096);
  } else {
    std::printf("[  SKIPPED ] %s\n", qPrintable(disk.why()));
  }
  const QStringList watched = {csv, path("out.fifo"), path("null"),
                               disk.filePath(QStringLiteral("keep.csv"))};
  std::vector<QByteArray> before;
  for (const QString& file : watched) before.push_back(stateOf(file));

  struct Case {
    const char* arguments;  // "|"-separated; DEVICE, DIR and DISK are replaced
    const char* said;       // in the messages
    bool needs = true;      // false: this machine cannot make the case
  };
  const Case cases[] = {
      {"DEVICE|download|-o|DISK/keep.csv", "No space left on device", disk.mounted()},
      {"DEVICE|download|-o|DIR/out.fifo", "not a regular file"},
      {"DEVICE|download|-o|DIR/null", "not a regular file", node},
      {"DEVICE|download|-o|DIR/missing/x.csv", "does not exist"},
      {"DEVICE|download|-o|DIR", "not a regular file"},
      {"print-graph|DIR/in.csv|-o|DIR/in.csv", "same file"},
      {"print-dump|DIR/in.csv|-o|DIR/link.csv", "same file"},
      {"print-dump|DIR/in.csv|-o|DIR/hard.csv", "same file"},
      {"print-dump|DIR/in.csv|-o|DIR/out.fifo", "not a regular file"},
      {"--lang|en|print-graph|DIR/in.csv|-o|DIR/x.pdf", "use --lang ja"},
      // The points were never downloaded: no start without the user's word.
      {"DEVICE|start|--mode|one-time|--interval|60", "--discard-undownloaded"},
  };
  for (const Case& c : cases) {
    if (!c.needs) continue;
    const QString line = QString::fromUtf8(c.arguments)
                             .replace(QStringLiteral("DEVICE"), device)
                             .replace(QStringLiteral("DISK"), disk.path())
                             .replace(QStringLiteral("DIR"), m_dir.path());
    const CliRun run = runCli(line.split(u'|'));
    EXPECT_EQ(run.exitCode, 1) << c.arguments << ": " << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(c.said)) << c.arguments << ": " << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("-> yes")) << c.arguments;
    EXPECT_FALSE(run.err.contains("(line")) << c.arguments;  // the line is named once
  }
  for (qsizetype i = 0; i < watched.size(); ++i)
    EXPECT_EQ(stateOf(watched[i]), before[static_cast<size_t>(i)]) << watched[i].toStdString();
  EXPECT_FALSE(QFile::exists(path("missing")) || QFile::exists(path("x.pdf")));
  const CliRun status = runCli({QStringLiteral("--device"), m_tty, QStringLiteral("status")});
  EXPECT_TRUE(status.out.contains("recorded points: 100\n")) << status.out.toStdString();
  EXPECT_TRUE(status.out.contains("not downloaded: yes\n")) << status.out.toStdString();
  const CliRun start =
      runCli({QStringLiteral("--device"), m_tty, QStringLiteral("start"), QStringLiteral("--mode"),
              QStringLiteral("loop"), QStringLiteral("--interval"), QStringLiteral("60"),
              QStringLiteral("--discard-undownloaded")});
  EXPECT_EQ(start.exitCode, 0) << start.err.toStdString();
  EXPECT_TRUE(start.err.contains("-> yes")) << start.err.toStdString();

  // Standard output that cannot be written is a failure too.
  const CliRun full = runCli({QStringLiteral("stats"), csv}, {{}, {}, QStringLiteral("/dev/full")});
  EXPECT_EQ(full.exitCode, 1);
  EXPECT_TRUE(full.err.contains("No space left on device")) << full.err.toStdString();
}

// Names keep their bytes, relative device paths start in the working folder,
// and pipes are read whole like files.
TEST_F(CliEndToEnd, NamesDevicesAndStreamsAreTakenAsGiven) {
  serveJson(kPending);
  const QString csv = path("in.csv");
  ASSERT_EQ(runCli({QStringLiteral("--device"), QStringLiteral("tty1"), QStringLiteral("download"),
                    QStringLiteral("-o"), csv},
                   {m_dir.path(), {}, {}})
                .exitCode,
            0);
  // Two names that are not UTF-8, which Qt alone would both save as "\uFFFD.pdf".
  for (const char* name : {"\\377", "\\376"}) {
    const CliRun run = runCliInShell(
        QStringLiteral("mkdir -p '%1/raw' && cd '%1/raw' && cp ../in.csv \"$(printf '%2.csv')\" && "
                       "exec \"$0\" print-dump \"$(printf '%2.csv')\" -o \"$(printf '%2.pdf')\"")
            .arg(m_dir.path(), QString::fromLatin1(name)));
    EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err.toStdString();
  }
  QProcess list;  // QDir cannot even list such names; the shell can, and clears them
  list.start(QStringLiteral("/bin/sh"),
             {QStringLiteral("-c"),
              QStringLiteral("cd '%1/raw' && ls *.pdf | od -An -tx1 && cd .. && rm -r raw")
                  .arg(m_dir.path())});
  ASSERT_TRUE(list.waitForFinished());
  EXPECT_EQ(list.readAllStandardOutput().simplified(), "fe 2e 70 64 66 0a ff 2e 70 64 66 0a");

  const CliRun piped =
      runCli({QStringLiteral("stats"), QStringLiteral("/dev/stdin")}, {{}, csv, {}});
  EXPECT_EQ(piped.exitCode, 0) << piped.err.toStdString();
  EXPECT_TRUE(piped.out.startsWith("count: 100\n")) << piped.out.toStdString();
  ASSERT_EQ(::mkfifo(QFile::encodeName(path("in.fifo")).constData(), 0600), 0);
  QProcess writer;
  writer.start(QStringLiteral("/bin/sh"),
               {QStringLiteral("-c"), QStringLiteral("cat '%1' > '%2'").arg(csv, path("in.fifo"))});
  const CliRun fifo = runCli({QStringLiteral("stats"), path("in.fifo")});
  writer.waitForFinished();
  EXPECT_EQ(fifo.exitCode, 0) << fifo.err.toStdString();
  EXPECT_TRUE(fifo.out.startsWith("count: 100\n")) << fifo.out.toStdString();
}

// A failed probe says why under the "not connected" line, and a measurement
// that loses its logger says so, in the chosen language.
TEST_F(CliEndToEnd, LinkFailuresSayWhy) {
  const struct {
    const char* scenario;  // nullptr: no simulator, scan with an absent adapter
    const char* command;
    const char* japanese;
    const char* english;
  } cases[] = {
      {R"({"model": "QM100-RH", "clock": "2026-12-06 09:00:00",
           "faults": {"silentRequests": 1000}})",
       "probe", "ロガーから応答がありません", "The logger does not answer."},
      {R"({"model": "QM200-RHA", "clock": "2026-12-06 09:00:00"})", "probe", "QM200-RHA",
       "QM200-RHA"},
      {R"({"model": "XK-9", "clock": "2026-12-06 09:00:00"})", "probe", "読み取れません",
       "could not be read"},
      {nullptr, "probe", "USBアダプタが見つかりません", "No USB adapter"},
      {R"({"model": "QM100-RH", "clock": "2026-12-06 09:00:00",
           "faults": {"unplugAfterRequests": 30}})",
       "measure|--count|5|--every|2", "通信が切れたため測定を終了しました (2/5)",
       "link to the logger was lost. (2/5)"},
  };
  for (const auto& c : cases) {
    QStringList arguments;
    if (c.scenario) {
      serveJson(c.scenario);
      arguments = {QStringLiteral("--device"), m_tty};
    } else {
      arguments = {QStringLiteral("--adapter"), QStringLiteral("sim:") + path("no-adapter"),
                   QStringLiteral("--port-map"), path("tty%1")};
    }
    const bool probe = QByteArray(c.command) == "probe";
    for (const bool english : {false, true}) {
      if (!probe && english) serveJson(c.scenario);  // a fresh logger to unplug again
      const CliRun run = runCli(arguments +
                                QStringList{QStringLiteral("--lang"),
                                            english ? QStringLiteral("en") : QStringLiteral("ja")} +
                                QString::fromUtf8(c.command).split(u'|'));
      const QList<QByteArray> lines = run.err.trimmed().split('\n');
      EXPECT_EQ(run.exitCode, 1);
      const QByteArray said = english ? c.english : c.japanese;
      if (probe) {
        ASSERT_GE(lines.size(), 2) << run.err.toStdString();
        EXPECT_TRUE(
            lines[lines.size() - 2].endsWith(english ? "not connected." : "が接続されていません"))
            << run.err.toStdString();
        EXPECT_TRUE(lines.last().contains(said)) << run.err.toStdString();
      } else {
        EXPECT_TRUE(run.err.contains(said)) << run.err.toStdString();
      }
    }
  }
}

}  // namespace
}  // namespace termika::testing
