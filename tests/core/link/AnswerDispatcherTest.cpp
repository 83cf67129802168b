#include <gtest/gtest.h>

#include "LinkTestSupport.h"
#include "core/link/AnswerDispatcher.h"
#include "core/link/Commands.h"

namespace termika {
namespace {

using testing::ScriptedPrompts;

class AnswerDispatcherTest : public ::testing::Test {
 protected:
  AnswerDispatcherTest() { m_app.modelName = QStringLiteral("QM120-RH"); }

  // Handles the answer (d2, d3) to a single row (code, sub) in `mode`.
  AnswerAction answer(std::uint8_t code, std::uint8_t d2, std::uint8_t d3, std::uint8_t sub = 0,
                      SessionMode mode = SessionMode::None) {
    CommandQueue queue;
    EXPECT_TRUE(queue.append(commands::row(static_cast<Opcode>(code), sub, 0, mode)).ok());
    const frame::Bytes4 d{1, code, d2, d3};
    return m_dispatcher.handleAnswer(queue, Answer{d, frame::encode(d)});
  }
  QStringList messages() const {
    QStringList out;
    for (const auto& call : m_prompts.calls) out << call.title + ": " + call.message;
    return out;
  }

  AppState m_app;
  ScriptedPrompts m_prompts;
  AnswerDispatcher m_dispatcher{m_app, m_prompts};
};

// The exchange test reads a whole status in pieces; these are the values and orders of each
// code.
TEST_F(AnswerDispatcherTest, StatusFieldsOfEachCode) {
  struct Step {
    std::uint8_t code, d2, d3 = 0, sub = 0;
  };
  struct Case {
    const char* field;
    std::vector<Step> answers;  // in order, into one fresh status
    QString expected;
  };
  const Case cases[] = {
      {"run", {{30, 0x01}}, "recording"},
      {"run", {{30, 0x02}}, "recording"},
      {"run", {{30, 0x04}}, "reserved"},
      {"run", {{30, 0x07}}, "reserved"},  // reserved wins over recording
      {"run", {{30, 0x1C}, {30, 0x00}}, "idle"},
      {"battery", {{30, 0x0C}}, "Error/"},
      {"battery", {{30, 0x11}}, "/Stop"},
      {"battery", {{30, 0x1C}, {30, 0x00}}, "/"},
      {"run", {{15, 0x80}}, "recording"},
      {"run", {{15, 0x80}, {15, 0x7F}}, "idle"},
      {"interval", {{37, 131, 5}}, "300"},
      {"interval", {{37, 130, 5}}, "5"},
      {"interval", {{37, 0, 30}}, "30"},
      {"voltsText", {{51, 3, 255}}, "3.30"},
      {"voltsText", {{51, 0, 0}}, "0.00"},
      {"voltsText", {{51, 1, 0}}, "0.83"},
      {"volts", {{51, 3, 0}}, "2.4774"},  // 768 * 3.3 / 1023
      {"upper", {{47, 0x82, 0x34}}, "128/564"},
      {"lower", {{48, 0x7F, 0xFF}}, "0/32767"},
      {"name", {{42, 65, 66}, {43, 67, 68}}, "ABCD"},
      {"name", {{42, 65, 66}, {43, 67, 68}, {42, 0, 66}}, ""},
      {"name", {{42, 65, 66}, {43, 67, 0}}, "AB"},
      {"name", {{43, 0x20, 0xB1}}, QString::fromUtf8(" \uFF71")},  // blank, half-width kana
      // Memory counts in full-width arithmetic; 38 only ever lowers the count.
      {"used", {{23, 0x3A, 0x98, 16}}, "15000/3750"},
      {"used", {{23, 0x3A, 0x98, 16}, {38, 0xFF, 0xFF}}, "15000/3750"},
      {"used", {{23, 0x3A, 0x98, 16}, {38, 0x01, 0x00}}, "256/64"},
      {"used", {{23, 0xEA, 0x60, 16}}, "60000/15000"},
      {"recorded", {{23, 130, 2, 18}}, "130/2/2"},
      {"recorded", {{23, 131, 10, 18}}, "131/10/600"},
      // Packed decimal: 2024-12-31 (day 45657) 23:59:58 is second 45657 * 86400 + 86398.
      {"start", {{23, 0x24, 0x12, 20}, {23, 0x31, 0x23, 22}, {23, 0x59, 0x58, 24}}, "3944851198"},
      {"start", {{23, 0x24, 0x12, 20}, {23, 0x31, 0x23, 22}, {23, 0x5A, 0x58, 24}}, "none"},
      {"start", {{23, 0x24, 0x13, 20}, {23, 0x31, 0x23, 22}, {23, 0x59, 0x58, 24}}, "none"},
      {"loop", {{50, 1, 2}}, "1/2/1"},
      {"loop", {{50, 0, 2}}, "0/2/0"},
      {"batteryLow", {{16, 1}}, "1"},
      {"batteryLow", {{16, 1}, {16, 0}}, "0"},
      {"pending", {{57, 0, 0}}, "1"},
      {"pending", {{57, 0, 1}}, "0"},
      {"pending", {{57, 1, 0}}, "0"},
      {"pending", {{57, 255, 1}}, "0"}};  // 256 is not 0
  for (const Case& c : cases) {
    m_app.status = LoggerStatus{};
    m_app.runState = RunState::Idle;
    for (const Step& a : c.answers) {
      EXPECT_EQ(answer(a.code, a.d2, a.d3, a.sub), AnswerAction::Advance);
    }
    EXPECT_EQ(testing::statusField(m_app, c.field), c.expected)
        << c.field << " after " << c.answers.size() << " answers, last "
        << int(c.answers.back().d2);
  }
  EXPECT_TRUE(m_prompts.calls.empty());
}

TEST_F(AnswerDispatcherTest, AlarmLimitUsesTheRecordedIntervalForTheConversion) {
  std::vector<std::pair<int, int>> calls;
  m_dispatcher.setRawToTemperature([&](int raw, int mode) {
    calls.emplace_back(raw, mode);
    return 24.5;  // rounds to even: 24
  });
  answer(23, 130, 2, 18);
  answer(47, 0x99, 0x40);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], std::make_pair(0x1940, 2));
  EXPECT_EQ(m_app.status.upperAlarm.limit, 24);
  m_dispatcher.setRawToTemperature([](int, int) { return 1e9; });  // out of range: kept
  answer(47, 0x99, 0x40);
  EXPECT_EQ(m_app.status.upperAlarm.limit, 24);
}

