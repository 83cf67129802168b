#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "SimProcess.h"

namespace termika {
namespace {

// One end of the terminal, as a serial program would hold it.
class Terminal final {
 public:
  explicit Terminal(const QString& path)
      : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY)) {
    if (m_fd >= 0) {
      termios tio{};
      ::tcgetattr(m_fd, &tio);
      ::cfmakeraw(&tio);
      ::tcsetattr(m_fd, TCSANOW, &tio);
    }
  }
  ~Terminal() {
    if (m_fd >= 0) ::close(m_fd);
  }
  bool ok() const { return m_fd >= 0; }

  // Writes a request and collects the answer up to `frames` terminators.
  QByteArray ask(const QByteArray& request, int frames = 1, int timeoutMs = 3000) {
    if (::write(m_fd, request.constData(), static_cast<size_t>(request.size())) != request.size()) {
      return {};
    }
    QByteArray answer;
    QElapsedTimer clock;
    clock.start();
    while (answer.count('\xff') < frames && clock.elapsed() < timeoutMs) {
      pollfd p{m_fd, POLLIN, 0};
      if (::poll(&p, 1, 50) > 0 && (p.revents & POLLIN)) {
        char buffer[4096];
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) answer.append(buffer, static_cast<qsizetype>(n));
      }
    }
    return answer;
  }

 private:
  int m_fd;
};

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

constexpr char kScenario[] = R"({
  "model": "QM120-RH", "firmware": [1, 5], "loggerName": "PTY1", "clock": "2026-12-06 09:00:00",
  "interval": {"unit": "minutes", "value": 1},
  "recording": {"blocks": [{"start": "2026-12-06 08:00:00", "points": 3}]},
  "points": [[100, 200], [300, 400], [500, 600]]
})";

TEST_F(SimBinary, AnswersRawFramesOnAPtyAndCleansUpOnSigterm) {
  start(kScenario, {QStringLiteral("--trace"), path("trace.txt"), QStringLiteral("--adapter-file"),
                    path("adapter")});
  EXPECT_TRUE(QFileInfo::exists(path("adapter")));
  {
    Terminal tty(path("tty0"));
    ASSERT_TRUE(tty.ok());
    EXPECT_EQ(tty.ask(QByteArray::fromHex("0001009900000000ff")),
              QByteArray("QM120-RH\x01\x05\xff"));
    // name "PTY1": P = 80, T = 84
    EXPECT_EQ(tty.ask(QByteArray::fromHex("0001004200000000ff")).toHex(), "0001004200800084ff");
    // fast download of 12 bytes: three points, 100 = 0x0064, 200 = 0x00C8 ...
    EXPECT_EQ(tty.ask(QByteArray::fromHex("0001004400000012ff"), 3).toHex(),
              "0000010000000200ff"
              "0001004400010144ff"
              "0001024400020088ff");
    QFile adapter(path("adapter"));
    ASSERT_TRUE(adapter.open(QIODevice::Append));
    adapter.write("pulse 255 1700000000000\npulse 0 1700000000100\n");
  }
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
  EXPECT_TRUE(text.contains("pc->logger  00 01 00 99 00 00 00 00 ff")) << text.constData();
  EXPECT_TRUE(text.contains("logger->pc  00 01 00 42 00 80 00 84 ff"));
  EXPECT_TRUE(text.contains("adapter pulse 255 1700000000000"));
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
