#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "core/link/AnswerDispatcher.h"
#include "core/link/Commands.h"

namespace termika {
namespace {

using testing::ScriptedPrompts;

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
  ScriptedPrompts prompts;
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

// One decoded field of the status, as text, so one table covers them all.
QString field(const AppState& app, std::string_view name) {
  const LoggerStatus& s = app.Status;
  const auto n = [](auto v) { return QString::number(v); };
  if (name == "run") return app.RunState;
  if (name == "interval") return n(s.IntervalSetting);
  if (name == "volts") {
    return s.BatteryVoltage ? QString::number(*s.BatteryVoltage, 'f', 4) : "none";
  }
  if (name == "voltsText") return s.BatteryVoltageText;
  if (name == "upper") return n(s.UpperAlarm.Enabled) + '/' + n(s.UpperAlarm.RawLimit);
  if (name == "lower") return n(s.LowerAlarm.Enabled) + '/' + n(s.LowerAlarm.RawLimit);
  if (name == "name") return s.LoggerName;
  if (name == "used") return n(s.UsedMemory);
  if (name == "recorded") {
    return n(s.RecordedIntervalUnit) + '/' + n(s.RecordedIntervalValue) + '/' +
           n(s.RecordedInterval);
  }
  if (name == "start") return s.RecordingStart ? n(qRound64(*s.RecordingStart * 86400)) : "none";
  if (name == "reservation") {
    return n(s.ReservationDay) + '/' + n(s.ReservationHour) + '/' + n(s.ReservationMinute);
  }
  if (name == "loop") return n(s.LoopMode) + '/' + n(s.MemoryWrapped) + '/' + n(s.wrapped());
  if (name == "batteryLow") return n(s.BatteryLow);
  if (name == "pending") return n(s.PendingDownload);
  return "no such field";
}

TEST_F(AnswerDispatcherTest, StatusFieldsOfEachCode) {
  struct Step {
    std::uint8_t code, d2, d3, sub;
  };
  struct Case {
    const char* field;
    std::vector<Step> answers;  // in order, into one fresh status
    QString expected;
  };
  const Case cases[] = {
      {"run", {{15, 0x80, 0, 0}}, "kirokucyu"},
      {"run", {{15, 0x80, 0, 0}, {15, 0x7F, 0, 0}}, ""},
      {"interval", {{37, 131, 5, 0}}, "300"},
      {"interval", {{37, 130, 5, 0}}, "5"},
      {"interval", {{37, 131, 240, 0}}, "14400"},
      {"interval", {{37, 0, 30, 0}}, "30"},
      {"voltsText", {{51, 3, 0, 0}}, "2.48"},
      {"voltsText", {{51, 3, 255, 0}}, "3.30"},
      {"voltsText", {{51, 0, 0, 0}}, "0.00"},
      {"voltsText", {{51, 1, 0, 0}}, "0.83"},
      {"volts", {{51, 3, 0, 0}}, "2.4774"},  // 768 * 3.3 / 1023
      {"volts", {{51, 0, 0, 0}}, "0.0000"},
      {"upper", {{47, 0x82, 0x34, 0}}, "128/564"},
      {"lower", {{48, 0x7F, 0xFF, 0}}, "0/32767"},
      {"name", {{42, 65, 66, 0}, {43, 67, 68, 0}}, "ABCD"},
      {"name", {{42, 65, 66, 0}, {43, 67, 68, 0}, {42, 0, 66, 0}}, ""},
      {"name", {{42, 65, 66, 0}, {43, 67, 0, 0}}, "AB"},
      {"name", {{43, 0x20, 0xB1, 0}}, QString::fromUtf8(" \uFF71")},  // blank, half-width kana
      // Memory counts in full-width arithmetic; 38 only ever lowers the count.
      {"used", {{23, 0x3A, 0x98, 16}}, "15000"},
      {"used", {{23, 0x3A, 0x98, 16}, {38, 0xFF, 0xFF, 0}}, "15000"},
      {"used", {{23, 0x3A, 0x98, 16}, {38, 0x01, 0x00, 0}}, "256"},
      {"used", {{23, 0xEA, 0x60, 16}}, "60000"},
      {"recorded", {{23, 131, 10, 18}}, "131/10/600"},
      {"recorded", {{23, 130, 2, 18}}, "130/2/2"},
      // Packed decimal: 2024-12-31 (day 45657) 23:59:58 is second 45657 * 86400 + 86398.
      {"start", {{23, 0x24, 0x12, 20}, {23, 0x31, 0x23, 22}, {23, 0x59, 0x58, 24}}, "3944851198"},
      {"start", {{23, 0x24, 0x12, 20}, {23, 0x31, 0x23, 22}, {23, 0x5A, 0x58, 24}}, "none"},
      {"start", {{23, 0x24, 0x13, 20}, {23, 0x31, 0x23, 22}, {23, 0x59, 0x58, 24}}, "none"},
      {"reservation", {{34, 17, 0, 0}, {35, 8, 0, 0}, {36, 45, 0, 0}}, "17/8/45"},
      {"loop", {{50, 1, 2, 0}}, "1/2/1"},
      {"loop", {{50, 0, 2, 0}}, "0/2/0"},
      {"batteryLow", {{16, 1, 0, 0}}, "1"},
      {"batteryLow", {{16, 1, 0, 0}, {16, 0, 0, 0}}, "0"},
      {"pending", {{57, 0, 0, 0}}, "1"},
      {"pending", {{57, 0, 1, 0}}, "0"},
      {"pending", {{57, 1, 0, 0}}, "0"},
      {"pending", {{57, 255, 1, 0}}, "0"},  // 256 is not 0
      {"pending", {{57, 0, 0, 0}, {56, 1, 1, 0}}, "0"},
  };
  for (const Case& c : cases) {
    app.Status = LoggerStatus{};
    app.RunState.clear();
    for (const Step& a : c.answers)
      EXPECT_EQ(answer(a.code, a.d2, a.d3, a.sub), AnswerAction::Advance);
    EXPECT_EQ(field(app, c.field), c.expected) << c.field << " after " << c.answers.size();
  }
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
      {42, QByteArray::fromHex("0001004200650066"), false},    // no terminator
      {42, QByteArray::fromHex("000100420065006aff"), false},  // not a decimal nibble
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AnswerDispatcher::parse(c.code, c.raw).has_value(), c.valid) << c.raw.toHex().data();
  }
}

