#include "core/link/LatencyTimer.h"

#include <QFile>
#include <QFileInfo>
#include <utility>

#include "core/base/Says.h"
#include "core/link/AdapterLocation.h"

namespace termika {

namespace {

bool writeSetting(const QString& path, const QByteArray& value) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::ExistingOnly)) {
    return false;
  }
  return file.write(value) == value.size() && file.flush();
}

}  // namespace

LatencyTimer::LatencyTimer(QString sysfsRoot, QObject* parent)
    : QObject(parent), m_sysfsRoot(std::move(sysfsRoot)) {}

LatencyTimer::~LatencyTimer() {
  for (const auto& [device, saved] : m_saved) {
    writeSetting(saved.file, saved.value);
  }
}

QString LatencyTimer::controlFile(const QString& devicePath) const {
  const QString folder = usbSerialPortFolder(m_sysfsRoot, devicePath);
  if (folder.isEmpty()) {
    return {};
  }
  const QString file = folder + QStringLiteral("/latency_timer");
  return QFileInfo::exists(file) ? file : QString();
}

LatencyTimer::Outcome LatencyTimer::lower(const QString& devicePath) {
  const QString file = controlFile(devicePath);
  const auto earlier = m_saved.find(devicePath);
  if (earlier != m_saved.end() && earlier->second.file != file) {
    m_saved.erase(earlier);  // the adapter was replugged elsewhere since
  }
  if (file.isEmpty()) {
    return Outcome::NotAnFtdiPort;
  }
  QByteArray original;
  if (const auto kept = m_saved.find(devicePath); kept != m_saved.end()) {
    original = kept->second.value;  // lowered twice: keep the value from before the first time
  } else if (QFile reader(file); reader.open(QIODevice::ReadOnly)) {
    original = reader.read(32).trimmed();
  }
  if (!original.isEmpty() && writeSetting(file, QByteArray::number(kLowMs))) {
    m_saved[devicePath] = Saved{file, original};
    return Outcome::Lowered;
  }
  if (!m_advised) {
    m_advised = true;
    Q_EMIT adviceGiven(advice(devicePath));
  }
  return Outcome::NotWritable;
}

void LatencyTimer::restore(const QString& devicePath) {
  const auto saved = m_saved.find(devicePath);
  if (saved == m_saved.end()) {
    return;
  }
  // An unplugged adapter takes its setting with it: a failed write is expected then.
  writeSetting(saved->second.file, saved->second.value);
  m_saved.erase(saved);
}

QString LatencyTimer::advice(const QString& devicePath) {
  return says(
             "Slow transfers on %1: its latency timer cannot be set to %2 ms. Install the udev "
             "rule shipped with termika and plug the adapter in again.")
      .arg(devicePath)
      .arg(kLowMs);
}

}  // namespace termika
