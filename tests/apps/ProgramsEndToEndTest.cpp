#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "FileFixtures.h"
#include "SessionTestSupport.h"
#include "SimProcess.h"
#include "core/data/Csv.h"

namespace termika::testing {
namespace {

struct CliRun {
  int exitCode = -1;
  QByteArray out;
  QByteArray err;
};

// A command line as a user types it in the shell, "$0" standing for
// termika-cli: redirections, pipes and file names that are not text.
CliRun sh(const QString& line) {
  QProcess shell;
  shell.start(QStringLiteral("/bin/sh"),
              {QStringLiteral("-c"), line, SimProcess::binary("termika-cli")});
  CliRun r;
  if (!shell.waitForFinished(30000)) {
    shell.kill();
    shell.waitForFinished();
    return r;
  }
  r.exitCode = shell.exitStatus() == QProcess::NormalExit ? shell.exitCode() : -1;
  r.out = shell.readAllStandardOutput();
  r.err = shell.readAllStandardError();
  return r;
}

// termika-sim serving one scenario on <dir>/tty1.
class CliEndToEnd : public ::testing::Test {
 protected:
  void serve(const QByteArray& json) {
    ASSERT_TRUE(QFileInfo(SimProcess::binary("termika-cli")).isExecutable());
    ASSERT_TRUE(m_sim.start(json)) << m_sim.output();
  }
  QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

  QTemporaryDir m_dir;
  SimProcess m_sim{m_dir.path()};
  const QString m_tty = path("tty1");
};

// The logger is told its points are downloaded only once the file holds them.
TEST_F(CliEndToEnd, DownloadWritesTheSameCsvAsTheInProcessPathAndOnlyThenMarksTheLogger) {
  serve(fileState(scenarioPath(kThreeBlocks)));
  const QString cliCsv = m_dir.filePath(QStringLiteral("cli.csv"));
  for (const QString& output : {m_dir.filePath(QStringLiteral("missing/cli.csv")), cliCsv}) {
    const CliRun run = sh(QStringLiteral("\"$0\" --device %1 download -o %2").arg(m_tty, output));
    EXPECT_EQ(run.exitCode, output == cliCsv ? 0 : 1) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("RTS")) << run.err.toStdString();  // a pty has none: --verbose
    const QByteArray marked = output == cliCsv ? "not downloaded: no" : "not downloaded: yes";
    EXPECT_TRUE(sh(QStringLiteral("\"$0\" --device %1 status").arg(m_tty)).out.contains(marked))
        << output.toStdString();
  }

  DownloadRun inProcess(scenarioFile(kThreeBlocks));
  ASSERT_EQ(inProcess.download(false), true);
  const AppState& app = inProcess.bench.app;
  const auto bytes = csvBytes(app.set(kLogSet), app.file(kLogSet), app.texts);
  ASSERT_TRUE(bytes.ok());

  EXPECT_EQ(fileState(cliCsv), *bytes);

  const CliRun stats = sh(QStringLiteral("\"$0\" stats %1").arg(cliCsv));
  EXPECT_TRUE(
      stats.exitCode == 0 &&
      stats.out.startsWith("count: 204\nfirst: 2026/12/01 08:00:00\nlast: 2026/12/04 03:50:00\n"))
      << stats.out.toStdString();
}

// A logger holding 100 points that were never downloaded.
constexpr char kPending[] = R"({
  "model": "QM100-RH", "loggerName": "KEEP", "clock": "2026-12-06 12:00:00",
  "interval": {"unit": "minutes", "value": 1},
  "recording": {"blocks": [{"start": "2026-12-06 10:00:00", "points": 100}]}
})";

