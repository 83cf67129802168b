#include "core/app/RecordingSettings.h"

#include <QTime>
#include <algorithm>

#include "core/app/NameRules.h"
#include "core/app/StateRules.h"
#include "core/data/LoggerModel.h"
#include "core/model/AppState.h"

namespace termika {
namespace {

constexpr int kMaxIntervalSeconds = RecordingSettings::kMaxMinutes * 60;

int wrap(int value, int count) { return ((value % count) + count) % count; }

}  // namespace

RecordingPreset RecordingPreset::fromStatus(const LoggerStatus& status, const QString& model) {
  RecordingPreset preset;
  preset.loggerName = status.loggerName;
  preset.loop = status.loopMode != 0;
  preset.upperAlarm = status.upperAlarm;
  preset.lowerAlarm = status.lowerAlarm;
  preset.intervalSeconds = status.recordedInterval;
  preset.model = model;
  return preset;
}

void RecordingSettings::preselect(const RecordingPreset& preset) {
  m_loggerName = preset.loggerName;
  m_name = preset.loggerName;
  m_model = preset.model;
  m_loop = preset.loop;

  const int upper = preset.upperAlarm.limit;
  const int lower = preset.lowerAlarm.limit;
  if (upper >= kUpperMin && upper <= kUpperMax && lower >= kLowerMin && lower <= kLowerMax) {
    setUpper(upper);
    setLower(lower);
  } else {
    setUpper(kDefaultUpper);
    setLower(kDefaultLower);
  }
  m_upperOn = preset.upperAlarm.enabled != 0;
  m_lowerOn = preset.lowerAlarm.enabled != 0;

  // Intervals the list cannot show open at the nearest one it holds (1 s at
  // 2 s) or, in minutes, at the value last chosen there (90 s, 14460 s); the
  // dialog says so, since confirming unseen would change the interval.
  const int interval = preset.intervalSeconds;
  m_unlistedInterval = 0;
  if (interval >= 1 && interval <= 59) {
    m_unit = Unit::Seconds;
    m_seconds = std::max(interval, kMinSeconds);
    if (interval < kMinSeconds) m_unlistedInterval = interval;
  } else if (interval >= 60 && interval <= kMaxIntervalSeconds && interval % 60 == 0) {
    m_unit = Unit::Minutes;
    m_minutes = interval / 60;
  } else {
    m_unit = Unit::Minutes;
    if (interval > 0) m_unlistedInterval = interval;
  }
}

QStringList RecordingSettings::intervalChoices() const {
  QStringList list;
  const bool seconds = m_unit == Unit::Seconds;
  const int first = seconds ? kMinSeconds : kMinMinutes;
  const int last = seconds ? kMaxSeconds : kMaxMinutes;
  for (int v = first; v <= last; ++v) list << QString::number(v);
  return list;
}

bool RecordingSettings::setIntervalValue(int value) {
  if (m_unit == Unit::Seconds) {
    if (value < kMinSeconds || value > kMaxSeconds) return false;
    m_seconds = value;
  } else {
    if (value < kMinMinutes || value > kMaxMinutes) return false;
    m_minutes = value;
  }
  return true;
}

bool RecordingSettings::alarmsAvailable() const { return hasAlarms(m_model); }

void RecordingSettings::setUpper(int value) {
  m_upper = std::clamp(value, kUpperMin, kUpperMax);
  if (m_upper <= m_lower) m_lower = m_upper - 1;
}

void RecordingSettings::setLower(int value) {
  m_lower = std::clamp(value, kLowerMin, kLowerMax);
  if (m_upper <= m_lower) m_upper = m_lower + 1;
}

void RecordingSettings::setReservation(bool on, const QDateTime& now) {
  m_reserved = on;
  if (!on) return;
  // Plain calendar arithmetic: the minute after now, and the day it falls on
  // counted from today (23:59:30 gives tomorrow 00:00).
  m_today = now.date();
  int second = now.time().msecsSinceStartOfDay() / 1000 + 60;
  QDate baseDate = m_today;
  if (second >= 86400) {
    second -= 86400;
    baseDate = baseDate.addDays(1);
  }
  m_maxDayOffset = maxReservationOffset(m_today);
  m_dayOffset = std::clamp(static_cast<int>(m_today.daysTo(baseDate)), 0, m_maxDayOffset);
  m_hour = second / 3600;
  m_minute = second / 60 % 60;
}

void RecordingSettings::setDayOffset(int offset) {
  m_dayOffset = std::clamp(offset, 0, m_maxDayOffset);
}

void RecordingSettings::setHour(int value) { m_hour = wrap(value, 24); }

void RecordingSettings::setMinute(int value) { m_minute = wrap(value, 60); }

int RecordingSettings::maxReservationOffset(const QDate& today) {
  if (!today.isValid()) return 0;
  int offset = 1;
  while (today.addDays(offset).day() != today.day()) ++offset;
  return offset - 1;
}

bool RecordingSettings::isReservationDateAllowed(const QDate& today, const QDate& date) {
  if (!today.isValid() || !date.isValid() || date < today) return false;
  if (date == today) return true;
  if (date.day() == today.day()) return false;
  for (QDate d = today.addDays(1); d < date; d = d.addDays(1)) {
    if (d.day() == date.day()) return false;
  }
  return true;
}

StartRefusal RecordingSettings::check(const QDateTime& now) const {
  switch (name_rules::check(m_name)) {
    case name_rules::NameFault::ForbiddenCharacter:
      return StartRefusal::ForbiddenName;
    case name_rules::NameFault::ControlCharacter:
    case name_rules::NameFault::DoubleByteCharacter:
    case name_rules::NameFault::TooLong:  // the field takes four at most
      return StartRefusal::DoubleByteName;
    case name_rules::NameFault::None:
      break;
  }
  if (m_reserved) {
    const QDate date = reservedDate();
    const QTime time(m_hour, m_minute);
    const bool later = date > now.date() || (date == now.date() && time > now.time());
    if (!later || !isReservationDateAllowed(now.date(), date)) return StartRefusal::ReservationTime;
  }
  return StartRefusal::None;
}

LogStartRequest RecordingSettings::request() const {
  LogStartRequest r;
  r.name = name_rules::padded(m_name);
  r.loop = m_loop;
  r.intervalUnit = m_unit == Unit::Seconds ? IntervalUnit::Seconds : IntervalUnit::Minutes;
  r.intervalValue = intervalValue();
  r.upperLimit = m_upper;
  r.upperEnabled = m_upperOn;
  r.lowerLimit = m_lower;
  r.lowerEnabled = m_lowerOn;
  r.model = m_model;
  if (m_reserved) {
    r.reservedStart = LogStartRequest::Reservation{reservedDate().day(), m_hour, m_minute};
  }
  return r;
}

RecordingButtonAction decideRecordingButton(bool linkBusy, RunState runState,
                                            const LoggerStatus& status) {
  if (linkBusy) return RecordingButtonAction::Ignore;
  if (runState == RunState::Recording || runState == RunState::Reserved) {
    return RecordingButtonAction::Stop;
  }
  if (!batteryAllowsRecording(status)) return RecordingButtonAction::RefuseBattery;
  if (status.pendingDownload && (status.usedMemory != 0 || status.wrapped())) {
    return RecordingButtonAction::AskOverwrite;
  }
  return RecordingButtonAction::OpenSettings;
}

}  // namespace termika
