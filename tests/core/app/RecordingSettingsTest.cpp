#include <gtest/gtest.h>

#include "core/app/RecordingSettings.h"

namespace termika {
namespace {

using Unit = RecordingSettings::Unit;

RecordingPreset preset(int interval, int upper = 30, int lower = 10) {
  RecordingPreset p;
  p.LoggerName = QStringLiteral("AB");
  p.Loop = true;
  p.UpperAlarm = {static_cast<std::int16_t>(upper), 0, 128};
  p.LowerAlarm = {static_cast<std::int16_t>(lower), 0, 0};
  p.IntervalSeconds = interval;
  p.Model = QStringLiteral("QM120-RH");
  return p;
}

QDateTime at(int y, int mo, int d, int h, int mi, int s) {
  return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

TEST(RecordingSettings, IntervalPreselection) {
  const struct {
    int seconds;
    Unit unit;
    int value;
  } cases[] = {
      {45, Unit::Seconds, 45},
      {2, Unit::Seconds, 2},
      {59, Unit::Seconds, 59},
      {60, Unit::Minutes, 1},
      {14400, Unit::Minutes, 240},
      {600, Unit::Minutes, 10},
      // Not expressible in the lists: minutes with the value kept from before.
      {90, Unit::Minutes, 60},
      {14460, Unit::Minutes, 60},
      {0, Unit::Minutes, 60},
      // 1 s is not in the seconds list: seconds with the value kept.
      {1, Unit::Seconds, 30},
  };
  for (const auto& c : cases) {
    RecordingSettings s;
    s.preselect(preset(c.seconds));
    EXPECT_EQ(s.unit(), c.unit) << c.seconds;
    EXPECT_EQ(s.intervalValue(), c.value) << c.seconds;
  }
}

TEST(RecordingSettings, PreselectsNameModeAndAlarmsOutOfRangeOnesFallBackTo40And0) {
  RecordingSettings p;
  p.preselect(preset(60, 30, 10));
  EXPECT_EQ(p.name(), QStringLiteral("AB"));
  EXPECT_TRUE(p.loop());
  EXPECT_TRUE(p.upperEnabled());
  EXPECT_FALSE(p.lowerEnabled());
  EXPECT_TRUE(p.alarmsAvailable());
  RecordingPreset other = preset(60);
  other.Model = QStringLiteral("QM100-RH");
  p.preselect(other);
  EXPECT_FALSE(p.alarmsAvailable());
  const struct {
    int upper, lower, wantUpper, wantLower;
  } cases[] = {{30, 10, 30, 10}, {75, 10, 40, 0},      {30, -21, 40, 0}, {-20, -20, 40, 0},
               {70, 69, 70, 69}, {-19, -20, -19, -20}, {10, 20, 21, 20}};
  for (const auto& c : cases) {
    RecordingSettings s;
    s.preselect(preset(60, c.upper, c.lower));
    EXPECT_EQ(s.upper(), c.wantUpper) << c.upper << "/" << c.lower;
    EXPECT_EQ(s.lower(), c.wantLower) << c.upper << "/" << c.lower;
  }
}

TEST(RecordingSettings, LimitsPushEachOtherAndStayInRange) {
  RecordingSettings s;  // 40 / 0
  s.setLower(40);
  EXPECT_EQ(s.upper(), 41);
  EXPECT_EQ(s.lower(), 40);
  s.setUpper(12);
  EXPECT_EQ(s.lower(), 11);
  s.setUpper(-50);
  EXPECT_EQ(s.upper(), -19);
  EXPECT_EQ(s.lower(), -20);
  s.setLower(100);
  EXPECT_EQ(s.lower(), 69);
  EXPECT_EQ(s.upper(), 70);
  s.setUpper(70);
  EXPECT_EQ(s.lower(), 69);
}

TEST(RecordingSettings, DefaultsAndEachUnitsRememberedValue) {
  RecordingSettings s;
  EXPECT_EQ(s.upper(), 40);
  EXPECT_EQ(s.lower(), 0);
  EXPECT_FALSE(s.reservation());
  EXPECT_EQ(s.unit(), Unit::Minutes);
  EXPECT_EQ(s.intervalValue(), 60);
  EXPECT_EQ(s.intervalChoices().size(), 240);
  EXPECT_EQ(s.intervalChoices().front(), QStringLiteral("1"));
  ASSERT_TRUE(s.setIntervalValue(15));
  s.setUnit(Unit::Seconds);
  EXPECT_EQ(s.intervalChoices().size(), 58);
  EXPECT_EQ(s.intervalChoices().front(), QStringLiteral("2"));
  EXPECT_EQ(s.intervalChoices().back(), QStringLiteral("59"));
  EXPECT_EQ(s.intervalValue(), 30);
  ASSERT_TRUE(s.setIntervalValue(5));
  EXPECT_FALSE(s.setIntervalValue(1));
  EXPECT_FALSE(s.setIntervalValue(60));
  EXPECT_EQ(s.intervalValue(), 5);
  s.setUnit(Unit::Minutes);
  EXPECT_EQ(s.intervalValue(), 15);
  EXPECT_FALSE(s.setIntervalValue(241));
  EXPECT_FALSE(s.setIntervalValue(0));
  s.setUnit(Unit::Seconds);
  EXPECT_EQ(s.intervalValue(), 5);
}

TEST(RecordingSettings, HourAndMinuteWrap) {
  RecordingSettings s;
  const struct {
    int in, hour, minute;
  } cases[] = {{-1, 23, 59}, {24, 0, 24}, {0, 0, 0}, {23, 23, 23}, {60, 12, 0}};
  for (const auto& c : cases) {
    s.setHour(c.in);
    s.setMinute(c.in);
    EXPECT_EQ(s.hour(), c.hour) << c.in;
    EXPECT_EQ(s.minute(), c.minute) << c.in;
  }
}

TEST(RecordingSettings, ReservationStartsOneMinuteAfterNow) {
  const struct {
    QDateTime now;
    int offset, hour, minute;
  } cases[] = {
      {at(2025, 6, 10, 14, 20, 5), 0, 14, 21},
      {at(2025, 6, 10, 23, 59, 30), 1, 0, 0},  // tomorrow 00:00, not today 00:00
      {at(2025, 12, 31, 23, 59, 0), 1, 0, 0},
      {at(2025, 6, 10, 13, 59, 59), 0, 14, 0},
  };
  for (const auto& c : cases) {
    RecordingSettings s;
    s.setReservation(true, c.now);
    EXPECT_EQ(s.dayOffset(), c.offset) << c.now.toString().toStdString();
    EXPECT_EQ(s.hour(), c.hour);
    EXPECT_EQ(s.minute(), c.minute);
    EXPECT_EQ(s.check(c.now), StartRefusal::None) << c.now.toString().toStdString();
  }
}

TEST(RecordingSettings, DateRangeEndsTheDayBeforeTheSameDayNextTime) {
  const struct {
    QDate today;
    int max;
  } cases[] = {{QDate(2025, 6, 10), 29},  // up to Jul 9
               {QDate(2025, 1, 15), 30},  // up to Feb 14
               {QDate(2025, 1, 31), 58},  // next 31st is Mar 31
               {QDate(2024, 1, 30), 59},  // next 30th is Mar 30 (leap year)
               {QDate(2025, 2, 28), 27}};
  for (const auto& c : cases) {
    EXPECT_EQ(RecordingSettings::maxReservationOffset(c.today), c.max)
        << c.today.toString().toStdString();
  }
  RecordingSettings s;  // the chosen offset stays in that range
  s.setReservation(true, at(2025, 6, 10, 12, 0, 0));
  s.setDayOffset(40);
  EXPECT_EQ(s.dayOffset(), 29);
  s.setDayOffset(-3);
  EXPECT_EQ(s.dayOffset(), 0);
}

TEST(RecordingSettings, DatesWhoseDayRecursEarlierAreRefused) {
  const QDate jan31(2025, 1, 31);
  const struct {
    QDate date;
    bool allowed;
  } cases[] = {
      {jan31, true},
      {QDate(2025, 2, 1), true},
      {QDate(2025, 2, 28), true},
      {QDate(2025, 3, 1), false},   // Feb 1 comes first
      {QDate(2025, 3, 28), false},  // Feb 28 comes first
      {QDate(2025, 3, 29), true},   // Feb 2025 has no 29th
      {QDate(2025, 3, 30), true},
      {QDate(2025, 3, 31), false},  // today's day of month
      {QDate(2025, 1, 30), false},  // yesterday
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RecordingSettings::isReservationDateAllowed(jan31, c.date), c.allowed)
        << c.date.toString().toStdString();
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

TEST(RecordingSettings, RequestCarriesTheChosenValues) {
  RecordingSettings s;
  s.preselect(preset(45, 30, -5));
  s.setName(QStringLiteral("T1"));
  s.setLoop(false);
  s.setLowerEnabled(true);
  LogStartRequest want;
  want.Name = QStringLiteral("  T1");
  want.Loop = false;
  want.IntervalUnit = 130;
  want.IntervalValue = 45;
  want.UpperLimit = 30;
  want.UpperEnabled = true;
  want.LowerLimit = -5;
  want.LowerEnabled = true;
  want.Model = QStringLiteral("QM120-RH");
  EXPECT_EQ(s.request(), want);

  s.setUnit(Unit::Minutes);
  s.setReservation(true, at(2025, 6, 30, 22, 15, 0));
  s.setDayOffset(2);  // Jul 2
  s.setHour(6);
  s.setMinute(5);
  want.IntervalUnit = 131;
  want.IntervalValue = 60;
  want.ReservedStart = LogStartRequest::Reservation{2, 6, 5};
  EXPECT_EQ(s.request(), want);
}

TEST(RecordingButton, DecidesByLinkStateAndBattery) {
  const auto status = [](std::optional<double> volts, const char* fault = "", bool pending = false,
                         int used = 0, bool wrapped = false) {
    LoggerStatus st;
    st.BatteryVoltage = volts;
    st.BatteryStatus = QString::fromUtf8(fault);
    st.PendingDownload = pending;
    st.UsedMemory = used;
    st.LoopMode = st.MemoryWrapped = wrapped ? 1 : 0;
    return st;
  };
  const LoggerStatus good = status(3.0), low = status(2.49), unknown = status(std::nullopt),
                     fault = status(3.0, "Error"), pending = status(3.0, "", true, 4),
                     pendingEmpty = status(3.0, "", true),
                     pendingWrapped = status(3.0, "", true, 0, true);
  using A = RecordingButtonAction;
  const struct {
    bool busy;
    const char* runState;
    const LoggerStatus& status;
    A action;
  } cases[] = {
      {true, "", good, A::Ignore},
      {true, "kirokucyu", good, A::Ignore},
      {false, "kirokucyu", low, A::Stop},
      {false, "yoyakucyu", good, A::Stop},
      {false, "", good, A::OpenSettings},
      {false, "", low, A::RefuseBattery},
      {false, "", unknown, A::RefuseBattery},
      {false, "", fault, A::RefuseBattery},
      {false, "", pending, A::AskOverwrite},
      {false, "", pendingEmpty, A::OpenSettings},
      {false, "", pendingWrapped, A::AskOverwrite},
  };
  int row = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(DecideRecordingButton(c.busy, QString::fromUtf8(c.runState), c.status), c.action)
        << "row " << row;
    ++row;
  }
}

}  // namespace
}  // namespace termika
