#include "core/link/PortReopen.h"

namespace termika {

bool ReopenPort(Transport& port) {
  if (!port.isOpen()) {
    return false;
  }
  port.close();
  return port.open().ok();
}

Result<void> writeWithReopen(Transport& port, const QByteArray& bytes) {
  auto first = port.write(bytes);
  if (first.ok()) {
    return first;
  }
  if (!ReopenPort(port)) {
    return first;
  }
  return port.write(bytes);
}

}  // namespace termika
