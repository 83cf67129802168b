#pragma once

#include <QString>

#include "core/base/Result.h"

namespace termika {

// Turns the program's port numbers (1..16 when probing, up to 255 when chosen
// from the list) into device paths. The built-in naming follows the platform;
// `--port-map TEMPLATE` replaces it, "%1" standing for the number itself.
class PortMap final {
 public:
  static constexpr int kFirstPort = 1;
  static constexpr int kLastProbedPort = 16;
  static constexpr int kLastPort = 255;

  // /dev/ttyUSB{N-1}: the kernel counts USB serial adapters from 0.
  static PortMap linuxDefault();
  // COM{N}.
  static PortMap windowsDefault();
  // The naming of the platform this program was built for.
  static PortMap platformDefault();
  // A user template such as "/tmp/termika/tty%1"; fails without "%1".
  static Result<PortMap> fromTemplate(const QString& pattern);

  Result<QString> devicePath(int port) const;
  const QString& pattern() const { return m_pattern; }

 private:
  PortMap(QString pattern, int offset);

  QString m_pattern;
  int m_offset = 0;  // added to the port number before it is put in the pattern
};

}  // namespace termika
