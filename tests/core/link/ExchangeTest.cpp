#include <gtest/gtest.h>

#include <QSignalSpy>

#include "LinkTestSupport.h"
#include "core/link/Commands.h"
#include "core/link/Exchange.h"

namespace termika {
namespace {

using testing::ScriptedLogger;
using testing::ScriptedPrompts;
using Kind = ScriptedLogger::Kind;
using State = Exchange::State;

const QString kTimeOutMessage = QString::fromUtf8("タイムアウト\r\r通信を終了します");
const QString kFaultMessage = QString::fromUtf8("通信エラー\r\r通信を終了します");
const std::vector<int> kStatusCodes = {99, 42, 43, 30, 23, 23, 23, 23, 23, 38,
                                       34, 35, 36, 37, 47, 48, 50, 51, 57};

// What the scripted logger answers to a full status read.
void scriptStatus(ScriptedLogger& logger) {
  const std::vector<std::array<std::uint8_t, 3>> plain = {
      {42, 'T', '-'}, {43, '0', '1'}, {30, 1, 0},    {38, 0, 0x40},    {34, 5, 0},
      {35, 6, 0},     {36, 7, 0},     {37, 131, 10}, {47, 0x82, 0x34}, {48, 1, 0},
      {50, 1, 0},     {51, 3, 0},     {57, 0, 0}};
  for (const auto& a : plain) logger.setAnswer(a[0], a[1], a[2]);
  const std::vector<std::array<std::uint8_t, 3>> sub23 = {
      {20, 0x24, 0x12}, {22, 0x31, 0x09}, {24, 0x30, 0x15}, {16, 0, 0x40}, {18, 131, 10}};
  for (const auto& a : sub23) logger.setAnswer23(a[0], a[1], a[2]);
}

void expectStatusFilled(const AppState& app) {
  const LoggerStatus& s = app.Status;
  EXPECT_EQ(s.FirmwareVersion, QStringLiteral("1.05"));
  EXPECT_EQ(s.LoggerName, QStringLiteral("T-01"));
  EXPECT_EQ(app.RunState, QStringLiteral("kirokucyu"));
  ASSERT_TRUE(s.RecordingStart.has_value());
  EXPECT_NEAR(*s.RecordingStart, 45657.0 + (9 * 3600 + 30 * 60 + 15) / 86400.0, 1e-9);
  EXPECT_EQ(s.UsedMemory, 64);
  EXPECT_EQ(s.recordedPoints(), 16);
  EXPECT_EQ(s.RecordedInterval, 600);
  EXPECT_EQ(s.IntervalSetting, 600);
  EXPECT_EQ(std::make_tuple(s.ReservationDay, s.ReservationHour, s.ReservationMinute),
            std::make_tuple(5, 6, 7));
  EXPECT_EQ(s.UpperAlarm.Enabled, 128);
  EXPECT_EQ(s.UpperAlarm.RawLimit, 564);
  EXPECT_EQ(s.LowerAlarm.Enabled, 0);
  EXPECT_EQ(s.LowerAlarm.RawLimit, 256);
  EXPECT_EQ(s.LoopMode, 1);
  EXPECT_EQ(s.MemoryWrapped, 0);
  EXPECT_EQ(s.BatteryVoltageText, QStringLiteral("2.48"));
  EXPECT_TRUE(s.PendingDownload);
}

std::vector<int> codesOf(const ScriptedLogger& logger) {
  std::vector<int> codes;
  for (const auto& c : logger.received) codes.push_back(c[1]);
  return codes;
}

std::vector<int> join(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class ExchangeTest : public ::testing::Test {
 protected:
  ExchangeTest() {
    EXPECT_TRUE(port.open().ok());
    exchange.setTransport(&port);
    app.ModelName = QStringLiteral("QM120-RH");
    app.Connected = true;
    QObject::connect(&exchange, &Exchange::stateChanged, [this](State s) { states.push_back(s); });
  }

  bool waitIdle(int ms = 3000) {
    return testing::waitUntil([&] { return !exchange.isBusy() && exchange.state() == State::Idle; },
                              ms);
  }
  int timeOutMs() const { return static_cast<int>(timings.timeOut.count()); }
  // A fresh start after a case: port open, nothing heard, nothing shown.
  void reset() {
    if (!port.isOpen()) {
      EXPECT_TRUE(port.open().ok());
    }
    app.Connected = true;
    prompts.calls.clear();
    logger.received.clear();
    logger.receivedAtMs.clear();
    states.clear();
  }
  bool hasDrained() const { return std::count(states.begin(), states.end(), State::Draining) > 0; }

  AppState app;
  ScriptedPrompts prompts;
  Timings timings = testing::fastTimings();
  PipeTransport port;
  ScriptedLogger logger{port};
  Exchange exchange{app, prompts, timings};
  std::vector<State> states;
};

TEST_F(ExchangeTest, StatusReadInAnySplitFillsEveryFieldAndEndsOnce) {
  // One turn of the event loop per byte: a roomier time-out keeps a loaded
  // machine from turning slow delivery into resends.
  Exchange roomy(app, prompts, Timings{}.scaled(2));
  exchange.setTransport(nullptr);
  roomy.setTransport(&port);
  QObject::connect(&roomy, &Exchange::stateChanged, [this](State s) { states.push_back(s); });
  QSignalSpy ended(&roomy, &Exchange::exchangeEnded);
  for (const int split : {0, 1, 2, 5, 7, 8}) {
    SCOPED_TRACE(split);
    reset();
    logger.rawWrites.clear();
    logger.splitAnswers(split);
    scriptStatus(logger);
    ASSERT_TRUE(roomy.start(commands::StatusUpdateRows()));
    ASSERT_TRUE(testing::waitUntil([&] { return roomy.state() == State::Idle; }));
    EXPECT_EQ(codesOf(logger), kStatusCodes);
    EXPECT_EQ(logger.rawWrites.front().toHex(), QByteArray("0001009900000000ff"));
    EXPECT_EQ(logger.rawWrites[4].toHex(), QByteArray("0001002300200000ff"));
    expectStatusFilled(app);
    EXPECT_FALSE(hasDrained());  // rows answered at once need no draining
  }
  EXPECT_EQ(ended.count(), 6);
  EXPECT_TRUE(prompts.calls.empty());
  EXPECT_TRUE(port.isOpen());
}

TEST_F(ExchangeTest, SendersAreRefusedWhileAnExchangeRuns) {
  ASSERT_TRUE(exchange.start(commands::StatusUpdateRows()));
  EXPECT_FALSE(exchange.start(commands::StopRows()));
  EXPECT_FALSE(exchange.start(commands::Command9Rows()));
  EXPECT_FALSE(exchange.sendRaw(commands::InitAllBytes()));
  EXPECT_EQ(exchange.queue().count(), 19);
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(codesOf(logger), kStatusCodes);
  EXPECT_FALSE(exchange.start({}));
  EXPECT_FALSE(exchange.start(CommandRows(102, commands::row(87, 14, 0))));
  EXPECT_FALSE(exchange.isBusy());
}

TEST_F(ExchangeTest, ResendsOnSilenceAndRejectionUntilTheLimits) {
  struct Case {
    const char* name;
    std::vector<std::pair<Kind, int>> script;
    std::vector<int> codes;
    QString message;  // empty: recovered
  };
  const std::vector<int> rest(kStatusCodes.begin() + 1, kStatusCodes.end());
  const Case cases[] = {
      {"silent 2, then 3 on the next row",
       {{Kind::Silent, 2}, {Kind::Answer, 1}, {Kind::Silent, 3}},
       join({99, 99, 99, 42, 42, 42}, rest),
       {}},
      {"silent 4", {{Kind::Silent, 4}}, {99, 99, 99, 99}, kTimeOutMessage},
      {"rejected 10", {{Kind::Reject, 10}}, join(std::vector<int>(10, 99), kStatusCodes), {}},
      {"rejected 11", {{Kind::Reject, 11}}, std::vector<int>(11, 99), kFaultMessage},
  };
  QSignalSpy aborted(&exchange, &Exchange::sessionAborted);
  QSignalSpy closed(&exchange, &Exchange::linkClosed);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset();
    aborted.clear();
    closed.clear();
    app.RunState = QStringLiteral("renzoku");
    for (const auto& [kind, times] : c.script) logger.push(kind, times);
    scriptStatus(logger);
    ASSERT_TRUE(exchange.start(commands::StatusUpdateRows()));
    ASSERT_TRUE(testing::waitUntil([&] { return !exchange.isBusy(); }, 3000));
    EXPECT_EQ(codesOf(logger), c.codes);
    EXPECT_EQ(exchange.state(), State::Idle);
    if (c.message.isEmpty()) {
      EXPECT_TRUE(prompts.calls.empty());
      EXPECT_TRUE(port.isOpen());
      expectStatusFilled(app);
      continue;
    }
    ASSERT_EQ(prompts.calls.size(), 1u);
    EXPECT_EQ(prompts.calls[0].title, QStringLiteral("QM120-RH"));
    EXPECT_EQ(prompts.calls[0].message, c.message);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(app.Connected);
    EXPECT_EQ(app.RunState, QString());
    EXPECT_EQ(aborted.count(), 1);
    EXPECT_EQ(closed.count(), 1);
    if (c.script[0].first == Kind::Silent) {
      for (size_t i = 1; i < logger.receivedAtMs.size(); ++i) {
        EXPECT_GE(logger.receivedAtMs[i] - logger.receivedAtMs[i - 1], timeOutMs()) << i;
      }
    }
    testing::settle(2 * timeOutMs());  // nothing left running
    EXPECT_EQ(prompts.calls.size(), 1u);
    EXPECT_EQ(logger.received.size(), c.codes.size());
  }
}

TEST_F(ExchangeTest, GarbledOverlongOrNoisyAnswersNeverAdvanceTheQueue) {
  struct Case {
    const char* name;
    Kind kind;
    QByteArray bytes;
    std::vector<int> codes;
  };
  const Case cases[] = {
      {"bad nibble", Kind::Raw, QByteArray::fromHex("0001004200aa0066ff"), {42, 42}},
      {"too short", Kind::Raw, QByteArray::fromHex("00420066ff"), {42, 42}},
      {"overlong burst", Kind::Raw, QByteArray(150, '\x11'), {42, 42}},
      {"burst of 0x99", Kind::Raw, QByteArray(300, '\x99'), {42, 42}},
      {"noise before the answer", Kind::Answer, QByteArray::fromHex("1234"), {42}},
  };
  logger.setAnswer(42, 'O', 'K');
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset();
    app.Status.LoggerName.clear();
    logger.push({c.kind, 0, c.bytes});
    ASSERT_TRUE(exchange.start({commands::row(42)}));
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(codesOf(logger), c.codes);
    EXPECT_EQ(app.Status.LoggerName, QStringLiteral("OK"));
  }
  EXPECT_TRUE(prompts.calls.empty());
}

TEST_F(ExchangeTest, LateAnswerAfterAResendIsNotTakenForTheNextRow) {
  logger.setAnswer(42, 'A', 'B');
  logger.setAnswer(43, 'C', 'D');
  // The first answer comes after the resend went out, the resend's own answer after that.
  logger.push({Kind::Answer, timeOutMs() * 3 / 2, {}});
  logger.push({Kind::Answer, timeOutMs() * 3 / 5, {}});
  ASSERT_TRUE(exchange.start({commands::row(42), commands::row(43)}));
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(codesOf(logger), (std::vector<int>{42, 42, 43}));
  EXPECT_EQ(app.Status.LoggerName, QStringLiteral("ABCD"));
  EXPECT_TRUE(hasDrained());
}

TEST_F(ExchangeTest, StreamRequestIsNeverResentOnSilenceButOnRejection) {
  logger.push(Kind::Reject);
  logger.push(Kind::Silent);
  QSignalSpy busy(&exchange, &Exchange::busyPointer);
  ASSERT_TRUE(exchange.start({commands::row(44, 0, 8, QStringLiteral("download"))}));
  ASSERT_TRUE(testing::waitUntil([&] { return busy.count() > 0; }));
  testing::settle(2 * timeOutMs());
  EXPECT_EQ(codesOf(logger), (std::vector<int>{44, 44}));
  EXPECT_TRUE(exchange.isBusy());
  ASSERT_EQ(busy.count(), 1);
  EXPECT_TRUE(busy.at(0).at(0).toBool());
  exchange.abort();
  EXPECT_FALSE(exchange.isBusy());
  ASSERT_EQ(busy.count(), 2);  // the busy pointer goes off exactly once
  EXPECT_FALSE(busy.at(1).at(0).toBool());
  EXPECT_TRUE(prompts.calls.empty());
}

// A fast transfer: after the request the logger streams points, and the
// session decides when the transfer is over.
class StreamHandler final : public SessionHandler {
 public:
  AnswerAction onAnswer(CommandQueue& queue, CommandRow& row, const frame::Bytes4& d) override {
    if (row.b1 != 44) return AnswerAction::Advance;
    points.push_back(d);
    row.param += 4;
    if (row.param < 20) return AnswerAction::AwaitMore;
    EXPECT_TRUE(queue.append(commands::row(56, 1, 1)).ok());
    return AnswerAction::Advance;
  }
  AnswerAction onGarbledAnswer(CommandRow&) override {
    ++garbled;
    return AnswerAction::Finish;
  }
  std::vector<frame::Bytes4> points;
  int garbled = 0;
};

frame::Bytes4 point(int i) {
  return {static_cast<std::uint8_t>(i), 200, static_cast<std::uint8_t>(10 + i), 0};
}

QByteArray streamOf(int points, QByteArray tail = {}) {
  QByteArray out;
  for (int i = 0; i < points; ++i) out += frame::encode(point(i));
  return out + tail;
}

TEST_F(ExchangeTest, StreamedAnswersInAnySplitReachTheSession) {
  Exchange roomy(app, prompts, Timings{}.scaled(2));
  exchange.setTransport(nullptr);
  roomy.setTransport(&port);
  logger.custom = [](const frame::Bytes4& c) {
    return c[1] == 44 ? streamOf(5) : frame::encode({1, c[1], 0, 0});
  };
  for (const int split : {0, 1, 4, 13}) {
    SCOPED_TRACE(split);
    StreamHandler handler;
    roomy.dispatcher().setSessionHandler(QStringLiteral("download"), &handler);
    logger.received.clear();
    logger.splitAnswers(split);
    ASSERT_TRUE(roomy.start({commands::row(44, 0, 20, QStringLiteral("download"))}));
    ASSERT_TRUE(testing::waitUntil([&] { return roomy.state() == State::Idle; }));
    ASSERT_EQ(handler.points.size(), 5u);
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(handler.points[i], point(static_cast<int>(i)));
    EXPECT_EQ(codesOf(logger), (std::vector<int>{44, 56}));
    roomy.dispatcher().setSessionHandler(QStringLiteral("download"), nullptr);
  }
  EXPECT_TRUE(prompts.calls.empty());
}

TEST_F(ExchangeTest, GarbledStreamEndsTheSessionAndTheNextExchangeDrainsFirst) {
  StreamHandler handler;
  exchange.dispatcher().setSessionHandler(QStringLiteral("download"), &handler);
  logger.custom = [](const frame::Bytes4& c) {
    return c[1] == 44 ? streamOf(2, QByteArray::fromHex("0001aa00ff"))
                      : frame::encode({1, c[1], 0, 0});
  };
  ASSERT_TRUE(exchange.start({commands::row(44, 0, 20, QStringLiteral("download"))}));
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(handler.points.size(), 2u);
  EXPECT_EQ(handler.garbled, 1);

  states.clear();
  port.deliver(streamOf(3));  // the logger streams on for a while
  ASSERT_TRUE(exchange.start({commands::row(42)}));
  ASSERT_TRUE(waitIdle());
  ASSERT_GE(states.size(), 2u);
  EXPECT_EQ(states[0], State::Draining);
  EXPECT_EQ(states[1], State::Awaiting);
  EXPECT_EQ(codesOf(logger), (std::vector<int>{44, 42}));
}

TEST_F(ExchangeTest, LostPortOrStoppedTimersEndTheExchangeOnce) {
  struct Case {
    const char* name;
    bool running;  // an exchange is under way when it happens
    std::function<void()> happen;
    QString message;  // empty: none
    bool disconnects;
  };
  const Case cases[] = {
      {"unplugged mid-exchange", true, [&] { port.fail(QStringLiteral("unplugged")); },
       kFaultMessage, true},
      {"unplugged while idle", false, [&] { port.fail(QStringLiteral("unplugged")); }, {}, true},
      {"timers stopped", true, [&] { exchange.StopLinkTimers(); }, {}, false},
      {"write fails", false,
       [&] {
         port.setWriteError(true);
         exchange.start({commands::row(42)});
         port.setWriteError(false);
       },
       kFaultMessage, true},
      {"port closed", false,
       [&] {
         port.close();
         ASSERT_TRUE(exchange.start({commands::row(42)}));
         ASSERT_TRUE(testing::waitUntil([&] { return !exchange.isBusy(); }));
       },
       kTimeOutMessage, true},
  };
  QSignalSpy aborted(&exchange, &Exchange::sessionAborted);
  QSignalSpy closed(&exchange, &Exchange::linkClosed);
  QSignalSpy ended(&exchange, &Exchange::exchangeEnded);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reset();
    aborted.clear();
    closed.clear();
    ended.clear();
    app.RunState = QStringLiteral("renzoku");
    app.Status.LoggerName = QStringLiteral("OLD");
    app.Status.FirmwareVersion = QStringLiteral("1.05");
    if (c.running) {
      logger.push(Kind::Silent);
      ASSERT_TRUE(exchange.start(commands::StatusUpdateRows()));
    }
    const size_t sent = logger.received.size();
    c.happen();
    EXPECT_FALSE(exchange.isBusy());
    EXPECT_EQ(exchange.state(), State::Idle);
    ASSERT_EQ(prompts.calls.size(), c.message.isEmpty() ? 0u : 1u);
    if (!c.message.isEmpty()) {
      EXPECT_EQ(prompts.calls[0].message, c.message);
    }
    EXPECT_EQ(app.Connected, !c.disconnects);
    EXPECT_EQ(aborted.count(), c.disconnects ? 1 : 0);
    EXPECT_EQ(closed.count(), c.disconnects ? 1 : 0);
    if (c.disconnects) {  // a lost logger leaves no status and no session behind
      EXPECT_EQ(app.RunState, QString());
      EXPECT_EQ(app.Status.LoggerName, QString());
      EXPECT_EQ(app.Status.FirmwareVersion, QString());
    }
    if (c.running) {
      EXPECT_EQ(ended.count(), 1);
    }
    testing::settle(2 * timeOutMs());
    EXPECT_EQ(prompts.calls.size(), c.message.isEmpty() ? 0u : 1u);
    EXPECT_EQ(logger.received.size(), sent);
  }
  reset();  // and the link is usable again
  EXPECT_TRUE(exchange.start({commands::row(42)}));
  EXPECT_TRUE(waitIdle());
}