// Every way an output can be unsafe is refused with the reason (exit 1),
// leaving every file as it was and the logger's points marked as never
// downloaded; names keep their bytes and pipes are read like files. Shell
// lines: "$0" is termika-cli, DIR the test's folder, DISK a full disk.
TEST_F(CliEndToEnd, OutputsAreCheckedAndNothingIsLost) {
  serve(kPending);
  const QString dir = m_dir.path();
  // The port named relative to the working folder.
  ASSERT_EQ(sh(QStringLiteral("cd '%1' && \"$0\" --device tty1 download -o in.csv && "
                              "ln -s in.csv link.csv && ln in.csv hard.csv && "
                              "mkfifo out.fifo in.fifo && mkdir raw")
                   .arg(dir))
                .exitCode,
            0);
  serve(kPending);  // a fresh logger: the download above marked the old one
  TinyDisk disk;
  if (!disk.mounted()) std::printf("[  SKIPPED ] %s\n", qPrintable(disk.why()));
  const bool node = sh(QStringLiteral("mknod '%1/null' c 1 3").arg(dir)).exitCode == 0;
  if (disk.mounted()) {
    ASSERT_EQ(sh(QStringLiteral("printf 'old\\r\\n' > '%1/keep.csv'").arg(disk.path())).exitCode,
              0);
    disk.fill();
  }
  const QStringList watched = {path("in.csv"), path("out.fifo"), path("null"),
                               disk.filePath("keep.csv")};
  std::vector<QByteArray> before;
  for (const QString& file : watched) before.push_back(fileState(file));

  const struct {
    const char* line;
    int exitCode;
    const char* said;  // in the output or the messages
    bool possible = true;
  } cases[] = {
      // 2 for a wrong command line, found before anything reaches a logger.
      {"\"$0\" frobnicate", 2, ""},
      {"\"$0\" download", 2, ""},  // no -o
      {"\"$0\" measure --every 1", 2, ""},
      {"\"$0\" --lang fr status", 2, ""},
      {"\"$0\" start --mode loop", 2, ""},
      {"\"$0\" --baud 0 status", 2, ""},
      {"\"$0\" --adapter bogus probe", 2, ""},
      {"\"$0\" --port-map DIR/tty probe", 2, ""},
      {"\"$0\" download -o DIR/a.csv -o DIR/b.csv", 2, ""},
      {"\"$0\" set-clock --time '1999/12/31 23:59:59'", 2, ""},
      {"\"$0\" set-clock --time '2100/01/01 00:00:00'", 2, ""},
      {"\"$0\" set-name AB/C", 2, ""},
      {"\"$0\" export DIR/in.csv -o DIR/x --format xml", 2, ""},
      {"\"$0\" report DIR/in.csv -o DIR/x.pdf --activation-energy 0", 2, ""},
      {"\"$0\" report DIR/in.csv", 2, ""},  // no -o
      {"\"$0\" stats DIR/none.csv", 1, ""},
      {"\"$0\" --device DIR/no-such-tty status", 1, ""},
      {"\"$0\" DEVICE download -o DISK/keep.csv", 1, "No space left on device", disk.mounted()},
      {"\"$0\" DEVICE download -o DIR/out.fifo", 1, "通常のファイルではありません"},
      {"\"$0\" DEVICE download -o DIR/null", 1, "通常のファイルではありません", node},
      {"\"$0\" DEVICE download -o DIR/missing/x.csv", 1, "がありません"},
      {"\"$0\" DEVICE download -o DIR", 1, "通常のファイルではありません"},
      {"\"$0\" print-graph DIR/in.csv -o DIR/in.csv", 1, "同じファイル"},
      {"\"$0\" print-dump DIR/in.csv -o DIR/link.csv", 1, "同じファイル"},
      {"\"$0\" print-dump DIR/in.csv -o DIR/hard.csv", 1, "同じファイル"},
      {"\"$0\" export DIR/in.csv -o DIR/in.csv --format json", 1, "同じファイル"},
      {"\"$0\" report DIR/in.csv -o DIR/r.pdf --low -100 --high 100 && pdftotext DIR/r.pdf - | tr "
       "-d ' '",
       0, "合格:すべての記録が上下限内"},
      {"\"$0\" report DIR/in.csv -o DIR/r.pdf --high -100 --with-dump && pdftotext DIR/r.pdf - | "
       "tr -d ' '",
       0, "不合格:上下限を外れた逸脱1件"},
      {"\"$0\" export DIR/in.csv -o DIR/in.json --format json && head -c 12 DIR/in.json", 0,
       "in.json: 100 point(s)\n{"},
      {"\"$0\" print-dump DIR/in.csv -o DIR/out.fifo", 1, "通常のファイルではありません"},
      {"\"$0\" --lang en print-graph DIR/in.csv -o DIR/x.pdf", 1, "use --lang ja"},
      {"\"$0\" stats DIR/in.csv > /dev/full", 1, "No space left on device"},
      // Three points of four fields with increasing times ("yyyy/mm/dd hh:nn:ss" sorts as text).
      {"\"$0\" DEVICE measure --count 3 --every 2 | awk -F, 'NF == 4 && $2 > t {t = $2; printf "
       "\"%s \", $1} END {print NR}'",
       0, "1 2 3 3\n"},
      // The points were never downloaded: no start without the user's word.
      {"\"$0\" DEVICE start --mode one-time --interval 60", 1, "--discard-undownloaded"},
      {"\"$0\" DEVICE status", 0, "recorded points: 100\n"},
      {"\"$0\" DEVICE status", 0, "not downloaded: yes\n"},
      {"\"$0\" DEVICE start --mode loop --interval 60 --discard-undownloaded", 0, "-> yes"},
      // Two names that are not UTF-8, which Qt alone would both save as U+FFFD.
      {"\"$0\" print-dump DIR/in.csv -o \"DIR/raw/$(printf '\\377').pdf\"", 0, "page(s)"},
      {"\"$0\" print-dump DIR/in.csv -o \"DIR/raw/$(printf '\\376').pdf\"", 0, "page(s)"},
      {"cd DIR/raw && ls | od -An -tx1 && cd .. && rm -r raw", 0,
       "fe 2e 70 64 66 0a ff 2e 70 64 66 0a"},  // QDir cannot even list them
      {"\"$0\" --version", 0, "termika-cli " TERMIKA_VERSION "\n"},
      {"\"$0\" stats /dev/stdin < DIR/in.csv", 0, "count: 100\n"},
      {"\"$0\" stats DIR/in.fifo & cat DIR/in.csv > DIR/in.fifo; wait $!", 0, "count: 100\n"},
  };
  for (const auto& c : cases) {
    if (!c.possible) continue;
    const CliRun run =
        sh(QString::fromUtf8(c.line)
               .replace(QStringLiteral("DEVICE"), QStringLiteral("--device ") + m_tty)
               .replace(QStringLiteral("DISK"), disk.path())
               .replace(QStringLiteral("DIR"), dir));
    EXPECT_EQ(run.exitCode, c.exitCode) << c.line << ": " << run.err.toStdString();
    EXPECT_TRUE((run.out + run.err).contains(c.said)) << c.line << ": " << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("(line")) << c.line;  // the line is named once
    EXPECT_FALSE(c.exitCode == 1 && run.err.contains("-> yes")) << c.line;
  }
  for (qsizetype i = 0; i < watched.size(); ++i)
    EXPECT_EQ(fileState(watched[i]), before[static_cast<size_t>(i)]) << watched[i].toStdString();
  EXPECT_FALSE(QFile::exists(path("missing")) || QFile::exists(path("x.pdf")));
}

