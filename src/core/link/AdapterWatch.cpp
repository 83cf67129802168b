#include "core/link/AdapterWatch.h"

#include <utility>

namespace termika {

AdapterWatch::AdapterWatch(const Timings& timings, AdapterPins& pins,
                           std::function<bool()> linkIdle, QObject* parent)
    : QObject(parent), m_pins(pins), m_linkIdle(std::move(linkIdle)) {
  m_timer.setObjectName(QStringLiteral("adapterCheckTimer"));
  m_timer.setInterval(timings.adapterCheck);
  connect(&m_timer, &QTimer::timeout, this, &AdapterWatch::checkAdapterPresent);
}

void AdapterWatch::watch(const QString& portPath) {
  m_portPath = portPath;
  m_timer.start();
}

void AdapterWatch::stop() { m_timer.stop(); }

void AdapterWatch::checkAdapterPresent() {
  if (m_linkIdle && !m_linkIdle()) {
    return;
  }
  if (m_pins.presence(m_portPath) == AdapterPresence::Absent) {
    m_timer.stop();
    Q_EMIT unplugged();
  }
}

}  // namespace termika
