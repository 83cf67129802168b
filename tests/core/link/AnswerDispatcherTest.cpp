#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "core/link/AnswerDispatcher.h"
#include "core/link/Commands.h"

namespace termika {
namespace {

using testing::FakePrompts;

class AnswerDispatcherTest : public ::testing::Test {
 protected:
  // Handles the answer (d2, d3) to a single row (code, sub) in `mode`.
  AnswerAction answer(std::uint8_t code, std::uint8_t d2, std::uint8_t d3, std::uint8_t sub = 0,
                      const QString& mode = {}) {
    CommandQueue queue;
    EXPECT_TRUE(queue.append(commands::row(code, sub, 0, mode)).ok());
    const frame::Bytes4 d{1, code, d2, d3};
    return dispatcher.HandleAnswer(queue, Answer{d, frame::encode(d)});
  }

  AppState app;
  FakePrompts prompts;
  AnswerDispatcher dispatcher{app, prompts};
};

TEST_F(AnswerDispatcherTest, StateBitsOfCode30) {
  struct Case {
    std::uint8_t d2;
    const char* runState;
    const char* battery;
    const char* stopReason;
  };
  const Case cases[] = {
      {0x00, "", "", ""},
      {0x01, "kirokucyu", "", ""},
      {0x02, "kirokucyu", "", ""},
      {0x04, "yoyakucyu", "", ""},
      {0x07, "yoyakucyu", "", ""},  // reserved wins over recording
      {0x0C, "yoyakucyu", "Error", ""},
      {0x11, "kirokucyu", "", "Stop"},
  };
  for (const Case& c : cases) {
    app.RunState = QStringLiteral("renzoku");
    app.Status.BatteryStatus = QStringLiteral("Error");
    app.Status.StopReason = QStringLiteral("Stop");
    EXPECT_EQ(answer(30, c.d2, 0), AnswerAction::Advance);
    EXPECT_EQ(app.RunState, QLatin1String(c.runState)) << int(c.d2);
    EXPECT_EQ(app.Status.BatteryStatus, QLatin1String(c.battery)) << int(c.d2);
    EXPECT_EQ(app.Status.StopReason, QLatin1String(c.stopReason)) << int(c.d2);
  }
}

TEST_F(AnswerDispatcherTest, RecordingBitOfCode15) {
  answer(15, 0x80, 0);
  EXPECT_EQ(app.RunState, QStringLiteral("kirokucyu"));
  answer(15, 0x7F, 0);
  EXPECT_EQ(app.RunState, QString());
}

TEST_F(AnswerDispatcherTest, IntervalOfCode37) {
  const struct {
    std::uint8_t d2, d3;
    int seconds;
  } cases[] = {{131, 5, 300}, {130, 5, 5}, {131, 240, 14400}, {0, 30, 30}};
  for (const auto& c : cases) {
    answer(37, c.d2, c.d3);
    EXPECT_EQ(app.Status.IntervalSetting, c.seconds) << int(c.d2) << "/" << int(c.d3);
  }
}

TEST_F(AnswerDispatcherTest, BatteryVoltageOfCode51) {
  const struct {
    std::uint8_t d2, d3;
    const char* text;
  } cases[] = {{3, 0, "2.48"}, {3, 255, "3.30"}, {0, 0, "0.00"}, {1, 0, "0.83"}};
  for (const auto& c : cases) {
    answer(51, c.d2, c.d3);
    EXPECT_EQ(app.Status.BatteryVoltageText, QLatin1String(c.text));
    ASSERT_TRUE(app.Status.BatteryVoltage.has_value());
  }
  answer(51, 3, 0);
  EXPECT_NEAR(*app.Status.BatteryVoltage, 2.4774, 1e-4);
}

TEST_F(AnswerDispatcherTest, AlarmsOfCodes47And48) {
  answer(47, 0x82, 0x34);
  EXPECT_EQ(app.Status.UpperAlarm.Enabled, 128);
  EXPECT_EQ(app.Status.UpperAlarm.RawLimit, 564);
  answer(48, 0x7F, 0xFF);
  EXPECT_EQ(app.Status.LowerAlarm.Enabled, 0);
  EXPECT_EQ(app.Status.LowerAlarm.RawLimit, 32767);
}

TEST_F(AnswerDispatcherTest, AlarmLimitUsesTheRecordedIntervalForTheConversion) {
  std::vector<std::pair<int, int>> calls;
  dispatcher.setRawToTemperature([&](int raw, int mode) {
    calls.emplace_back(raw, mode);
    return 24.5;  // rounds to even: 24
  });
  answer(23, 130, 2, 18);
  answer(47, 0x99, 0x40);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], std::make_pair(0x1940, 2));
  EXPECT_EQ(app.Status.UpperAlarm.Limit, 24);
  dispatcher.setRawToTemperature([](int, int) { return 1e9; });  // out of range: kept
  answer(47, 0x99, 0x40);
  EXPECT_EQ(app.Status.UpperAlarm.Limit, 24);
}