TEST_F(ExchangeTest, RawInitAllThenDrainsBeforeTheNextExchange) {
  ASSERT_TRUE(exchange.sendRaw(commands::InitAllBytes()));
  ASSERT_EQ(logger.rawWrites.size(), 1u);
  EXPECT_EQ(logger.rawWrites[0], QByteArray("INITALL\xFF", 8));
  EXPECT_EQ(exchange.state(), State::Draining);
  port.deliver(QByteArray("OK\xFF", 3));  // whatever the logger says to it is dropped
  logger.setAnswer(42, 'O', 'K');
  ASSERT_TRUE(exchange.start({commands::row(42)}));
  EXPECT_TRUE(logger.received.empty());  // not before the line is quiet
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(codesOf(logger), (std::vector<int>{42}));
  EXPECT_EQ(app.Status.LoggerName, QStringLiteral("OK"));
}

TEST_F(ExchangeTest, ConfirmationMessageDoesNotLetStrayBytesIn) {
  // A message box shown by a handler runs a nested loop in the window; a
  // read arriving meanwhile must wait until the handler returns.
  ScriptedPrompts reentrant;
  reentrant.onInfo = [this] {
    port.deliver(frame::encode({1, 43, 'X', 'Y'}));
    QCoreApplication::processEvents();
  };
  Exchange local(app, reentrant, timings);
  exchange.setTransport(nullptr);
  local.setTransport(&port);
  logger.setAnswer(43, 'C', 'D');
  ASSERT_TRUE(local.start({commands::row(49), commands::row(43)}));
  ASSERT_TRUE(testing::waitUntil([&] { return !local.isBusy(); }, 3000));
  EXPECT_EQ(reentrant.calls.size(), 1u);
  EXPECT_EQ(codesOf(logger), (std::vector<int>{49, 43}));
  EXPECT_EQ(app.Status.LoggerName, QStringLiteral("CD"));  // 43 appends to the name
}

}  // namespace
}  // namespace termika