// A failed probe says why under the "not connected" line, and a measurement
// that loses its logger says so, in the chosen language (LANG).
TEST_F(CliEndToEnd, LinkFailuresSayWhy) {
  const struct {
    const char* scenario;  // with the faults
    const char* line;
    const char* japanese;
    const char* english;
  } cases[] = {
      {R"("model": "QM100-RH", "faults": {"silentRequests": 1000})", "DEVICE probe",
       "ロガーから応答がありません", "The logger does not answer."},
      {R"("model": "QM200-RHA")", "DEVICE probe", "QM200-RHA", "QM200-RHA"},
      {R"("model": "QM100-RH")", "--adapter sim:DIR/none --port-map DIR/tty%1 probe",
       "USBアダプタが見つかりません", "No USB adapter"},
      {R"("model": "QM100-RH", "faults": {"unplugAfterRequests": 30})",
       "DEVICE measure --count 5 --every 2", "通信が切れたため測定を終了しました (2/5)",
       "link to the logger was lost. (2/5)"},
  };
  for (const auto& c : cases) {
    for (const bool english : {false, true}) {
      serve(QByteArray(R"({"clock": "2026-12-06 09:00:00", )") + c.scenario + '}');
      const CliRun run = sh(
          QStringLiteral("\"$0\" --lang %1 %2")
              .arg(english ? QStringLiteral("en") : QStringLiteral("ja"), QString::fromUtf8(c.line))
              .replace(QStringLiteral("DEVICE"), QStringLiteral("--device ") + m_tty)
              .replace(QStringLiteral("DIR"), m_dir.path()));
      // The cause goes on the line under "not connected".
      const QByteArray under =
          english ? "not connected.\ntermika-cli: " : "が接続されていません\ntermika-cli: ";
      EXPECT_TRUE(run.exitCode == 1 && run.err.contains(english ? c.english : c.japanese) &&
                  (!QByteArray(c.line).endsWith("probe") || run.err.contains(under)))
          << run.err.toStdString();
    }
  }
}

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
