// The Logger.ini reader: the line parser on arbitrary bytes, and loading the
// same bytes from a file. What was read must be written back unchanged.
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include "FuzzSupport.h"
#include "core/app/Settings.h"

namespace termika {
namespace {

bool validPort(int port) { return port >= Settings::kLowestPort && port <= Settings::kHighestPort; }

void run(const std::uint8_t* data, size_t size) {
  static QTemporaryDir dir;
  fuzz::require(dir.isValid());
  const Settings settings(dir.path(), QStringLiteral("/opt/termika"));
  const SettingsValues defaults = settings.defaults();
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  const SettingsValues values = Settings::parseLine(bytes, defaults);
  fuzz::require(validPort(values.portNumber) && validPort(values.chosenPort));
  fuzz::require(Settings::isStorableFolder(values.workingFolder));
  fuzz::require(!values.workingFolder.isEmpty());

  const QByteArray line = Settings::formatLine(values, defaults.workingFolder);
  fuzz::require(line.endsWith("\r\n") && line.count('\n') == 1);
  fuzz::require(Settings::parseLine(line, defaults) == values);

  QFile file(settings.path());
  fuzz::require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  fuzz::require(file.write(bytes) == bytes.size());
  file.close();
  const Result<SettingsValues> loaded = settings.load();
  fuzz::require(loaded.ok() && *loaded == values);
}

}  // namespace
}  // namespace termika

TERMIKA_FUZZ_TARGET(termika::run)