TEST_F(AnswerDispatcherTest, IdentificationNameOfCodes42And43) {
  answer(42, 65, 66);
  answer(43, 67, 68);
  EXPECT_EQ(app.Status.LoggerName, QStringLiteral("ABCD"));
  answer(42, 0, 66);
  EXPECT_EQ(app.Status.LoggerName, QString());
  answer(43, 0x20, 0xB1);  // a blank and a half-width katakana
  EXPECT_EQ(app.Status.LoggerName, QString::fromUtf8(" \uFF71"));
  answer(42, 65, 66);
  answer(43, 67, 0);
  EXPECT_EQ(app.Status.LoggerName, QStringLiteral("AB"));
}

TEST_F(AnswerDispatcherTest, MemoryCountsUseFullWidthArithmetic) {
  answer(23, 0x3A, 0x98, 16);
  EXPECT_EQ(app.Status.UsedMemory, 15000);
  answer(38, 0xFF, 0xFF);  // larger: unchanged
  EXPECT_EQ(app.Status.UsedMemory, 15000);
  answer(38, 0x01, 0x00);
  EXPECT_EQ(app.Status.UsedMemory, 256);
  answer(23, 0xEA, 0x60, 16);
  EXPECT_EQ(app.Status.UsedMemory, 60000);
}

TEST_F(AnswerDispatcherTest, RecordedIntervalOfCode23Sub18) {
  answer(23, 131, 10, 18);
  EXPECT_EQ(app.Status.RecordedIntervalUnit, 131);
  EXPECT_EQ(app.Status.RecordedIntervalValue, 10);
  EXPECT_EQ(app.Status.RecordedInterval, 600);
  answer(23, 130, 2, 18);
  EXPECT_EQ(app.Status.RecordedInterval, 2);
}

TEST_F(AnswerDispatcherTest, RecordingStartIsPackedDecimal) {
  answer(23, 0x24, 0x12, 20);
  answer(23, 0x31, 0x23, 22);
  answer(23, 0x59, 0x58, 24);
  ASSERT_TRUE(app.Status.RecordingStart.has_value());
  // 2024-12-31 is day 45657 after 1899-12-30.
  EXPECT_NEAR(*app.Status.RecordingStart, 45657.0 + 86398.0 / 86400.0, 1e-9);

  answer(23, 0x5A, 0x58, 24);  // a nibble above 9: the start is unknown
  EXPECT_FALSE(app.Status.RecordingStart.has_value());
  answer(23, 0x24, 0x13, 20);  // month 13
  answer(23, 0x59, 0x58, 24);
  EXPECT_FALSE(app.Status.RecordingStart.has_value());
}

TEST_F(AnswerDispatcherTest, SmallStatusFields) {
  answer(34, 17, 0);
  answer(35, 8, 0);
  answer(36, 45, 0);
  answer(50, 1, 2);
  answer(16, 1, 0);
  EXPECT_EQ(app.Status.ReservationDay, 17);
  EXPECT_EQ(app.Status.ReservationHour, 8);
  EXPECT_EQ(app.Status.ReservationMinute, 45);
  EXPECT_EQ(app.Status.LoopMode, 1);
  EXPECT_EQ(app.Status.MemoryWrapped, 2);
  EXPECT_TRUE(app.Status.wrapped());
  EXPECT_TRUE(app.Status.BatteryLow);
  answer(16, 0, 0);
  EXPECT_FALSE(app.Status.BatteryLow);
}

TEST_F(AnswerDispatcherTest, PendingDownloadOfCodes56And57) {
  const struct {
    std::uint8_t d2, d3;
    bool pending;
  } cases[] = {{0, 0, true}, {0, 1, false}, {1, 0, false}, {255, 1, false}};  // 256 is not 0
  for (const auto& c : cases) {
    answer(57, c.d2, c.d3);
    EXPECT_EQ(app.Status.PendingDownload, c.pending) << int(c.d2) << "/" << int(c.d3);
  }
  app.Status.PendingDownload = true;
  answer(56, 1, 1);
  EXPECT_FALSE(app.Status.PendingDownload);
}

