#include <gtest/gtest.h>

#include "core/app/StatusWatch.h"
#include "core/data/DayTime.h"

namespace termika {
namespace {

QDateTime at(const char* hms, int day = 7) {
  return QDateTime(QDate(2026, 12, day), QTime::fromString(QString::fromLatin1(hms)));
}

TEST(StatusWatch, ReadsAfterAReservedStartOrAFullOneTimeMemoryAndRetriesWhileUnchanged) {
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
}

}  // namespace
}  // namespace termika
