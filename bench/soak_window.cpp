// The main window measuring continuously at the shortest spacing for a long
// time against a logger on a serial port (termika-sim on a pty), offscreen:
// every point goes through the link, the real-time set, its dump list and
// both graphs. Prints points, resident memory and open handles once a minute.
//   soak_window SECONDS PORT_TEMPLATE ADAPTER_FILE
// Exit status 0 when every point came, no message box opened and neither
// memory nor handles grew after the first 20 seconds.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

#include "core/app/ProgramFiles.h"
#include "core/link/Exchange.h"
#include "core/link/SimulatedAdapterPins.h"
#include "core/model/AppState.h"
#include "ui/MainWindow.h"

namespace termika {
namespace {

long residentKilobytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  }
  return 0;
}

int openHandles() { return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).count()) - 2; }

bool runUntil(const std::function<bool()>& done, qint64 timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

int soak(int seconds, const QString& portTemplate, const QString& adapterFile) {
  QTemporaryDir dir;
  AppState state;
  ProgramFiles files(dir.path());
  if (!files.open(state)) return 1;
  MainWindow window(state, Settings(dir.path(), dir.path()), files);
  LoggerLinkParts link;
  link.pins = std::make_unique<SimulatedAdapterPins>(adapterFile);
  link.map = *PortMap::fromTemplate(portTemplate);
  window.attachLink(std::move(link));
  window.resize(1200, 900);
  window.show();

  QStringList messages;
  QTimer boxes;
  QObject::connect(&boxes, &QTimer::timeout, [&messages] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      messages << box->text();
      box->done(QMessageBox::No);
    }
  });
  boxes.start(20);
  const MainWindowControls& ui = window.controls();
  ui.connectButton->click();
  if (!runUntil([&] { return state.connected && !window.exchange()->isBusy(); }, 20000)) {
    std::fprintf(stderr, "soak: no logger on %s\n", qPrintable(portTemplate.arg(1)));
    return 1;
  }
  ui.spacingCombo->setCurrentText(QStringLiteral("2"));
  ui.spacingSecondsRadio->setChecked(true);
  ui.continuousButton->click();

  const auto points = [&state] { return state.set(kRealTimeSet).count; };
  const auto sample = [&](int at) {
    std::printf("%6ds  %6d points  RSS %6ld kB  %3d handles\n", at, points(), residentKilobytes(),
                openHandles());
    std::fflush(stdout);
  };
  QElapsedTimer clock;
  clock.start();
  runUntil([] { return false; }, 20000);
  const long startRss = residentKilobytes();
  const int startHandles = openHandles();
  sample(20);
  for (int at = 80; at < seconds; at += 60) {
    runUntil([] { return false; }, 60000);
    sample(at);
  }
  runUntil([&] { return clock.elapsed() >= seconds * 1000LL; }, seconds * 1000LL);
  const long endRss = residentKilobytes();
  const int endHandles = openHandles();
  sample(seconds);
  // Stopping asks whether to save the series (answered No): not a fault.
  const QStringList faults = messages;
  ui.continuousButton->click();
  runUntil([&] { return !window.exchange()->isBusy(); }, 5000);

  // One point every 2 s from the start, give or take the last one.
  const int expected = seconds / 2;
  std::printf("points: %d (about %d); RSS %ld -> %ld kB; handles %d -> %d; messages: %lld\n",
              points(), expected, startRss, endRss, startHandles, endHandles,
              static_cast<long long>(faults.size()));
  for (const QString& m : faults) std::printf("  message: %s\n", qPrintable(m));
  bool ok = faults.isEmpty() && points() >= expected - 2;
  // Allocator noise stays well under 2 MB; a leak per point does not.
  ok = ok && endRss - startRss < 2048 && endHandles <= startHandles;
  std::printf("soak: %s\n", ok ? "ok" : "FAILED");
  files.close(state);
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace termika

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: soak_window SECONDS PORT_TEMPLATE ADAPTER_FILE\n");
    return 2;
  }
  const int seconds = QString::fromLocal8Bit(argv[1]).toInt();
  if (seconds < 60) {
    std::fprintf(stderr, "soak_window: SECONDS must be >= 60\n");
    return 2;
  }
  return termika::soak(seconds, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
}
