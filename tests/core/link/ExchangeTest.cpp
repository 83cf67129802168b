#include <gtest/gtest.h>

#include <QSignalSpy>

#include "LinkTestSupport.h"
#include "core/link/AnswerDispatcher.h"
#include "core/link/Commands.h"
#include "core/link/Exchange.h"

namespace termika {
namespace {

using testing::ScriptedLogger;
using testing::ScriptedPrompts;
using testing::waitUntil;
using Kind = ScriptedLogger::Kind;
using State = Exchange::State;
using Codes = std::vector<int>;

const Codes kStatusCodes = {99, 42, 43, 30, 23, 23, 23, 23, 23, 38,
                            34, 35, 36, 37, 47, 48, 50, 51, 57};

class ExchangeTest : public ::testing::Test {
 protected:
  ExchangeTest() {
    m_app.modelName = QStringLiteral("QM120-RH");
    make(m_timings, m_prompts);
    reset();
  }

  // A new exchange on the port; the old one lets go of it.
  void make(const Timings& t, UserPrompts& p) {
    m_ex = std::make_unique<Exchange>(m_app, p, t);
    m_ex->setTransport(&m_port);
    QObject::connect(m_ex.get(), &Exchange::stateChanged,
                     [this](State s) { m_states.push_back(s); });
  }
  bool run(const CommandRows& rows) {
    return m_ex->start(rows) &&
           waitUntil([&] { return !m_ex->isBusy() && m_ex->state() == State::Idle; }, 3000);
  }
  int timeOutMs() const { return static_cast<int>(m_timings.timeOut.count()); }
  // A fresh start after a case: port open, nothing heard, nothing shown.
  void reset() {
    EXPECT_TRUE(m_port.isOpen() || m_port.open().ok());
    m_app.connected = true;
    m_prompts.calls.clear();
    m_logger.codes.clear();
    m_logger.receivedAtMs.clear();
    m_logger.rawWrites.clear();
    m_states.clear();
  }

