// termika-cli: the logger's main jobs (find, read, download, measure,
// configure, print) without the window, for scripts and scheduled jobs.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "CliOptions.h"
#include "CliRunner.h"
#include "FileCommands.h"
#include "core/base/Translations.h"
#include "core/data/InputFile.h"
#include "core/data/NativeFileName.h"
#include "ui/print/PrintActions.h"

namespace {

void err(const QString& line) {
  std::fprintf(stderr, "termika-cli: %s\n", line.toLocal8Bit().constData());
}

// Printing needs fonts and a paint engine, so the print and report commands
// run a GUI application on the offscreen platform; everything else stays
// console-only.
bool wantsPrint(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QLatin1String a(argv[i]);
    if (a == QLatin1String("print-graph") || a == QLatin1String("print-dump") ||
        a == QLatin1String("report")) {
      return true;
    }
  }
  return false;
}

// Qt decodes the arguments as UTF-8 and loses the bytes of a file name that
// is not; these keep them.
QStringList argumentsOf(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << termika::fileNameFromNative(QByteArray(argv[i]));
  return arguments;
}

// Output that did not reach standard output is a failure, whatever the
// command did; a command that failed already has said why.
int checkedOutput(int code) {
  errno = 0;
  const bool flushed = std::fflush(stdout) == 0;
  const int error = errno;
  if ((flushed && !std::ferror(stdout)) || code != termika::cli::kExitOk) return code;
  err(QStringLiteral("cannot write to standard output: %1")
          .arg(flushed ? QStringLiteral("a write failed")
                       : QString::fromLocal8Bit(std::strerror(error))));
  return termika::cli::kExitFailure;
}

int run(int argc, char** argv) {
  std::unique_ptr<QCoreApplication> app;
  if (wantsPrint(argc, argv)) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  QCoreApplication::setApplicationName(QStringLiteral("termika-cli"));
  const QStringList arguments = argumentsOf(argc, argv);
  if (arguments.contains(QStringLiteral("--version"))) {
    std::printf("termika-cli %s\n", TERMIKA_VERSION);
    return checkedOutput(termika::cli::kExitOk);
  }
  if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
    std::printf("%s", termika::cli::CliOptions::usage().toLocal8Bit().constData());
    return checkedOutput(termika::cli::kExitOk);
  }
  auto options = termika::cli::CliOptions::parse(arguments);
  if (!options) {
    std::fprintf(stderr, "termika-cli: %s\n%s", options.error().message.toLocal8Bit().constData(),
                 termika::cli::CliOptions::usage().toLocal8Bit().constData());
    return termika::cli::kExitUsage;
  }
  // Notes about the port (RTS that a pty cannot set, ...) are for --verbose.
  if (!options->verbose)
    QLoggingCategory::setFilterRules(QStringLiteral("termika.port.info=false"));
  // The link's and the files' messages follow --lang, like the logger's texts.
  const termika::Translations translations(options->language);
  if (options->worksOnFile()) return checkedOutput(termika::cli::runFileCommand(*options));
  termika::cli::CliRunner runner(std::move(*options));
  if (const auto code = runner.start()) return checkedOutput(*code);
  return checkedOutput(QCoreApplication::exec());
}

}  // namespace

int main(int argc, char** argv) {
  // Qt reports through return values; what can still throw (memory) ends the
  // program with a message instead of an abort.
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    err(QString::fromLocal8Bit(e.what()));
    return termika::cli::kExitFailure;
  }
}
