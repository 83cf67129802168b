#include <gtest/gtest.h>

#include "core/app/NameRules.h"
#include "core/app/RecordingSettings.h"
#include "core/app/ReservedStart.h"
#include "core/app/StatusWatch.h"
#include "core/base/UiText.h"
#include "core/data/DayTime.h"

namespace termika {
namespace {

using Unit = RecordingSettings::Unit;

RecordingPreset preset(int interval, int upper = 30, int lower = 10) {
  RecordingPreset p;
  p.upperAlarm = {static_cast<std::int16_t>(upper), 0, 128};
  p.lowerAlarm = {static_cast<std::int16_t>(lower), 0, 0};
  p.intervalSeconds = interval;
  return p;
}

QDateTime at(int y, int mo, int d, int h, int mi, int s) {
  return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// The interval goes to the unit whose list holds it (1 s to the nearest, 2 s), else to minutes
// with the value kept from before, and a value the list lacks is told; alarm limits out of
// -20..70 or crossed fall back to 40 / 0.
TEST(RecordingSettings,
     PreselectsFromWhatTheLoggerReportedDefaultsEachUnitsValueAndLimitsPushEachOther) {
  // Seconds reported, then unit, value and the unlisted interval told.
  const std::tuple<int, Unit, int, int> intervals[] = {
      {2, Unit::Seconds, 2, 0},       {59, Unit::Seconds, 59, 0},       {60, Unit::Minutes, 1, 0},
      {14400, Unit::Minutes, 240, 0}, {0, Unit::Minutes, 60, 0},        {1, Unit::Seconds, 2, 1},
      {90, Unit::Minutes, 60, 90},    {14460, Unit::Minutes, 60, 14460}};
  for (const auto& [seconds, unit, value, unlisted] : intervals) {
    RecordingSettings s;
    s.preselect(preset(seconds));
    EXPECT_EQ(std::tuple(s.unit(), s.intervalValue(), s.unlistedInterval()),
              std::tuple(unit, value, unlisted))
        << seconds;
  }
  // Upper and lower limit reported, then the two preselected.
  const std::tuple<int, int, int, int> alarms[] = {
      {30, 10, 30, 10}, {75, 10, 40, 0},      {30, -21, 40, 0}, {-20, -20, 40, 0},
      {70, 69, 70, 69}, {-19, -20, -19, -20}, {10, 20, 21, 20}};
  for (const auto& [upper, lower, wantUpper, wantLower] : alarms) {
    RecordingSettings s;
    s.preselect(preset(60, upper, lower));
    EXPECT_EQ(std::pair(s.upper(), s.lower()), std::pair(wantUpper, wantLower))
        << upper << "/" << lower;
  }
  // Which limit is set, to what, and the two limits after.
  const std::tuple<bool, int, int, int> limitSteps[] = {{false, 40, 41, 40},
                                                        {true, 12, 12, 11},
                                                        {true, -50, -19, -20},
                                                        {false, 100, 70, 69},
                                                        {true, 70, 70, 69}};
  RecordingSettings limits;  // 40 / 0
  for (const auto& [upper, value, wantUpper, wantLower] : limitSteps) {
    upper ? limits.setUpper(value) : limits.setLower(value);
    EXPECT_EQ(std::pair(limits.upper(), limits.lower()), std::pair(wantUpper, wantLower)) << value;
  }
  RecordingSettings s;
  EXPECT_EQ(std::tuple(s.unit(), s.intervalValue(), s.intervalChoices().size(),
                       s.intervalChoices().front() + s.intervalChoices().back()),
            std::tuple(Unit::Minutes, 60, 240, QStringLiteral("1240")));
  // Each unit keeps its own value: switching shows it (`shown`), setting changes it if listed.
  const std::tuple<Unit, int, int, bool> steps[] = {
      {Unit::Minutes, 60, 15, true}, {Unit::Seconds, 30, 5, true},    {Unit::Seconds, 5, 1, false},
      {Unit::Seconds, 5, 60, false}, {Unit::Minutes, 15, 241, false}, {Unit::Minutes, 15, 0, false},
      {Unit::Seconds, 5, 2, true}};
  for (const auto& [unit, shown, set, listed] : steps) {
    s.setUnit(unit);
    EXPECT_EQ(s.intervalValue(), shown) << set;
    EXPECT_EQ(s.setIntervalValue(set), listed) << set;
    EXPECT_EQ(s.intervalValue(), listed ? set : shown) << set;
  }
  EXPECT_EQ(s.intervalChoices().size(), 58);
  EXPECT_EQ(s.intervalChoices().front() + s.intervalChoices().back(), QStringLiteral("259"));
}

// Up to Jul 9 from Jun 10, Feb 14 from Jan 15, Mar 30 from Jan 31 (the next 31st is Mar 31) and
// Mar 29 from Jan 30 in a leap year.
TEST(RecordingSettings, ReservationDatesStartAndCheckAtConfirmation) {
  // The year, month and day of today, and the last day offset.
  const std::tuple<int, int, int, int> cases[] = {{2025, 6, 10, 29},
                                                  {2025, 1, 15, 30},
                                                  {2025, 1, 31, 58},
                                                  {2024, 1, 30, 59},
                                                  {2025, 2, 28, 27}};
  for (const auto& [year, month, day, max] : cases)
    EXPECT_EQ(RecordingSettings::maxReservationOffset(QDate(year, month, day)), max)
        << month << day;
  RecordingSettings s;  // the chosen offset stays in that range
  s.setReservation(true, at(2025, 6, 10, 12, 0, 0));
  s.setDayOffset(40);
  EXPECT_EQ(s.dayOffset(), 29);
  s.setDayOffset(-3);
  EXPECT_EQ(s.dayOffset(), 0);
  // From Jan 31, Mar 1 and Mar 28 would start on Feb 1 and Feb 28; Feb 2025 has no 29th; Mar 31
  // is today's day of month again; Jan 30 is past.
  const std::tuple<int, int, bool> dates[] = {{1, 31, true}, {2, 1, true},   {2, 28, true},
                                              {3, 1, false}, {3, 28, false}, {3, 29, true},
                                              {3, 30, true}, {3, 31, false}, {1, 30, false}};
  for (const auto& [month, day, allowed] : dates)
    EXPECT_EQ(
        RecordingSettings::isReservationDateAllowed(QDate(2025, 1, 31), QDate(2025, month, day)),
        allowed)
        << month << "/" << day;
  const QDateTime now = at(2025, 1, 31, 10, 30, 0);
  // Day offset, hour, minute and the name, which is checked again at confirmation.
  const std::tuple<int, int, int, const char*, StartRefusal> moments[] = {
      {0, 10, 30, "AB", StartRefusal::ReservationTime},  // not later than now
      {0, 10, 31, "AB", StartRefusal::None},
      {1, 0, 0, "AB", StartRefusal::None},              // Feb 1
      {29, 8, 0, "AB", StartRefusal::ReservationTime},  // Mar 1
      {57, 8, 0, "AB", StartRefusal::None},             // Mar 29
      {1, 0, 0, "A*", StartRefusal::ForbiddenName},
      {1, 0, 0, "記録", StartRefusal::DoubleByteName},
  };
  for (const auto& [offset, hour, minute, name, result] : moments) {
    RecordingSettings s;
    s.setName(QString::fromUtf8(name));
    s.setReservation(true, now);
    s.setDayOffset(offset);
    s.setHour(hour);
    s.setMinute(minute);
    EXPECT_EQ(s.check(now), result) << offset << " " << hour << ":" << minute;
  }
  // At 23:59 the start is tomorrow 00:00, not today 00:00.
  // Now, then the day offset, hour and minute proposed.
  const std::tuple<QDateTime, int, int, int> proposals[] = {
      {at(2025, 6, 10, 14, 20, 5), 0, 14, 21},
      {at(2025, 12, 31, 23, 59, 0), 1, 0, 0},
      {at(2025, 6, 10, 13, 59, 59), 0, 14, 0}};
  for (const auto& [now, offset, hour, minute] : proposals) {
    RecordingSettings s;
    s.setReservation(true, now);
    EXPECT_EQ(std::tuple(s.dayOffset(), s.hour(), s.minute(), s.check(now)),
              std::tuple(offset, hour, minute, StartRefusal::None))
        << now.toString().toStdString();
  }
}

TEST(RecordingButton, DecidesByLinkStateAndBattery) {
  using A = RecordingButtonAction;
  // Busy link, state, battery volts and fault, download pending, used memory, wrapped: action.
  const std::tuple<bool, RunState, std::optional<double>, const char*, bool, int, int, A> cases[] =
      {
          {true, RunState::Idle, 3.0, "", false, 0, 0, A::Ignore},
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
  for (const auto& [busy, runState, volts, fault, pending, used, wrapped, action] : cases) {
    LoggerStatus st;
    st.batteryVoltage = volts;
    st.batteryStatus = QString::fromUtf8(fault);
    st.pendingDownload = pending;
    st.usedMemory = used;
    st.loopMode = st.memoryWrapped = static_cast<std::uint8_t>(wrapped);
    EXPECT_EQ(decideRecordingButton(busy, runState, st), action)
        << int(runState) << " " << volts.value_or(-1) << fault << pending << used;
  }
}

using name_rules::NameFault;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(NameRules, SingleByteNamesPassAndRefusalsNameTheCharacters) {
  const std::pair<const char*, NameFault> cases[] = {
      {"", NameFault::None},
      {"a-_.", NameFault::None},
      {"ｱｲｳｴ", NameFault::None},  // half-width katakana: one byte each
      {"テスト", NameFault::DoubleByteCharacter},
      {"é", NameFault::DoubleByteCharacter},
      {"あ/", NameFault::ForbiddenCharacter},
      {"ABCDE", NameFault::TooLong},
      {"A\tB", NameFault::ControlCharacter},
      {"\x7f", NameFault::ControlCharacter}};
  for (const auto& [name, fault] : cases) EXPECT_EQ(name_rules::check(u(name)), fault) << name;
  const std::pair<const char*, const char*> pads[] = {
      {"AB", "  AB"}, {"", "    "}, {"ABCD", "ABCD"}, {"ABCDE", "ABCD"}, {"X", "   X"}};
  for (const auto& [in, out] : pads) EXPECT_EQ(name_rules::padded(u(in)), u(out)) << in;
  const UiText ja = UiText::load(UiText::Language::Japanese);
  EXPECT_EQ(name_rules::refusalMessage(ja, TextId::NameCharactersRefused, QStringLiteral("A/")),
            u("認識名称には次の文字は使えません\r\r           \\ / : * ? \" < > |"));
  EXPECT_EQ(name_rules::refusalMessage(ja, TextId::RecordingNameRefused, QStringLiteral("あAあい")),
            u("認識名称には次の文字は使えません\r\r           あ い"));
}

QDateTime at(const char* hms, int day = 7) {
  return QDateTime(QDate(2026, 12, day), QTime::fromString(QString::fromLatin1(hms)));
}

TEST(StatusWatch, ReadsAfterTheFirstMatchingMinuteOrAFullOneTimeMemoryAndRetriesWhileUnchanged) {
  LoggerStatus reserved;
  reserved.reservationDay = 7;
  reserved.reservationHour = 10;
  reserved.reservationMinute = 30;
  LoggerStatus oneTime;  // 15000 points two seconds apart end 29998 s after 10:00
  oneTime.recordingStart = toDaySerial({2026, 12, 7, 10, 0, 0});
  oneTime.recordedInterval = 2;
  LoggerStatus loop = oneTime;
  loop.loopMode = 1;
  const std::tuple<RunState, const LoggerStatus*, QDateTime, QDateTime> cases[] = {
      {RunState::Reserved, &reserved, at("10:31:00"), at("10:31:20")},  // late: retry spacing
      {RunState::Reserved, &reserved, at("10:36:00"), at("10:30:03", 7).addMonths(1)},
      {RunState::Recording, &oneTime, at("10:05:00"), at("18:20:01")},
      {RunState::Recording, &oneTime, at("18:26:00"), {}},  // past the look-back
      {RunState::Recording, &loop, at("10:05:00"), {}},
  };
  for (const auto& [state, status, now, next] : cases) {
    StatusWatch watch;
    watch.update(true, state, *status, now);
    EXPECT_EQ(watch.nextRead(), next) << now.toString().toStdString();
  }
  StatusWatch watch;
  watch.update(true, RunState::Reserved, reserved, at("10:29:00"));
  EXPECT_FALSE(watch.due(at("10:30:02")));
  ASSERT_TRUE(watch.due(at("10:30:03")));
  watch.reading(at("10:30:03"));
  // Still reserved: refreshes in between do not move the retry.
  watch.update(true, RunState::Reserved, reserved, at("10:30:10"));
  EXPECT_EQ(watch.nextRead(), at("10:30:23"));
  watch.update(false, RunState::Reserved, reserved, at("10:30:11"));
  EXPECT_FALSE(watch.nextRead().isValid());
  // The logger starts at the first minute that matches day, hour and minute: later today, in a
  // later month when the day has passed or the month lacks it, or this very minute.
  // Now, the day, hour and minute reserved, and the start.
  const std::tuple<QDateTime, int, int, int, QDateTime> starts[] = {
      {at(2025, 1, 31, 10, 30, 45), 31, 10, 30, at(2025, 1, 31, 10, 30, 0)},
      {at(2025, 1, 31, 10, 30, 0), 31, 10, 29, at(2025, 3, 31, 10, 29, 0)},
      {at(2025, 1, 20, 23, 0, 0), 5, 7, 3, at(2025, 2, 5, 7, 3, 0)},
      {at(2025, 12, 31, 23, 59, 59), 1, 0, 0, at(2026, 1, 1, 0, 0, 0)},
      {at(2025, 1, 1, 0, 0, 0), 32, 0, 0, QDateTime()},
      {at(2025, 1, 1, 0, 0, 0), 5, 24, 0, QDateTime()}};
  for (const auto& [now, day, hour, minute, start] : starts)
    EXPECT_EQ(reservedStart(now, day, hour, minute), start) << now.toString().toStdString();
}

}  // namespace
}  // namespace termika