TEST_F(AnswerDispatcherTest, FirmwareVersionFromTheRawIdentifyAnswer) {
  const struct {
    QByteArray raw;
    const char* version;
  } cases[] = {{QByteArray("QM120-RH\x01\x05\xFF", 11), "1.05"},
               {QByteArray("QM100-RH\x02\x0D\xFF", 11), "2.13"},
               {QByteArray("\x01\x05\xFF", 3), "1.05"}};
  for (const auto& c : cases) {
    const auto parsed = AnswerDispatcher::parse(99, c.raw);
    ASSERT_TRUE(parsed.has_value());
    CommandQueue queue;
    ASSERT_TRUE(queue.append(commands::row(99)).ok());
    dispatcher.HandleAnswer(queue, *parsed);
    EXPECT_EQ(app.Status.FirmwareVersion, QLatin1String(c.version));
  }
}

TEST_F(AnswerDispatcherTest, ParseRefusesWhatIsNoAnswer) {
  const struct {
    std::uint8_t code;
    QByteArray raw;
    bool valid;
  } cases[] = {
      {99, QByteArray("\x05\xFF", 2), false},  // no room for two version bytes
      {99, QByteArray(), false},
      {42, QByteArray::fromHex("0001004200650066ff"), true},
      {42, QByteArray::fromHex("ab0001004200650066ff"), true},  // leading noise
      {42, QByteArray::fromHex("0001004200650066"), false},     // no terminator
      {42, QByteArray::fromHex("00010042006500ff"), false},     // too short
      {42, QByteArray::fromHex("000100420065006aff"), false},   // not a decimal nibble
      {42, QByteArray::fromHex("0001004203650066ff"), false},   // hundreds above 2
      {42, QByteArray::fromHex("0001004202560066ff"), false},   // 256
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AnswerDispatcher::parse(c.code, c.raw).has_value(), c.valid) << c.raw.toHex().data();
  }
}

TEST_F(AnswerDispatcherTest, ConfirmationOfCodes46And49UnlessRecordingStart) {
  app.ModelName = QStringLiteral("QM120-RH");
  answer(46, 0, 0);
  answer(49, 0, 0);
  ASSERT_EQ(prompts.messages.size(), 2u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("QM120-RH"));
  EXPECT_EQ(prompts.messages[0].text, QString::fromUtf8("設定しました。"));
  answer(46, 0, 0, 0, QStringLiteral("log_start"));
  answer(49, 0, 0, 0, QStringLiteral("log_start"));
  answer(40, 0, 0);
  answer(41, 0, 0);
  EXPECT_EQ(prompts.messages.size(), 2u);
}

// Runs the answers of a whole clock set through the dispatcher.
class ClockSetTest : public AnswerDispatcherTest {
 protected:
  void run(const CivilTime& sent, std::array<std::uint8_t, 6> readBack, const QString& mode) {
    CommandQueue queue;
    CommandRows rows = commands::QueueClockWrite(sent);
    for (CommandRow r : commands::QueueClockRead(mode)) rows.push_back(r);
    ASSERT_TRUE(queue.append(rows).ok());
    const std::array<std::pair<std::uint8_t, std::uint8_t>, 6> answers = {
        {{0, 0},
         {0, 0},
         {0, 0},
         {readBack[0], readBack[1]},
         {readBack[2], readBack[3]},
         {readBack[4], readBack[5]}}};
    for (const auto& [d2, d3] : answers) {
      const frame::Bytes4 d{1, queue.current().b1, d2, d3};
      EXPECT_EQ(dispatcher.HandleAnswer(queue, Answer{d, frame::encode(d)}), AnswerAction::Advance);
      queue.advance();
    }
  }
};

TEST_F(ClockSetTest, MatchingReadBackConfirmsWithTheClock) {
  app.ModelName = QStringLiteral("QM120-RH");
  run(CivilTime{2024, 12, 31, 23, 59, 58}, {12, 24, 23, 31, 59, 59}, QStringLiteral("T_Set"));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("QM120-RH"));
  EXPECT_EQ(prompts.messages[0].text, QString::fromUtf8("設定しました\r\r2024/12/31 23:59:59"));
  ASSERT_TRUE(app.Status.DeviceClock.has_value());
  EXPECT_NEAR(*app.Status.DeviceClock, 45657.0 + 86399.0 / 86400.0, 1e-9);
}

