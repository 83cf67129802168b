#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "SimProcess.h"

namespace termika {
namespace {

class SimBinary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QFileInfo(testing::SimProcess::binary()).isExecutable())
        << testing::SimProcess::binary().toStdString();
    ASSERT_TRUE(m_dir.isValid());
  }
  void TearDown() override {
    if (m_process.state() != QProcess::NotRunning) {
      m_process.kill();
      m_process.waitForFinished(3000);
    }
  }

  QString path(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

  void write(const char* name, const QByteArray& bytes) {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  void start(const QByteArray& scenario, const QStringList& extra = {}) {
    write("scenario.json", scenario);
    m_process.start(
        testing::SimProcess::binary(),
        QStringList{path("scenario.json"), QStringLiteral("--link"), path("tty0")} + extra);
    ASSERT_TRUE(m_process.waitForStarted(3000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(path("tty0")).isSymLink(); }, 5000));
  }

  QTemporaryDir m_dir;
  QProcess m_process;
};

constexpr char kScenario[] = R"({"model": "QM120-RH", "clock": "2026-12-06 09:00:00"})";

TEST_F(SimBinary, TracesAdapterPulsesAndCleansUpOnSigterm) {
  start(kScenario, {QStringLiteral("--trace"), path("trace.txt"), QStringLiteral("--adapter-file"),
                    path("adapter")});
  EXPECT_TRUE(QFileInfo::exists(path("adapter")));
  // Frames over the pty are the fault suite's and the command line's.
  QFile adapter(path("adapter"));
  ASSERT_TRUE(adapter.open(QIODevice::Append));
  adapter.write("pulse 255 1700000000000\npulse 0 1700000000100\n");
  adapter.close();
  QThread::msleep(200);  // the adapter file is polled every 50 ms
  m_process.terminate();
  ASSERT_TRUE(m_process.waitForFinished(5000));
  EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(m_process.exitCode(), 0);
  EXPECT_FALSE(QFileInfo(path("tty0")).isSymLink());
  EXPECT_FALSE(QFileInfo::exists(path("adapter")));
  QFile trace(path("trace.txt"));
  ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
  const QByteArray text = trace.readAll();
  EXPECT_TRUE(text.contains("adapter pulse 255 1700000000000")) << text.constData();
  EXPECT_TRUE(text.contains("adapter pulse 0 1700000000100"));
}

// A start that cannot be served ends with a message and touches no file
// that is not the simulator's own.
TEST_F(SimBinary, ABadStartIsRefusedWithAMessageAndLeavesFilesAlone) {
  write("bad.json", R"({"clock": "yesterday"})");
  write("scenario.json", kScenario);
  write("notes.txt", "someone's notes\n");
  const struct {
    QStringList arguments;
    const char* said;
  } cases[] = {
      {{path("bad.json")}, "\"clock\""},
      {{path("scenario.json"), QStringLiteral("--adapter-file"), path("notes.txt")}, "notes.txt"},
  };
  for (const auto& c : cases) {
    m_process.start(testing::SimProcess::binary(), c.arguments);
    ASSERT_TRUE(m_process.waitForFinished(5000));
    EXPECT_EQ(m_process.exitCode(), 1) << c.said;
    EXPECT_TRUE(m_process.readAllStandardError().contains(c.said)) << c.said;
  }
  QFile notes(path("notes.txt"));
  ASSERT_TRUE(notes.open(QIODevice::ReadOnly));
  EXPECT_EQ(notes.readAll(), QByteArray("someone's notes\n"));
}

}  // namespace
}  // namespace termika
