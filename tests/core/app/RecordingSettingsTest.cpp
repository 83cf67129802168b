#include <gtest/gtest.h>

#include "core/app/RecordingSettings.h"
#include "core/app/ReservedStart.h"

namespace termika {
namespace {

using Unit = RecordingSettings::Unit;

RecordingPreset preset(int interval, int upper = 30, int lower = 10) {
  RecordingPreset p;
  p.loggerName = QStringLiteral("AB");
  p.loop = true;
  p.upperAlarm = {static_cast<std::int16_t>(upper), 0, 128};
  p.lowerAlarm = {static_cast<std::int16_t>(lower), 0, 0};
  p.intervalSeconds = interval;
  p.model = QStringLiteral("QM120-RH");
  return p;
}

QDateTime at(int y, int mo, int d, int h, int mi, int s) {
  return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// The interval goes to the unit whose list holds it (1 s to the nearest, 2 s), else to minutes
// with the value kept from before, and a value the list lacks is told; alarm limits out of
// -20..70 or crossed fall back to 40 / 0.
TEST(RecordingSettings, PreselectsFromWhatTheLoggerReported) {
  const struct {
    int seconds;
    Unit unit;
    int value;
    int unlisted = 0;
  } intervals[] = {{2, Unit::Seconds, 2},       {59, Unit::Seconds, 59},
                   {60, Unit::Minutes, 1},      {600, Unit::Minutes, 10},
                   {0, Unit::Minutes, 60},      {1, Unit::Seconds, 2, 1},
                   {90, Unit::Minutes, 60, 90}, {14460, Unit::Minutes, 60, 14460}};
  for (const auto& c : intervals) {
    RecordingSettings s;
    s.preselect(preset(c.seconds));
    EXPECT_EQ(s.unit(), c.unit) << c.seconds;
    EXPECT_EQ(s.intervalValue(), c.value) << c.seconds;
    EXPECT_EQ(s.unlistedInterval(), c.unlisted) << c.seconds;
  }
  const struct {
    int upper, lower, wantUpper, wantLower;
  } alarms[] = {{30, 10, 30, 10}, {75, 10, 40, 0},      {30, -21, 40, 0}, {-20, -20, 40, 0},
                {70, 69, 70, 69}, {-19, -20, -19, -20}, {10, 20, 21, 20}};
  for (const auto& c : alarms) {
    RecordingSettings s;
    s.preselect(preset(60, c.upper, c.lower));
    EXPECT_EQ(s.upper(), c.wantUpper) << c.upper << "/" << c.lower;
    EXPECT_EQ(s.lower(), c.wantLower) << c.upper << "/" << c.lower;
  }
}

TEST(RecordingSettings, LimitsPushEachOtherAndStayInRange) {
  const struct {
    bool upper;
    int value, wantUpper, wantLower;
  } steps[] = {{false, 40, 41, 40},
               {true, 12, 12, 11},
               {true, -50, -19, -20},
               {false, 100, 70, 69},
               {true, 70, 70, 69}};
  RecordingSettings s;  // 40 / 0
  for (const auto& c : steps) {
    c.upper ? s.setUpper(c.value) : s.setLower(c.value);
    EXPECT_EQ(s.upper(), c.wantUpper) << c.value;
    EXPECT_EQ(s.lower(), c.wantLower) << c.value;
  }
}

TEST(RecordingSettings, DefaultsAndEachUnitsRememberedValue) {
  RecordingSettings s;
  EXPECT_EQ(s.unit(), Unit::Minutes);
  EXPECT_EQ(s.intervalValue(), 60);
  EXPECT_EQ(s.intervalChoices().size(), 240);
  EXPECT_EQ(s.intervalChoices().front(), QStringLiteral("1"));
  // Each unit keeps its own value: switching shows it (`shown`), setting changes it if listed.
  const struct {
    Unit unit;
    int shown, set;
    bool listed;
  } steps[] = {{Unit::Minutes, 60, 15, true},   {Unit::Seconds, 30, 5, true},
               {Unit::Seconds, 5, 1, false},    {Unit::Seconds, 5, 60, false},
               {Unit::Minutes, 15, 241, false}, {Unit::Minutes, 15, 0, false},
               {Unit::Seconds, 5, 2, true}};
  for (const auto& c : steps) {
    s.setUnit(c.unit);
    EXPECT_EQ(s.intervalValue(), c.shown) << c.set;
    EXPECT_EQ(s.setIntervalValue(c.set), c.listed) << c.set;
    EXPECT_EQ(s.intervalValue(), c.listed ? c.set : c.shown) << c.set;
  }
  EXPECT_EQ(s.intervalChoices().size(), 58);
  EXPECT_EQ(s.intervalChoices().front(), QStringLiteral("2"));
  EXPECT_EQ(s.intervalChoices().back(), QStringLiteral("59"));
}

// At 23:59:30 the start is tomorrow 00:00, not today 00:00.
TEST(RecordingSettings, ReservationStartsOneMinuteAfterNow) {
  const struct {
    QDateTime now;
    int offset, hour, minute;
  } cases[] = {{at(2025, 6, 10, 14, 20, 5), 0, 14, 21},
               {at(2025, 6, 10, 23, 59, 30), 1, 0, 0},
               {at(2025, 12, 31, 23, 59, 0), 1, 0, 0},
               {at(2025, 6, 10, 13, 59, 59), 0, 14, 0}};
  for (const auto& c : cases) {
    RecordingSettings s;
    s.setReservation(true, c.now);
    EXPECT_EQ(s.dayOffset(), c.offset) << c.now.toString().toStdString();
    EXPECT_EQ(s.hour(), c.hour);
    EXPECT_EQ(s.minute(), c.minute);
    EXPECT_EQ(s.check(c.now), StartRefusal::None) << c.now.toString().toStdString();
  }
}

// Up to Jul 9 from Jun 10, Feb 14 from Jan 15, Mar 30 from Jan 31 (the next 31st is Mar 31) and
// Mar 29 from Jan 30 in a leap year.
TEST(RecordingSettings, DateRangeEndsTheDayBeforeTheSameDayNextTime) {
  const struct {
    int year, month, day, max;
  } cases[] = {{2025, 6, 10, 29},
               {2025, 1, 15, 30},
               {2025, 1, 31, 58},
               {2024, 1, 30, 59},
               {2025, 2, 28, 27}};
  for (const auto& c : cases) {
    EXPECT_EQ(RecordingSettings::maxReservationOffset(QDate(c.year, c.month, c.day)), c.max)
        << c.month << "/" << c.day;
  }
  RecordingSettings s;  // the chosen offset stays in that range
  s.setReservation(true, at(2025, 6, 10, 12, 0, 0));
  s.setDayOffset(40);
  EXPECT_EQ(s.dayOffset(), 29);
  s.setDayOffset(-3);
  EXPECT_EQ(s.dayOffset(), 0);
}

// From Jan 31, Mar 1 and Mar 28 would start on Feb 1 and Feb 28; Feb 2025 has no 29th; Mar 31
// is today's day of month again; Jan 30 is past.
TEST(RecordingSettings, DatesWhoseDayRecursEarlierAreRefused) {
  const struct {
    int month, day;
    bool allowed;
  } cases[] = {{1, 31, true}, {2, 1, true},  {2, 28, true},  {3, 1, false}, {3, 28, false},
               {3, 29, true}, {3, 30, true}, {3, 31, false}, {1, 30, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(RecordingSettings::isReservationDateAllowed(QDate(2025, 1, 31),
                                                          QDate(2025, c.month, c.day)),
              c.allowed)
        << c.month << "/" << c.day;
  }
}

TEST(RecordingSettings, ReservedMomentMustBeLaterAndExpressibleAndTheNameValid) {
  const QDateTime now = at(2025, 1, 31, 10, 30, 0);
  const struct {
    int offset, hour, minute;
    StartRefusal result;
    const char* name = "AB";  // checked again at confirmation
  } cases[] = {
      {0, 10, 30, StartRefusal::ReservationTime},  // not later than now
      {0, 10, 31, StartRefusal::None},
      {0, 9, 0, StartRefusal::ReservationTime},
      {1, 0, 0, StartRefusal::None},              // Feb 1
      {29, 8, 0, StartRefusal::ReservationTime},  // Mar 1
      {57, 8, 0, StartRefusal::None},             // Mar 29
      {1, 0, 0, StartRefusal::ForbiddenName, "A*"},
      {1, 0, 0, StartRefusal::DoubleByteName, "記録"},
  };
  for (const auto& c : cases) {
    RecordingSettings s;
    s.preselect(preset(60));
    s.setName(QString::fromUtf8(c.name));
    s.setReservation(true, now);
    s.setDayOffset(c.offset);
    s.setHour(c.hour);
    s.setMinute(c.minute);
    EXPECT_EQ(s.check(now), c.result) << c.offset << " " << c.hour << ":" << c.minute;
  }
}

// The logger starts at the first minute that matches day, hour and minute: later today, in a
// later month when the day has passed or the month lacks it, or this very minute.
TEST(ReservedStart, FirstMatchingMinuteFromNow) {
  const struct {
    QDateTime now;
    int day, hour, minute;
    QDateTime start;
  } cases[] = {{at(2025, 1, 31, 10, 30, 45), 31, 10, 30, at(2025, 1, 31, 10, 30, 0)},
               {at(2025, 1, 31, 10, 30, 0), 31, 10, 29, at(2025, 3, 31, 10, 29, 0)},
               {at(2025, 1, 20, 23, 0, 0), 5, 7, 3, at(2025, 2, 5, 7, 3, 0)},
               {at(2025, 12, 31, 23, 59, 59), 1, 0, 0, at(2026, 1, 1, 0, 0, 0)},
               {at(2025, 1, 1, 0, 0, 0), 32, 0, 0, QDateTime()},
               {at(2025, 1, 1, 0, 0, 0), 5, 24, 0, QDateTime()}};
  for (const auto& c : cases) {
    EXPECT_EQ(reservedStart(c.now, c.day, c.hour, c.minute), c.start)
        << c.now.toString().toStdString() << " day " << c.day;
  }
}

TEST(RecordingButton, DecidesByLinkStateAndBattery) {
  using A = RecordingButtonAction;
  const struct {
    bool busy;
    RunState runState;
    std::optional<double> volts;
    const char* fault;
    bool pending;
    int used, wrapped;
    A action;
  } cases[] = {
      {true, RunState::Idle, 3.0, "", false, 0, 0, A::Ignore},
      {true, RunState::Recording, 3.0, "", false, 0, 0, A::Ignore},
      {false, RunState::Recording, 2.49, "", false, 0, 0, A::Stop},
      {false, RunState::Reserved, 3.0, "", false, 0, 0, A::Stop},
      {false, RunState::Idle, 3.0, "", false, 0, 0, A::OpenSettings},
      {false, RunState::Idle, 2.49, "", false, 0, 0, A::RefuseBattery},
      {false, RunState::Idle, std::nullopt, "", false, 0, 0, A::RefuseBattery},
      {false, RunState::Idle, 3.0, "Error", false, 0, 0, A::RefuseBattery},
      {false, RunState::Idle, 3.0, "", true, 4, 0, A::AskOverwrite},
      {false, RunState::Idle, 3.0, "", true, 0, 0, A::OpenSettings},
      {false, RunState::Idle, 3.0, "", true, 0, 1, A::AskOverwrite},
  };
  for (const auto& c : cases) {
    LoggerStatus st;
    st.batteryVoltage = c.volts;
    st.batteryStatus = QString::fromUtf8(c.fault);
    st.pendingDownload = c.pending;
    st.usedMemory = c.used;
    st.loopMode = st.memoryWrapped = static_cast<std::uint8_t>(c.wrapped);
    EXPECT_EQ(decideRecordingButton(c.busy, c.runState, st), c.action)
        << int(c.runState) << " " << c.volts.value_or(-1) << c.fault << c.pending << c.used;
  }
}

}  // namespace
}  // namespace termika
