#include "core/link/PortMap.h"

#include <utility>

#include "core/base/Says.h"

namespace termika {

namespace {
const QString kPlaceholder = QStringLiteral("%1");
}  // namespace

PortMap::PortMap(QString pattern, int offset) : m_pattern(std::move(pattern)), m_offset(offset) {}

PortMap PortMap::linuxDefault() { return PortMap(QStringLiteral("/dev/ttyUSB%1"), -1); }

PortMap PortMap::windowsDefault() { return PortMap(QStringLiteral("COM%1"), 0); }

PortMap PortMap::platformDefault() {
#ifdef Q_OS_WIN
  return windowsDefault();
#else
  return linuxDefault();
#endif
}

Result<PortMap> PortMap::fromTemplate(const QString& pattern) {
  if (!pattern.contains(kPlaceholder)) {
    return Error{says("The port map \"%1\" must contain %2 where the port number goes.")
                     .arg(pattern, kPlaceholder)};
  }
  return PortMap(pattern, 0);
}

Result<QString> PortMap::devicePath(int port) const {
  if (port < kFirstPort || port > kLastPort) {
    return Error{
        says("Port number %1 is outside %2..%3.").arg(port).arg(kFirstPort).arg(kLastPort)};
  }
  // replace(), not arg(): a template may hold other %-sequences that must stay as written.
  QString path = m_pattern;
  path.replace(kPlaceholder, QString::number(port + m_offset));
  return path;
}

}  // namespace termika
