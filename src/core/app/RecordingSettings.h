#pragma once

#include <QDate>
#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "core/model/LoggerStatus.h"
#include "core/model/RunState.h"
#include "core/sessions/LogStartRequest.h"

namespace termika {

// What the logger last reported, for pre-selecting the recording dialog.
struct RecordingPreset {
  QString loggerName;
  bool loop = false;
  AlarmSetting upperAlarm;
  AlarmSetting lowerAlarm;
  int intervalSeconds = 0;
  QString model;  // the connected model

  static RecordingPreset fromStatus(const LoggerStatus& status, const QString& model);
};

// Why a recording start is refused at confirmation.
enum class StartRefusal { None, ForbiddenName, DoubleByteName, ReservationTime };

// The model of the recording settings dialog: ranges, defaults, the
// pre-selection from the logger and the checks made when it is confirmed.
class RecordingSettings final {
 public:
  enum class Unit { Seconds, Minutes };

  static constexpr int kMinSeconds = 2;
  static constexpr int kMaxSeconds = 59;
  static constexpr int kMinMinutes = 1;
  static constexpr int kMaxMinutes = 240;
  static constexpr int kUpperMin = -19;
  static constexpr int kUpperMax = 70;
  static constexpr int kLowerMin = -20;
  static constexpr int kLowerMax = 69;
  static constexpr int kDefaultUpper = 40;
  static constexpr int kDefaultLower = 0;

  RecordingSettings() = default;

  void preselect(const RecordingPreset& preset);

  const QString& loggerName() const { return m_loggerName; }
  const QString& model() const { return m_model; }
  const QString& name() const { return m_name; }
  void setName(const QString& name) { m_name = name; }

  bool loop() const { return m_loop; }
  void setLoop(bool loop) { m_loop = loop; }

  Unit unit() const { return m_unit; }
  // Switching the unit brings back the value last chosen in that unit.
  void setUnit(Unit unit) { m_unit = unit; }
  int intervalValue() const { return m_unit == Unit::Seconds ? m_seconds : m_minutes; }
  QStringList intervalChoices() const;
  // The logger's interval in seconds when the list holds no such value, else 0.
  int unlistedInterval() const { return m_unlistedInterval; }
  // False (and nothing changes) for a value that is not in the list.
  bool setIntervalValue(int value);

  bool alarmsAvailable() const;
  int upper() const { return m_upper; }
  int lower() const { return m_lower; }
  // Both limits stay in range and the upper one stays above the lower one.
  void setUpper(int value);
  void setLower(int value);
  bool upperEnabled() const { return m_upperOn; }
  bool lowerEnabled() const { return m_lowerOn; }
  void setUpperEnabled(bool on) { m_upperOn = on; }
  void setLowerEnabled(bool on) { m_lowerOn = on; }

  // Reservation. Turning it on starts from one minute after `now`.
  bool reservation() const { return m_reserved; }
  void setReservation(bool on, const QDateTime& now);
  QDate baseDate() const { return m_today; }
  int dayOffset() const { return m_dayOffset; }
  int maxDayOffset() const { return m_maxDayOffset; }
  void setDayOffset(int offset);
  QDate reservedDate() const { return m_today.addDays(m_dayOffset); }
  int hour() const { return m_hour; }
  int minute() const { return m_minute; }
  // -1 and 24 wrap to 23 and 0 (minutes: -1 and 60 to 59 and 0).
  void setHour(int value);
  void setMinute(int value);

  // The last day the date scroll reaches: the day before the next date with
  // today's day-of-month.
  static int maxReservationOffset(const QDate& today);
  // The logger receives only day, hour and minute and starts at the first
  // match, so a date is usable only if its day-of-month does not occur again
  // between tomorrow and the day before it, and a later date with today's
  // day-of-month is never usable.
  static bool isReservationDateAllowed(const QDate& today, const QDate& date);

  StartRefusal check(const QDateTime& now) const;
  // The request built from the current values; meaningful when check() passed.
  LogStartRequest request() const;

 private:
  QString m_loggerName;
  QString m_name;
  QString m_model;
  bool m_loop = false;
  Unit m_unit = Unit::Minutes;
  int m_minutes = 60;
  int m_seconds = 30;
  int m_unlistedInterval = 0;
  int m_upper = kDefaultUpper;
  int m_lower = kDefaultLower;
  bool m_upperOn = false;
  bool m_lowerOn = false;
  bool m_reserved = false;
  QDate m_today;
  int m_dayOffset = 0;
  int m_maxDayOffset = 0;
  int m_hour = 0;
  int m_minute = 0;
};

// What the recording button does in the logger's present state.
enum class RecordingButtonAction {
  Ignore,         // an exchange is running
  Stop,           // stop the recording or cancel the reservation
  RefuseBattery,  // text `ChangeBattery`: the battery is low, faulty or unknown
  AskOverwrite,  // texts `UndownloadedData`/`StartLosesDataQuestion` first; only Yes goes on to the
                 // dialog
  OpenSettings,
};
RecordingButtonAction decideRecordingButton(bool linkBusy, RunState runState,
                                            const LoggerStatus& status);

}  // namespace termika
