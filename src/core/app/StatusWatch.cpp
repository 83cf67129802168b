#include "core/app/StatusWatch.h"

#include "core/app/ReservedStart.h"
#include "core/data/DayTime.h"
#include "core/sessions/Download.h"

namespace termika {

QDateTime StatusWatch::expectedChange(RunState state, const LoggerStatus& status,
                                      const QDateTime& now) {
  if (state == RunState::Reserved) {
    return reservedStart(now.addSecs(-kLookBackS), status.reservationDay, status.reservationHour,
                         status.reservationMinute);
  }
  const bool oneTime = status.loopMode == 0;
  if (state != RunState::Recording || !oneTime || status.recordedInterval <= 0 ||
      !status.recordingStart) {
    return {};
  }
  // The first point is taken at the start, so the last one the memory holds
  // comes kMemoryPoints - 1 intervals later.
  const CivilTime c = civilFromDaySerial(*status.recordingStart);
  const QDateTime start(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second));
  if (!start.isValid()) return {};
  const QDateTime full =
      start.addSecs(static_cast<qint64>(Download::kMemoryPoints - 1) * status.recordedInterval);
  return full.addSecs(kLookBackS) < now ? QDateTime() : full;
}

void StatusWatch::update(bool connected, RunState state, const LoggerStatus& status,
                         const QDateTime& now) {
  const QDateTime expected = connected ? expectedChange(state, status, now) : QDateTime();
  if (expected != m_expected) {
    m_expected = expected;
    // A moment already past was just read as still to come: the next look
    // waits a retry spacing rather than asking again at once.
    const bool past = expected.isValid() && expected.addSecs(kFirstReadDelayS) <= now;
    m_lastRead = past ? now : QDateTime();
  }
  if (!m_expected.isValid()) {
    m_next = QDateTime();
  } else {
    m_next =
        m_lastRead.isValid() ? m_lastRead.addSecs(kRetryS) : m_expected.addSecs(kFirstReadDelayS);
  }
}

void StatusWatch::reading(const QDateTime& now) {
  m_lastRead = now;
  if (m_next.isValid()) m_next = now.addSecs(kRetryS);
}

}  // namespace termika
