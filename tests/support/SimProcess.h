#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <string>

namespace termika::testing {

// termika-sim serving a scenario on <dir>/tty1, with its adapter file at
// <dir>/adapter, the way a user runs it for the program.
class SimProcess final {
 public:
  explicit SimProcess(const QString& dir)
      : m_dir(dir),
        m_tty(QDir(dir).filePath(QStringLiteral("tty1"))),
        m_adapter(QDir(dir).filePath(QStringLiteral("adapter"))) {}
  ~SimProcess() { stop(); }

  // One of the programs in the build tree.
  static QString binary(const char* app = "termika-sim") {
    return qEnvironmentVariable("TERMIKA_BINARY_DIR") +
           QStringLiteral("/src/apps/%1/%1").arg(QLatin1String(app));
  }

  // Starts a new logger described by `scenarioJson`; false when it does not come up.
  bool start(const QByteArray& scenarioJson) {
    // One more try: a simulator starting on a loaded machine may miss the wait.
    return startOnce(scenarioJson) || startOnce(scenarioJson);
  }

  bool startOnce(const QByteArray& scenarioJson) {
    stop();
    // A killed simulator leaves its link behind, pointing nowhere.
    QFile::remove(m_tty);
    const QString file = QDir(m_dir).filePath(QStringLiteral("scenario%1.json").arg(++m_starts));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(scenarioJson) != scenarioJson.size()) {
      return false;
    }
    out.close();
    m_process.start(binary(), {QStringLiteral("--link"), m_tty, QStringLiteral("--adapter-file"),
                               m_adapter, file});
    if (!m_process.waitForStarted(5000)) return false;
    // The simulator makes its link first and its adapter file next: wait for both.
    const auto ready = [this] { return QFileInfo::exists(m_tty) && QFileInfo::exists(m_adapter); };
    for (int i = 0; i < 500 && !ready(); ++i) QThread::msleep(10);
    return ready();
  }

  // What the simulator said on its way out, for a failure message.
  std::string output() {
    if (running()) m_process.waitForFinished(200);
    const QByteArray said = m_process.readAllStandardOutput() + m_process.readAllStandardError();
    const QByteArray state = running() ? QByteArray("(still running) ")
                             : m_process.exitStatus() == QProcess::CrashExit
                                 ? QByteArray("(crashed) ")
                                 : "(exit " + QByteArray::number(m_process.exitCode()) + ") ";
    return (state + said).toStdString();
  }

  void stop() {
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) m_process.kill();
    m_process.waitForFinished();
  }

  // The process dies at once, as when the logger is pulled out mid-sentence.
  void kill() {
    m_process.kill();
    m_process.waitForFinished();
  }

  bool running() const { return m_process.state() == QProcess::Running; }
  const QString& adapterFile() const { return m_adapter; }
  QString portPattern() const { return QDir(m_dir).filePath(QStringLiteral("tty%1")); }

 private:
  QString m_dir;
  QString m_tty;
  QString m_adapter;
  QProcess m_process;
  int m_starts = 0;
};

}  // namespace termika::testing