// The identify answer is bounds-checked text; the mark's answer must echo its code, or a point
// left over from a stream would pass for it.
TEST_F(AnswerDispatcherTest, ParseTakesOnlyAnAnswerThatFitsTheRequest) {
  const struct {
    std::uint8_t code;
    QByteArray raw;
    const char* field;  // nullptr: no answer
    const char* value;
  } cases[] = {{99, QByteArray("QM120-RH\x01\x05\xFF", 11), "firmware", "1.05"},
               {99, QByteArray("QM100-RH\x02\x0D\xFF", 11), "firmware", "2.13"},
               {99, QByteArray("\x01\x05\xFF", 3), "firmware", "1.05"},
               {99, QByteArray("\x05\xFF", 2), nullptr, ""},  // no room for two version bytes
               {99, QByteArray(), nullptr, ""},
               {56, frame::encode({1, 56, 0, 0}), "pending", "0"},
               {56, frame::encode({0x0B, 0xB8, 0x07, 0xD0}), nullptr, ""}};
  for (const auto& c : cases) {
    m_app.status.pendingDownload = true;
    const auto parsed = AnswerDispatcher::parse(c.code, c.raw);
    ASSERT_EQ(parsed.has_value(), c.field != nullptr) << c.raw.toHex().constData();
    if (!parsed) continue;
    CommandQueue queue;
    ASSERT_TRUE(queue.append(commands::row(static_cast<Opcode>(c.code))).ok());
    m_dispatcher.handleAnswer(queue, *parsed);
    EXPECT_EQ(testing::statusField(m_app, c.field), QLatin1String(c.value));
  }
}

TEST_F(AnswerDispatcherTest, ConfirmationOfCodes46And49UnlessRecordingStart) {
  for (const SessionMode mode : {SessionMode::None, SessionMode::LogStart}) {
    for (const std::uint8_t code : {46, 49, 40, 41}) answer(code, 0, 0, 0, mode);
  }
  const QString set = QString::fromUtf8("QM120-RH: 設定しました。");
  EXPECT_EQ(messages(), QStringList({set, set}));
}

TEST_F(AnswerDispatcherTest, ClockSetConfirmsOnlyAReadBackNearTheTimeSent) {
  const CivilTime last{2024, 12, 31, 23, 59, 58}, lastSecond{2024, 12, 31, 23, 59, 59};
  const char *set = "設定しました\r\r", *failed = "通信エラー\r\r";
  struct Case {
    const char* name;
    std::array<std::uint8_t, 6> readBack;  // month, year, hour, day, second, minute
    const char* verdict;                   // nullptr: no message
    const char* shown;                     // the read-back clock in the message
    const char* clock;  // second of the day serial read back; nullptr: not looked at
    CivilTime sent = {2024, 12, 31, 23, 59, 58};
    SessionMode mode = SessionMode::ClockSet;
  };
  const Case cases[] = {
      // 3944851199: day 45657 of 2024-12-31, 23:59:59; 3327462121: 2005-06-09 07:02:01
      {"matching", {12, 24, 23, 31, 59, 59}, set, "2024/12/31 23:59:59", "3944851199"},
      {"new year", {1, 25, 0, 1, 1, 0}, set, "2025/01/01 00:00:01", nullptr, lastSecond},
      {"an hour off", {12, 24, 23, 31, 3, 0}, failed, "2024/12/31 23:00:03", nullptr},
      {"impossible month", {13, 24, 23, 31, 58, 59}, failed, "--", "none"},
      {"plain read", {6, 5, 7, 9, 1, 2}, nullptr, "", "3327462121", last, SessionMode::None}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_prompts.calls.clear();
    CommandQueue queue;
    CommandRows rows = commands::queueClockWrite(c.sent);
    for (CommandRow r : commands::queueClockRead(c.mode)) rows.push_back(r);
    ASSERT_TRUE(queue.append(rows).ok());
    for (int i = 0; i < 6; ++i) {
      const std::uint8_t d2 = i < 3 ? 0 : c.readBack[2 * (i - 3)];
      const std::uint8_t d3 = i < 3 ? 0 : c.readBack[2 * (i - 3) + 1];
      const frame::Bytes4 d{1, queue.current().b1, d2, d3};
      EXPECT_EQ(m_dispatcher.handleAnswer(queue, Answer{d, frame::encode(d)}),
                AnswerAction::Advance);
      queue.advance();
    }
    EXPECT_EQ(m_app.status.clockBytes, c.readBack);
    const auto& clock = m_app.status.deviceClock;
    if (c.clock) {
      EXPECT_EQ(clock ? QString::number(qRound64(*clock * 86400)) : "none", c.clock);
    }
    const QString shown = c.verdict ? "QM120-RH: " + QString::fromUtf8(c.verdict) + c.shown : "";
    EXPECT_EQ(messages().join(u'|'), shown);
  }
}

}  // namespace
}  // namespace termika