  AppState m_app;
  ScriptedPrompts m_prompts;
  // Fast enough for the suite; an immediate answer still beats the time-out on a loaded machine.
  Timings m_timings = Timings{}.scaled(5);
  PipeTransport m_port;
  ScriptedLogger m_logger{m_port};
  std::unique_ptr<Exchange> m_ex;
  std::vector<State> m_states;
};

TEST_F(ExchangeTest, StatusReadInAnySplitFillsEveryFieldAndEndsOnce) {
  // One turn of the event loop per byte: a roomier time-out keeps a loaded
  // machine from turning slow delivery into resends.
  make(Timings{}.scaled(2), m_prompts);
  QSignalSpy ended(m_ex.get(), &Exchange::exchangeEnded);
  // What the logger answers to a full status read: values spread over several rows, so an
  // answer taken for its neighbour's shows.
  const std::array<int, 4> answers[] = {
      {42, 'T', '-', -1},   {43, '0', '1', -1},   {34, 5, 0, -1},
      {35, 6, 0, -1},       {36, 7, 0, -1},       {37, 131, 10, -1},
      {23, 0x24, 0x12, 20}, {23, 0x31, 0x09, 22}, {23, 0x30, 0x15, 24}};
  for (const auto& a : answers) {
    m_logger.setAnswer(std::uint8_t(a[0]), std::uint8_t(a[1]), std::uint8_t(a[2]), a[3]);
  }
  for (const int split : {0, 1, 2, 5, 7, 8}) {
    SCOPED_TRACE(split);
    reset();
    m_logger.splitAnswers(split);
    ASSERT_TRUE(run(commands::statusUpdateRows()));
    EXPECT_EQ(m_logger.codes, kStatusCodes);
    QStringList got;
    for (const char* field : {"firmware", "name", "start", "interval", "reservation"}) {
      got << testing::statusField(m_app, field);
    }
    // 2024-12-31 (day 45657) 09:30:15 is second 45657 * 86400 + 34215.
    EXPECT_EQ(got.join(u' '), QStringLiteral("1.05 T-01 3944799015 600 5/6/7"));
    // Rows answered at once need no draining.
    EXPECT_EQ(std::count(m_states.begin(), m_states.end(), State::Draining), 0);
  }
  EXPECT_EQ(ended.count(), 6);
  EXPECT_TRUE(m_prompts.calls.empty());
  EXPECT_TRUE(m_port.isOpen());
}

TEST_F(ExchangeTest, SendersAreRefusedWhileAnExchangeRuns) {
  ASSERT_TRUE(m_ex->start(commands::statusUpdateRows()));
  EXPECT_FALSE(m_ex->start(commands::stopRows()) || m_ex->sendRaw(commands::initAllBytes()));
  EXPECT_EQ(m_ex->queue().count(), 19);
  ASSERT_TRUE(waitUntil([&] { return !m_ex->isBusy(); }, 3000));
  EXPECT_EQ(m_logger.codes, kStatusCodes);
  // Nothing to send, or more than the queue holds.
  EXPECT_FALSE(m_ex->start({}) || m_ex->start(CommandRows(102, commands::row(Opcode{87}, 14, 0))));
  EXPECT_FALSE(m_ex->isBusy());
}

// Each case ends in recovery, or in one report with the port closed and
// nothing left running. Rejections, noise, an overlong burst and a port lost
// mid-exchange are the fault suite's rows, over a real pseudo-terminal.
TEST_F(ExchangeTest, ResendsRecoverUpToTheLimitsAndALostLinkEndsOnce) {
  using Step = ScriptedLogger::Step;
  using Failure = std::optional<LinkFailure>;
  struct Case {
    const char* name;
    Codes codes;
    bool disconnects;
    Failure failure = {};  // what the user is told; none: nothing
    std::vector<std::pair<Step, int>> script = {};
    std::function<void()> act = nullptr;  // nullptr: start rows 42 and 43
  };
  const auto start = [&] {
    ASSERT_TRUE(m_ex->start({commands::row(Opcode{42}), commands::row(Opcode{43})}));
  };
  const auto raw = [](const QByteArray& bytes) { return Step{Kind::Raw, 0, bytes}; };
  const auto hex = [&](const char* text) { return raw(QByteArray::fromHex(text)); };
  const auto failingWrite = [&] {
    m_port.setWriteError(true);
    start();
    m_port.setWriteError(false);
  };
  const Step silent{Kind::Silent}, answer{};
  // The first answer comes after the resend went out, the resend's own
  // answer after that: neither may be taken for the answer to 43.
  const Step late{Kind::Answer, timeOutMs() * 3 / 2}, early{Kind::Answer, timeOutMs() * 3 / 5};
  const Failure timeOut = LinkFailure::NoAnswer, lost = LinkFailure::PortLost;
  const Case cases[] = {
      {"silent 2, 3",
       {42, 42, 42, 43, 43, 43, 43},
       false,
       {},
       {{silent, 2}, {answer, 1}, {silent, 3}}},
      {"silent 4", {42, 42, 42, 42}, true, timeOut, {{silent, 4}}},
      {"bad nibble", {42, 42, 43}, false, {}, {{hex("0001004200aa0066ff"), 1}}},
      {"too short", {42, 42, 43}, false, {}, {{hex("00420066ff"), 1}}},
      {"burst of 0x99", {42, 42, 43}, false, {}, {{raw(QByteArray(300, '\x99')), 1}}},
      {"late answer", {42, 42, 43}, false, {}, {{late, 1}, {early, 1}}},
      {"unplugged while idle", {}, true, {}, {}, [&] { m_port.fail(QStringLiteral("gone")); }},
      {"timers stopped", {42}, false, {}, {{silent, 1}}, [&] { start(), m_ex->stopLink(); }},
      {"write fails", {}, true, lost, {}, failingWrite},
      {"port closed", {}, true, timeOut, {}, [&] { m_port.close(), start(); }}};
  m_logger.setAnswer(42, 'A', 'B');
  m_logger.setAnswer(43, 'C', 'D');
  std::vector<std::pair<const char*, LinkFailure>> reports;
  QObject::connect(m_ex.get(), &Exchange::linkLost,
                   [&](LinkFailure f) { reports.emplace_back("lost", f); });
  QObject::connect(m_ex.get(), &Exchange::sessionAborted,
                   [&] { reports.emplace_back("aborted", LinkFailure{}); });
  QObject::connect(m_ex.get(), &Exchange::failed,
                   [&](LinkFailure f) { reports.emplace_back("failed", f); });
  QSignalSpy closed(m_ex.get(), &Exchange::linkClosed);
  QSignalSpy ended(m_ex.get(), &Exchange::exchangeEnded);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset();
    reports.clear();
    for (QSignalSpy* spy : {&closed, &ended}) spy->clear();
    for (const auto& [step, times] : c.script) m_logger.push(step, times);
    c.act ? c.act() : start();
    ASSERT_TRUE(waitUntil([&] { return !m_ex->isBusy(); }, 3000));
    EXPECT_EQ(m_ex->state(), State::Idle);
    EXPECT_EQ(m_logger.codes, c.codes);
    // A lost logger is reported first as lost, last as the failure to tell.
    std::vector<std::pair<const char*, LinkFailure>> expected;
    if (c.disconnects) {
      expected = {{"lost", c.failure.value_or(LinkFailure::PortLost)}, {"aborted", LinkFailure{}}};
      if (c.failure) expected.emplace_back("failed", *c.failure);
    }
    EXPECT_EQ(reports, expected);
    EXPECT_EQ(m_port.isOpen(), !c.disconnects);
    EXPECT_EQ(closed.count(), c.disconnects ? 1 : 0);
    EXPECT_EQ(ended.count(), c.codes.empty() && !c.failure ? 0 : 1);  // if one started
    const bool timedOut = c.failure && !c.script.empty() && c.script[0].first.kind == Kind::Silent;
    for (size_t i = 1; timedOut && i < c.codes.size(); ++i) {
      EXPECT_GE(m_logger.receivedAtMs[i] - m_logger.receivedAtMs[i - 1], timeOutMs()) << i;
    }
    if (!c.disconnects) continue;
    testing::runFor(2 * timeOutMs());  // nothing left running
    EXPECT_EQ(reports.size(), expected.size());
    EXPECT_EQ(m_logger.codes.size(), c.codes.size());
  }
  reset();  // and the link is usable again
  EXPECT_TRUE(run({commands::row(Opcode{42})}));
}

TEST_F(ExchangeTest, StreamRequestIsNeverResentOnSilenceButOnRejection) {
  m_logger.push({Kind::Reject});
  m_logger.push({Kind::Silent});
  QSignalSpy busy(m_ex.get(), &Exchange::busyPointer);
  ASSERT_TRUE(m_ex->start({commands::row(Opcode{44}, 0, 8, SessionMode::Download)}));
  ASSERT_TRUE(waitUntil([&] { return busy.count() > 0; }));
  testing::runFor(2 * timeOutMs());
  EXPECT_EQ(m_logger.codes, (Codes{44, 44}));
  EXPECT_TRUE(m_ex->isBusy());
  m_ex->abort();
  EXPECT_FALSE(m_ex->isBusy());
  // The busy pointer went on once and goes off exactly once.
  EXPECT_EQ(static_cast<QList<QVariantList>>(busy), (QList<QVariantList>{{true}, {false}}));
  EXPECT_TRUE(m_prompts.calls.empty());
}

TEST_F(ExchangeTest, RawInitAllThenDrainsBeforeTheNextExchange) {
  ASSERT_TRUE(m_ex->sendRaw(commands::initAllBytes()));
  EXPECT_EQ(m_logger.rawWrites, std::vector<QByteArray>{QByteArray("INITALL\xFF", 8)});
  EXPECT_EQ(m_ex->state(), State::Draining);
  m_port.deliver(QByteArray("OK\xFF", 3));  // whatever the logger says to it is dropped
  m_logger.setAnswer(42, 'O', 'K');
  ASSERT_TRUE(m_ex->start({commands::row(Opcode{42})}));
  EXPECT_TRUE(m_logger.codes.empty());  // not before the line is quiet
  ASSERT_TRUE(waitUntil([&] { return m_ex->state() == State::Idle && !m_ex->isBusy(); }, 3000));
  EXPECT_EQ(m_logger.codes, (Codes{42}));
  EXPECT_EQ(m_app.status.loggerName, QStringLiteral("OK"));
}

TEST_F(ExchangeTest, ConfirmationMessageDoesNotLetStrayBytesIn) {
  // A message box shown by a handler runs a nested loop in the window; a
  // read arriving meanwhile must wait until the handler returns.
  ScriptedPrompts reentrant;
  reentrant.onInfo = [this] {
    m_port.deliver(frame::encode({1, 43, 'X', 'Y'}));
    QCoreApplication::processEvents();
  };
  make(m_timings, reentrant);
  m_logger.setAnswer(43, 'C', 'D');
  ASSERT_TRUE(run({commands::row(Opcode{49}), commands::row(Opcode{43})}));
  EXPECT_EQ(reentrant.calls.size(), 1u);
  EXPECT_EQ(m_logger.codes, (Codes{49, 43}));
  EXPECT_EQ(m_app.status.loggerName, QStringLiteral("CD"));  // 43 appends to the name
}

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
