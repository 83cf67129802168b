#pragma once

#include <QDateTime>

#include "core/model/LoggerStatus.h"
#include "core/model/RunState.h"

namespace termika {

// Moments when the logger changes by itself, so that its status is worth
// reading again without the user asking: a pending reservation turns into a
// recording at its reserved minute, and a one-time recording stops once its
// memory is full. The window asks `due` on its clock tick, so no timer of
// its own polls the logger.
class StatusWatch final {
 public:
  // The first read comes this long after the expected moment; while the
  // logger still reports the old state (its clock runs behind), reads follow
  // at the retry spacing until the look-back time has passed.
  static constexpr qint64 kFirstReadDelayS = 3;
  static constexpr qint64 kRetryS = 20;
  static constexpr qint64 kLookBackS = 300;

  // The state as last shown; run after every refresh of the window.
  void update(bool connected, RunState state, const LoggerStatus& status, const QDateTime& now);
  bool due(const QDateTime& now) const { return m_next.isValid() && now >= m_next; }
  // A read was asked for at `now`.
  void reading(const QDateTime& now);
  QDateTime nextRead() const { return m_next; }

  // When the logger should change by itself; invalid when it will not, or
  // should have done so more than kLookBackS ago.
  static QDateTime expectedChange(RunState state, const LoggerStatus& status, const QDateTime& now);

 private:
  QDateTime m_expected;
  QDateTime m_lastRead;  // of this watch, for the expected moment it had then
  QDateTime m_next;
};

}  // namespace termika
