// termika-cli: the logger's main jobs (find, read, download, measure,
// configure) without the window, for scripts and scheduled jobs.
#include <QCoreApplication>
#include <cstdio>

#include "CliOptions.h"
#include "CliRunner.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
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
  termika::cli::CliRunner runner(std::move(*options));
  if (const auto code = runner.start()) return *code;
  return QCoreApplication::exec();
}