TEST_F(ClockSetTest, ReadBackAcrossTheYearBoundaryStillMatches) {
  run(CivilTime{2024, 12, 31, 23, 59, 59}, {1, 25, 0, 1, 1, 0}, QStringLiteral("T_Set"));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_TRUE(prompts.messages[0].text.startsWith(QString::fromUtf8("設定しました\r\r")));
}

TEST_F(ClockSetTest, ReadBackFarFromTheTimeSentIsAFailure) {
  run(CivilTime{2024, 12, 31, 23, 59, 58}, {12, 24, 23, 31, 3, 0}, QStringLiteral("T_Set"));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, QString::fromUtf8("通信エラー\r\r2024/12/31 23:00:03"));
}

TEST_F(ClockSetTest, ImpossibleReadBackIsAFailure) {
  run(CivilTime{2024, 12, 31, 23, 59, 58}, {13, 24, 23, 31, 58, 59}, QStringLiteral("T_Set"));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, QString::fromUtf8("通信エラー\r\r--"));
  EXPECT_FALSE(app.Status.DeviceClock.has_value());
}

TEST_F(ClockSetTest, PlainClockReadShowsNoMessage) {
  run(CivilTime{2024, 12, 31, 23, 59, 58}, {6, 5, 7, 9, 1, 2}, QString());
  EXPECT_TRUE(prompts.messages.empty());
  ASSERT_TRUE(app.Status.DeviceClock.has_value());
  const std::array<std::uint8_t, 6> expected{6, 5, 7, 9, 1, 2};
  EXPECT_EQ(app.Status.ClockBytes, expected);
}

// A session that takes over its rows: records what it saw and repeats.
class RecordingHandler final : public SessionHandler {
 public:
  AnswerAction onAnswer(CommandQueue& queue, CommandRow& row, const frame::Bytes4& d) override {
    seen.push_back(d);
    row.param += 4;
    row.b2 = static_cast<std::uint8_t>(row.param / 256);
    row.b3 = static_cast<std::uint8_t>(row.param % 256);
    if (seen.size() == 2) {
      EXPECT_TRUE(queue.append(commands::row(56, 1, 1)).ok());
      return AnswerAction::Advance;
    }
    return AnswerAction::RepeatRow;
  }
  std::vector<frame::Bytes4> seen;
};

TEST_F(AnswerDispatcherTest, SessionModesGoToTheirHandlerAfterTheStatusFields) {
  RecordingHandler handler;
  dispatcher.setSessionHandler(QStringLiteral("kiroten"), &handler);
  dispatcher.setSessionHandler(QStringLiteral("download"), &handler);
  EXPECT_EQ(dispatcher.sessionHandler(QStringLiteral("real")), nullptr);

  // A status row of a download fills the status and is shown to the session.
  EXPECT_EQ(answer(23, 0x00, 0x08, 16, QStringLiteral("download")), AnswerAction::RepeatRow);
  EXPECT_EQ(app.Status.UsedMemory, 8);

  CommandQueue queue;
  ASSERT_TRUE(queue.append(commands::row(8, 240, 0, QStringLiteral("kiroten"), 0xF000)).ok());
  const frame::Bytes4 d{1, 8, 0x24, 0x12};
  EXPECT_EQ(dispatcher.HandleAnswer(queue, Answer{d, frame::encode(d)}), AnswerAction::Advance);
  ASSERT_EQ(handler.seen.size(), 2u);
  EXPECT_EQ(handler.seen[1], d);
  EXPECT_EQ(queue.current().param, 0xF004);
  EXPECT_EQ(queue.current().b2, 0xF0);
  EXPECT_EQ(queue.current().b3, 0x04);
  EXPECT_EQ(queue.count(), 2);
  EXPECT_EQ(queue.at(1).b1, 56);

  dispatcher.setSessionHandler(QStringLiteral("kiroten"), nullptr);
  EXPECT_EQ(dispatcher.sessionHandler(QStringLiteral("kiroten")), nullptr);
}

TEST_F(AnswerDispatcherTest, ClearStatusForgetsTheLogger) {
  answer(42, 65, 66);
  answer(51, 3, 0);
  AnswerDispatcher::clearStatus(app.Status);
  EXPECT_EQ(app.Status.LoggerName, QString());
  EXPECT_EQ(app.Status.FirmwareVersion, QString());
  EXPECT_FALSE(app.Status.BatteryVoltage.has_value());
}

}  // namespace
}  // namespace termika
