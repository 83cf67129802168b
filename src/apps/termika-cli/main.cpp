// termika-cli: the logger's main jobs (find, read, download, measure,
// configure, print) without the window, for scripts and scheduled jobs.
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

#include "CliOptions.h"
#include "CliRunner.h"
#include "ui/print/PrintActions.h"

namespace {

// Printing needs fonts and a paint engine, so the print commands run a GUI
// application on the offscreen platform; everything else stays console-only.
int printToPdf(const termika::cli::CliOptions& options) {
  const auto pages =
      termika::printCsvToPdf(options.file, options.command == QLatin1String("print-dump"),
                             options.output, options.language);
  if (!pages) {
    std::fprintf(stderr, "termika-cli: %s\n", pages.error().message.toLocal8Bit().constData());
    return termika::cli::kExitFailure;
  }
  std::printf("%s: %d page(s)\n", options.output.toLocal8Bit().constData(), *pages);
  return termika::cli::kExitOk;
}

bool wantsPrint(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QLatin1String a(argv[i]);
    if (a == QLatin1String("print-graph") || a == QLatin1String("print-dump")) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<QCoreApplication> app;
  if (wantsPrint(argc, argv)) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  QCoreApplication::setApplicationName(QStringLiteral("termika-cli"));
  QStringList arguments = QCoreApplication::arguments();
  arguments.removeFirst();
  if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
    std::printf("%s", termika::cli::CliOptions::usage().toLocal8Bit().constData());
    return termika::cli::kExitOk;
  }
  auto options = termika::cli::CliOptions::parse(arguments);
  if (!options) {
    std::fprintf(stderr, "termika-cli: %s\n%s", options.error().message.toLocal8Bit().constData(),
                 termika::cli::CliOptions::usage().toLocal8Bit().constData());
    return termika::cli::kExitUsage;
  }
  if (options->isPrint()) return printToPdf(*options);
  termika::cli::CliRunner runner(std::move(*options));
  if (const auto code = runner.start()) return *code;
  return QCoreApplication::exec();
}