TEST_F(AnswerDispatcherTest, ConfirmationOfCodes46And49UnlessRecordingStart) {
  app.ModelName = QStringLiteral("QM120-RH");
  answer(46, 0, 0);
  answer(49, 0, 0);
  ASSERT_EQ(prompts.calls.size(), 2u);
  EXPECT_EQ(prompts.calls[0].title, QStringLiteral("QM120-RH"));
  EXPECT_EQ(prompts.calls[0].message, QString::fromUtf8("設定しました。"));
  answer(46, 0, 0, 0, QStringLiteral("log_start"));
  answer(49, 0, 0, 0, QStringLiteral("log_start"));
  answer(40, 0, 0);
  answer(41, 0, 0);
  EXPECT_EQ(prompts.calls.size(), 2u);
}

TEST_F(AnswerDispatcherTest, ClockSetConfirmsOnlyAReadBackNearTheTimeSent) {
  struct Case {
    const char* name;
    CivilTime sent;
    std::array<std::uint8_t, 6> readBack;  // month, year, hour, day, second, minute
    QString mode;
    const char* message;  // nullptr: none
    const char* clock;    // second of the day serial read back; nullptr: not looked at
  };
  const CivilTime lastSeconds{2024, 12, 31, 23, 59, 58};
  const Case cases[] = {
      {"matching",
       lastSeconds,
       {12, 24, 23, 31, 59, 59},
       "T_Set",
       "設定しました\r\r2024/12/31 23:59:59",
       "3944851199"},  // day 45657
      {"across the new year",
       {2024, 12, 31, 23, 59, 59},
       {1, 25, 0, 1, 1, 0},
       "T_Set",
       "設定しました\r\r2025/01/01 00:00:01",
       nullptr},
      {"an hour off",
       lastSeconds,
       {12, 24, 23, 31, 3, 0},
       "T_Set",
       "通信エラー\r\r2024/12/31 23:00:03",
       nullptr},
      {"impossible month",
       lastSeconds,
       {13, 24, 23, 31, 58, 59},
       "T_Set",
       "通信エラー\r\r--",
       "none"},
      {"plain clock read",
       lastSeconds,
       {6, 5, 7, 9, 1, 2},
       {},
       nullptr,
       "3327462121"},  // 2005-06-09
                       // 07:02:01
  };
  app.ModelName = QStringLiteral("QM120-RH");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    prompts.calls.clear();
    CommandQueue queue;
    CommandRows rows = commands::QueueClockWrite(c.sent);
    for (CommandRow r : commands::QueueClockRead(c.mode)) rows.push_back(r);
    ASSERT_TRUE(queue.append(rows).ok());
    for (int i = 0; i < 6; ++i) {
      const std::uint8_t d2 = i < 3 ? 0 : c.readBack[2 * (i - 3)];
      const std::uint8_t d3 = i < 3 ? 0 : c.readBack[2 * (i - 3) + 1];
      const frame::Bytes4 d{1, queue.current().b1, d2, d3};
      EXPECT_EQ(dispatcher.HandleAnswer(queue, Answer{d, frame::encode(d)}), AnswerAction::Advance);
      queue.advance();
    }
    EXPECT_EQ(app.Status.ClockBytes, c.readBack);
    const auto& clock = app.Status.DeviceClock;
    if (c.clock) {
      EXPECT_EQ(clock ? QString::number(qRound64(*clock * 86400)) : "none", c.clock);
    }
    if (c.message == nullptr) {
      EXPECT_TRUE(prompts.calls.empty());
      continue;
    }
    ASSERT_EQ(prompts.calls.size(), 1u);
    EXPECT_EQ(prompts.calls[0].title, QStringLiteral("QM120-RH"));
    EXPECT_EQ(prompts.calls[0].message, QString::fromUtf8(c.message));
  }
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

}  // namespace
}  // namespace termika
