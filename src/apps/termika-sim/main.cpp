// termika-sim: serves one simulated logger scenario on a pseudo-terminal so
// the program (or any serial tool) can talk to it as to a real logger.
#include <pthread.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cstdio>
#include <exception>

#include "AdapterFile.h"
#include "FrameTrace.h"
#include "PtyServer.h"
#include "sim/SimScenario.h"

namespace {

using termika::Error;
using termika::Result;

int fail(const QString& message) {
  std::fprintf(stderr, "termika-sim: %s\n", qPrintable(message));
  return 1;
}

// Publishes the terminal under a stable name. An existing symlink (left by
// an earlier run) is replaced; anything else at that path is not touched.
Result<void> makeLink(const QString& link, const QString& target) {
  QDir().mkpath(QFileInfo(link).absolutePath());
  const QFileInfo existing(link);
  if (existing.isSymLink()) {
    QFile::remove(link);
  } else if (existing.exists()) {
    return Error{QStringLiteral("%1 exists and is not a symlink; not replacing it").arg(link)};
  }
  if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) != 0) {
    return Error{QStringLiteral("cannot create the link %1").arg(link)};
  }
  return {};
}

void removeLink(const QString& link) {
  if (!link.isEmpty() && QFileInfo(link).isSymLink()) QFile::remove(link);
}

}  // namespace

static int runSimulator(int argc, char** argv) {
  // SIGINT and SIGTERM are taken through a signalfd so the event loop can
  // end normally and clean up the link and the adapter file.
  QCoreApplication app(argc, argv);
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  // A shell starting us in the background leaves SIGINT ignored; we want it.
  signal(SIGINT, SIG_DFL);
  signal(SIGTERM, SIG_DFL);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  QCoreApplication::setApplicationName(QStringLiteral("termika-sim"));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Serves a simulated Termika logger on a pseudo-terminal."));
  parser.addHelpOption();
  parser.addPositionalArgument(QStringLiteral("scenario"), QStringLiteral("Scenario JSON file."));
  const QCommandLineOption linkOption(QStringLiteral("link"),
                                      QStringLiteral("Publish the terminal as this symlink."),
                                      QStringLiteral("path"));
  const QCommandLineOption traceOption(QStringLiteral("trace"),
                                       QStringLiteral("Hex log of every frame both ways."),
                                       QStringLiteral("file"));
  const QCommandLineOption pacedOption(QStringLiteral("paced"),
                                       QStringLiteral("Send at the baud rate (10 bits a byte)."));
  const QCommandLineOption baudOption(QStringLiteral("baud"),
                                      QStringLiteral("Baud rate for --paced (default 57600)."),
                                      QStringLiteral("rate"));
  const QCommandLineOption latencyOption(
      QStringLiteral("latency"), QStringLiteral("Delay of every answer (adapter latency timer)."),
      QStringLiteral("ms"));
  const QCommandLineOption adapterOption(
      QStringLiteral("adapter-file"),
      QStringLiteral("Simulated adapter: presence file that records CBUS pulses."),
      QStringLiteral("path"));
  parser.addOptions(
      {linkOption, traceOption, pacedOption, baudOption, latencyOption, adapterOption});
  parser.process(app);
  if (parser.positionalArguments().size() != 1) {
    return fail(QStringLiteral("give exactly one scenario file (see --help)"));
  }

  Result<termika::SimScenario> scenario = termika::loadScenario(parser.positionalArguments()[0]);
  if (!scenario) return fail(scenario.error().message);
  termika::SimFaults& faults = scenario->faults;
  if (parser.isSet(pacedOption)) faults.paced = true;
  bool ok = true;
  if (parser.isSet(baudOption)) {
    faults.baud = parser.value(baudOption).toInt(&ok);
    if (!ok || faults.baud < 300) return fail(QStringLiteral("--baud needs a rate of 300 or more"));
  }
  if (parser.isSet(latencyOption)) {
    faults.latencyMs = parser.value(latencyOption).toInt(&ok);
    if (!ok || faults.latencyMs < 0) return fail(QStringLiteral("--latency needs milliseconds"));
  }

  termika::FrameTrace trace;
  QString error;
  if (parser.isSet(traceOption) && !trace.open(parser.value(traceOption), &error)) {
    return fail(error);
  }

  termika::PtyServer server(std::make_unique<termika::SimulatedLogger>(*scenario), &trace);
  const Result<QString> device = server.open();
  if (!device) return fail(device.error().message);

  const QString link = parser.value(linkOption);
  if (!link.isEmpty()) {
    if (const Result<void> linked = makeLink(link, *device); !linked) {
      return fail(linked.error().message);
    }
  }
  termika::AdapterFile adapter(parser.value(adapterOption), &trace,
                               [&server] { return server.elapsedMs(); });
  if (parser.isSet(adapterOption) && !adapter.create(&error)) {
    removeLink(link);
    return fail(error);
  }

  const int signalFd = ::signalfd(-1, &stopSignals, SFD_CLOEXEC | SFD_NONBLOCK);
  QSocketNotifier stopNotifier(signalFd, QSocketNotifier::Read);
  QObject::connect(&stopNotifier, &QSocketNotifier::activated, &app, [&] {
    signalfd_siginfo info{};
    (void)!::read(signalFd, &info, sizeof info);
    QCoreApplication::quit();
  });
  QObject::connect(&server, &termika::PtyServer::unplugged, &app, [&] {
    // A pulled adapter: the port and the adapter vanish together.
    removeLink(link);
    adapter.remove();
    std::fprintf(stdout, "termika-sim: unplugged\n");
    std::fflush(stdout);
    QCoreApplication::quit();
  });

  trace.note(
      0, QStringLiteral("serving \"%1\" (%2) on %3").arg(scenario->name, scenario->model, *device));
  std::fprintf(stdout, "termika-sim: %s on %s%s%s\n", qPrintable(scenario->model),
               qPrintable(*device), link.isEmpty() ? "" : " as ", qPrintable(link));
  std::fflush(stdout);

  const int status = QCoreApplication::exec();
  removeLink(link);
  adapter.remove();
  ::close(signalFd);
  return status;
}

int main(int argc, char** argv) {
  // Anything thrown past the program is reported instead of ending in terminate().
  try {
    return runSimulator(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "termika-sim: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "termika-sim: unexpected failure\n");
  }
  return 1;
}
