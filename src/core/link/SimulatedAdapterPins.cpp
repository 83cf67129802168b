#include "core/link/SimulatedAdapterPins.h"

#include <QDateTime>
#include <QFile>
#include <utility>

#include "core/base/Says.h"

namespace termika {

SimulatedAdapterPins::SimulatedAdapterPins(QString path) : m_path(std::move(path)) {}

QByteArray SimulatedAdapterPins::pulseLine(std::uint8_t levels, qint64 epochMs) {
  return QByteArrayLiteral("pulse ") + QByteArray::number(levels) + ' ' +
         QByteArray::number(epochMs) + '\n';
}

Result<void> SimulatedAdapterPins::pulse(const QString&, std::uint8_t levels) {
  // ExistingOnly: creating the file would plug in an adapter nobody attached.
  QFile file(m_path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly)) {
    return Error{says("Simulated adapter %1: %2").arg(m_path, file.errorString())};
  }
  // One write per line, so a reader never sees half a line from us.
  const QByteArray line = pulseLine(levels, QDateTime::currentMSecsSinceEpoch());
  if (file.write(line) != line.size() || !file.flush()) {
    return Error{says("Simulated adapter %1: %2").arg(m_path, file.errorString())};
  }
  return {};
}

AdapterPresence SimulatedAdapterPins::presence(const QString&) {
  return QFile::exists(m_path) ? AdapterPresence::Present : AdapterPresence::Absent;
}

QString SimulatedAdapterPins::description() const {
  return QStringLiteral("simulated adapter %1").arg(m_path);
}

}  // namespace termika
