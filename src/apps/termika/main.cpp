// termika: the desktop utility of the Termika temperature and humidity loggers.
#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "core/app/CommandLine.h"
#include "core/app/ProgramFiles.h"
#include "core/app/Settings.h"
#include "core/app/SingleInstance.h"
#include "core/app/WritableFolder.h"
#include "core/base/Translations.h"
#include "core/link/AdapterPinsFactory.h"
#include "core/link/LatencyTimer.h"
#include "core/link/PortMap.h"
#include "core/model/AppState.h"
#include "ui/HelpPage.h"
#include "ui/MainWindow.h"

namespace {

constexpr int kScreenshotDelayMs = 400;

int fail(const QString& message) {
  QMessageBox::critical(nullptr, QStringLiteral("Termika"), message);
  return 1;
}

}  // namespace

static int runTermika(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("termika"));

  const termika::Result<termika::CommandLine> line =
      termika::CommandLine::parse(QApplication::arguments());
  if (!line) {
    std::fprintf(stderr, "termika: %s\n\n%s", qUtf8Printable(line.error().message),
                 qUtf8Printable(termika::CommandLine::usage()));
    return 2;
  }
  if (line->help) {
    std::fputs(qUtf8Printable(termika::CommandLine::usage()), stdout);
    return 0;
  }

  // A second copy ends at once, before it touches any file; no window, only a
  // line for whoever started it.
  termika::SingleInstance instance(termika::SingleInstance::defaultLockPath());
  if (!instance.acquire()) {
    const QString holder = instance.holder();
    std::fprintf(stderr, "termika: another copy is already running%s%s; it keeps the lock %s\n",
                 holder.isEmpty() ? "" : ": ", qUtf8Printable(holder),
                 qUtf8Printable(termika::SingleInstance::defaultLockPath()));
    return 0;
  }

  // Qt's own words (buttons, file dialogs) and our messages in the same language.
  const termika::Translations translations(line->language);
  auto state = std::make_unique<termika::AppState>();
  state->texts = termika::UiText::load(line->language);

  const QString programFolder = QApplication::applicationDirPath();
  const termika::Result<QString> recordFolder = termika::chooseWritableFolder(
      programFolder, QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
  if (!recordFolder) return fail(recordFolder.error().message);
  termika::ProgramFiles files(*recordFolder);
  if (termika::Result<void> opened = files.open(*state); !opened)
    return fail(opened.error().message);

  termika::Result<termika::Settings> located = termika::Settings::locate(
      programFolder, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
  if (!located) qWarning("%s", qUtf8Printable(located.error().message));
  termika::Settings settings = located ? *located : termika::Settings(programFolder, programFolder);

  termika::LoggerLinkParts link;
  if (!line->portMap.isEmpty()) {
    termika::Result<termika::PortMap> map = termika::PortMap::fromTemplate(line->portMap);
    if (!map) return fail(map.error().message);
    link.map = *map;
  }
  termika::Result<std::unique_ptr<termika::AdapterPins>> pins =
      termika::makeAdapterPins(line->adapter);
  if (!pins) return fail(pins.error().message);
  link.pins = std::move(*pins);
  link.latency = std::make_unique<termika::LatencyTimer>();

  termika::MainWindow window(*state, settings, files);
  window.attachLink(std::move(link));
  window.setHelpPage(
      termika::findHelpPage(termika::helpFolders(programFolder, QStringLiteral(TERMIKA_SOURCE_DIR)),
                            state->texts[termika::TextId::HelpPage]));
  window.show();
  // Files named on the command line (a CSV opened from the file manager) go
  // into the file set as if chosen from the open item.
  for (const QString& csv : line->files) window.openCsvFile(csv);
  if (!line->screenshot.isEmpty()) {
    QTimer::singleShot(kScreenshotDelayMs, &window, [&window, path = line->screenshot] {
      if (!window.grab().save(path))
        std::fprintf(stderr, "termika: cannot write %s\n", qUtf8Printable(path));
      window.close();
    });
  }
  const int code = QApplication::exec();
  files.close(*state);
  files.remove();
  return code;
}

int main(int argc, char** argv) {
  // Anything thrown past the program is reported instead of ending in terminate().
  try {
    return runTermika(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "termika: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "termika: unexpected failure\n");
  }
  return 1;
}
