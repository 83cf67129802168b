#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>

#include "LinkTestSupport.h"
#include "core/link/Commands.h"
#include "core/link/Exchange.h"

namespace termika {
namespace {

using testing::FakePrompts;
using testing::ScriptedLogger;
using Kind = ScriptedLogger::Kind;
using State = Exchange::State;

const QString kTimeOutMessage = QString::fromUtf8("タイムアウト\r\r通信を終了します");
const QString kFaultMessage = QString::fromUtf8("通信エラー\r\r通信を終了します");

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

  AppState app;
  FakePrompts prompts;
  Timings timings = testing::fastTimings();
  PipeTransport port;
  ScriptedLogger logger{port};
  Exchange exchange{app, prompts, timings};
  std::vector<State> states;
};

// What the scripted logger answers to a full status read.
void scriptStatus(ScriptedLogger& logger) {
  logger.setAnswer(42, 'T', '-');
  logger.setAnswer(43, '0', '1');
  logger.setAnswer(30, 0x01, 0);
  logger.setAnswer23(20, 0x24, 0x12);
  logger.setAnswer23(22, 0x31, 0x09);
  logger.setAnswer23(24, 0x30, 0x15);
  logger.setAnswer23(16, 0x00, 0x40);
  logger.setAnswer23(18, 131, 10);
  logger.setAnswer(38, 0x00, 0x40);
  logger.setAnswer(34, 5, 0);
  logger.setAnswer(35, 6, 0);
  logger.setAnswer(36, 7, 0);
  logger.setAnswer(37, 131, 10);
  logger.setAnswer(47, 0x82, 0x34);
  logger.setAnswer(48, 0x01, 0x00);
  logger.setAnswer(50, 1, 0);
  logger.setAnswer(51, 3, 0);
  logger.setAnswer(57, 0, 0);
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
  EXPECT_EQ(s.ReservationDay, 5);
  EXPECT_EQ(s.ReservationHour, 6);
  EXPECT_EQ(s.ReservationMinute, 7);
  EXPECT_EQ(s.UpperAlarm.Enabled, 128);
  EXPECT_EQ(s.UpperAlarm.RawLimit, 564);
  EXPECT_EQ(s.LowerAlarm.Enabled, 0);
  EXPECT_EQ(s.LowerAlarm.RawLimit, 256);
  EXPECT_EQ(s.LoopMode, 1);
  EXPECT_EQ(s.MemoryWrapped, 0);
  EXPECT_EQ(s.BatteryVoltageText, QStringLiteral("2.48"));
  EXPECT_TRUE(s.PendingDownload);
}

const std::vector<int> kStatusCodes = {99, 42, 43, 30, 23, 23, 23, 23, 23, 38,
                                       34, 35, 36, 37, 47, 48, 50, 51, 57};

std::vector<int> codesOf(const ScriptedLogger& logger) {
  std::vector<int> codes;
  for (const auto& c : logger.received) codes.push_back(c[1]);
  return codes;
}

TEST_F(ExchangeTest, StatusReadFillsEveryFieldAndEndsOnce) {
  scriptStatus(logger);
  QSignalSpy ended(&exchange, &Exchange::exchangeEnded);
  ASSERT_TRUE(exchange.start(commands::StatusUpdateRows()));
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(codesOf(logger), kStatusCodes);
  EXPECT_EQ(logger.rawWrites.front().toHex(), QByteArray("0001009900000000ff"));
  EXPECT_EQ(logger.rawWrites[4].toHex(), QByteArray("0001002300200000ff"));
  expectStatusFilled(app);
  EXPECT_EQ(ended.count(), 1);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(port.isOpen());
}

TEST_F(ExchangeTest, AnswersInAnySplitAreTakenLikeWholeOnes) {
  // One turn of the event loop per byte: a roomier time-out keeps a loaded
  // machine from turning slow delivery into resends.
  Exchange roomy(app, prompts, Timings{}.scaled(2));
  exchange.setTransport(nullptr);
  roomy.setTransport(&port);
  for (const int split : {1, 2, 5, 7, 8}) {
    SCOPED_TRACE(split);
    logger.received.clear();
    logger.splitAnswers(split);
    scriptStatus(logger);
    ASSERT_TRUE(roomy.start(commands::StatusUpdateRows()));
    ASSERT_TRUE(testing::waitUntil([&] { return roomy.state() == State::Idle; }));
    EXPECT_EQ(codesOf(logger), kStatusCodes);
    expectStatusFilled(app);
  }
  EXPECT_TRUE(prompts.messages.empty());
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

TEST_F(ExchangeTest, NoAnswerSendsFourFramesThenOneMessageAndStaysUsable) {
  logger.push(Kind::Silent, 4);
  QSignalSpy aborted(&exchange, &Exchange::sessionAborted);
  QSignalSpy closed(&exchange, &Exchange::linkClosed);
  app.RunState = QStringLiteral("renzoku");
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(exchange.start(commands::StatusUpdateRows()));
  ASSERT_TRUE(testing::waitUntil([&] { return !prompts.messages.empty(); }, 3000));
  EXPECT_GE(clock.elapsed(), 4 * timeOutMs());
  EXPECT_EQ(codesOf(logger), (std::vector<int>{99, 99, 99, 99}));
  for (size_t i = 1; i < logger.receivedAtMs.size(); ++i) {
    EXPECT_GE(logger.receivedAtMs[i] - logger.receivedAtMs[i - 1], timeOutMs()) << i;
  }
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].title, QStringLiteral("QM120-RH"));
  EXPECT_EQ(prompts.messages[0].text, kTimeOutMessage);
  EXPECT_FALSE(exchange.isBusy());
  EXPECT_EQ(exchange.state(), State::Idle);
  EXPECT_FALSE(port.isOpen());
  EXPECT_FALSE(app.Connected);
  EXPECT_EQ(app.RunState, QString());
  EXPECT_EQ(aborted.count(), 1);
  EXPECT_EQ(closed.count(), 1);

  testing::settle(2 * timeOutMs());  // nothing left running
  EXPECT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(logger.received.size(), 4u);

  ASSERT_TRUE(port.open().ok());
  scriptStatus(logger);
  ASSERT_TRUE(exchange.start(commands::StatusUpdateRows()));
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(logger.received.size(), 4u + 19u);
  EXPECT_EQ(prompts.messages.size(), 1u);
  expectStatusFilled(app);
}

TEST_F(ExchangeTest, SilenceIsRecoveredByResendsAndEachRowGetsFourAttempts) {
  logger.push(Kind::Silent, 2);
  logger.push(Kind::Answer);
  logger.push(Kind::Silent, 3);
  scriptStatus(logger);
  ASSERT_TRUE(exchange.start(commands::StatusUpdateRows()));
  ASSERT_TRUE(waitIdle());
  std::vector<int> expected = {99, 99, 99, 42, 42, 42, 42};
  expected.insert(expected.end(), kStatusCodes.begin() + 2, kStatusCodes.end());
  EXPECT_EQ(codesOf(logger), expected);
  EXPECT_TRUE(prompts.messages.empty());
  expectStatusFilled(app);
  EXPECT_TRUE(port.isOpen());
}

TEST_F(ExchangeTest, TenRejectionsAreRecovered) {
  logger.push(Kind::Reject, 10);
  scriptStatus(logger);
  ASSERT_TRUE(exchange.start(commands::StatusUpdateRows()));
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(logger.countCode(99), 11);
  EXPECT_EQ(logger.received.size(), 11u + 18u);
  EXPECT_TRUE(prompts.messages.empty());
  expectStatusFilled(app);
}

TEST_F(ExchangeTest, EleventhRejectionEndsTheLinkWithOneMessage) {
  logger.push(Kind::Reject, 11);
  QSignalSpy aborted(&exchange, &Exchange::sessionAborted);
  ASSERT_TRUE(exchange.start(commands::StatusUpdateRows()));
  ASSERT_TRUE(testing::waitUntil([&] { return !prompts.messages.empty(); }, 3000));
  EXPECT_EQ(codesOf(logger), std::vector<int>(11, 99));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, kFaultMessage);
  EXPECT_FALSE(exchange.isBusy());
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(aborted.count(), 1);
  testing::settle(2 * timeOutMs());
  EXPECT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(logger.received.size(), 11u);
}

TEST_F(ExchangeTest, GarbledAndOverlongAnswersAreDroppedAndResent) {
  struct Case {
    const char* name;
    QByteArray reply;
  };
  const std::vector<Case> cases = {
      {"bad nibble", QByteArray::fromHex("0001004200aa0066ff")},
      {"too short", QByteArray::fromHex("00420066ff")},
      {"overlong burst", QByteArray(150, '\x11')},
      {"burst of 0x99", QByteArray(300, '\x99')},
  };
  logger.setAnswer(42, 'O', 'K');
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    logger.received.clear();
    app.Status.LoggerName.clear();
    logger.push({Kind::Raw, 0, c.reply});
    ASSERT_TRUE(exchange.start({commands::row(42)}));
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(codesOf(logger), (std::vector<int>{42, 42}));
    EXPECT_EQ(app.Status.LoggerName, QStringLiteral("OK"));
  }
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ExchangeTest, NoiseBeforeAnAnswerIsIgnored) {
  logger.setAnswer(42, 'O', 'K');
  logger.push({Kind::Answer, 0, QByteArray::fromHex("1234")});
  ASSERT_TRUE(exchange.start({commands::row(42)}));
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(logger.received.size(), 1u);
  EXPECT_EQ(app.Status.LoggerName, QStringLiteral("OK"));
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
  EXPECT_NE(std::find(states.begin(), states.end(), State::Draining), states.end());
}

TEST_F(ExchangeTest, RowsAnsweredAtOnceAreNotDrained) {
  ASSERT_TRUE(exchange.start({commands::row(42), commands::row(43)}));
  ASSERT_TRUE(waitIdle());
  EXPECT_EQ(std::find(states.begin(), states.end(), State::Draining), states.end());
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
  EXPECT_TRUE(prompts.messages.empty());
  ASSERT_EQ(busy.count(), 1);
  EXPECT_TRUE(busy.at(0).at(0).toBool());
  exchange.abort();
  EXPECT_FALSE(exchange.isBusy());
  ASSERT_EQ(busy.count(), 2);
  EXPECT_FALSE(busy.at(1).at(0).toBool());
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ExchangeTest, BusyPointerComesOnForASlowRowAndGoesOffOnce) {
  logger.push(Kind::Silent);
  logger.push({Kind::Answer, timeOutMs() * 4 / 5, {}});
  QSignalSpy busy(&exchange, &Exchange::busyPointer);
  ASSERT_TRUE(exchange.start({commands::row(42), commands::row(43)}));
  ASSERT_TRUE(waitIdle());
  ASSERT_EQ(busy.count(), 2);
  EXPECT_TRUE(busy.at(0).at(0).toBool());
  EXPECT_FALSE(busy.at(1).at(0).toBool());
}

// A fast transfer: after the request the logger streams points, and the
// session decides when the transfer is over.
class StreamHandler final : public SessionHandler {
 public:
  AnswerAction onAnswer(CommandQueue& queue, CommandRow& row, const frame::Bytes4& d) override {
    if (row.b1 != 44) return AnswerAction::Advance;
    points.push_back(d);
    row.param += 4;
    if (row.param < expectedBytes) return AnswerAction::AwaitMore;
    EXPECT_TRUE(queue.append(commands::row(56, 1, 1)).ok());
    return AnswerAction::Advance;
  }
  AnswerAction onGarbledAnswer(CommandRow&) override {
    ++garbled;
    return AnswerAction::Finish;
  }
  std::vector<frame::Bytes4> points;
  int expectedBytes = 20;
  int garbled = 0;
};

QByteArray streamOf(int points, QByteArray tail = {}) {
  QByteArray out;
  for (int i = 0; i < points; ++i) {
    out += frame::encode({static_cast<std::uint8_t>(i), 200, static_cast<std::uint8_t>(10 + i), 0});
  }
  return out + tail;
}

TEST_F(ExchangeTest, StreamedAnswersInAnySplitReachTheSession) {
  Exchange roomy(app, prompts, Timings{}.scaled(2));
  exchange.setTransport(nullptr);
  roomy.setTransport(&port);
  for (const int split : {0, 1, 4, 13}) {
    SCOPED_TRACE(split);
    StreamHandler handler;
    roomy.dispatcher().setSessionHandler(QStringLiteral("download"), &handler);
    logger.received.clear();
    logger.splitAnswers(split);
    logger.custom = [](const frame::Bytes4& c) {
      return c[1] == 44 ? streamOf(5) : frame::encode({1, c[1], 0, 0});
    };
    ASSERT_TRUE(roomy.start({commands::row(44, 0, 20, QStringLiteral("download"))}));
    ASSERT_TRUE(testing::waitUntil([&] { return roomy.state() == State::Idle; }));
    ASSERT_EQ(handler.points.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
      EXPECT_EQ(handler.points[i], (frame::Bytes4{static_cast<std::uint8_t>(i), 200,
                                                  static_cast<std::uint8_t>(10 + i), 0}));
    }
    EXPECT_EQ(codesOf(logger), (std::vector<int>{44, 56}));
    roomy.dispatcher().setSessionHandler(QStringLiteral("download"), nullptr);
  }
  EXPECT_TRUE(prompts.messages.empty());
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
  EXPECT_EQ(codesOf(logger), (std::vector<int>{44}));

  states.clear();
  port.deliver(streamOf(3));  // the logger streams on for a while
  ASSERT_TRUE(exchange.start({commands::row(42)}));
  ASSERT_TRUE(waitIdle());
  ASSERT_GE(states.size(), 2u);
  EXPECT_EQ(states[0], State::Draining);
  EXPECT_EQ(states[1], State::Awaiting);
  EXPECT_EQ(codesOf(logger), (std::vector<int>{44, 42}));
}

TEST_F(ExchangeTest, PortFailureDuringAnExchangeDisconnectsWithOneMessage) {
  logger.push(Kind::Silent);
  app.Status.LoggerName = QStringLiteral("OLD");
  QSignalSpy aborted(&exchange, &Exchange::sessionAborted);
  QSignalSpy closed(&exchange, &Exchange::linkClosed);
  ASSERT_TRUE(exchange.start(commands::StatusUpdateRows()));
  port.fail(QStringLiteral("unplugged"));
  EXPECT_FALSE(exchange.isBusy());
  EXPECT_EQ(exchange.state(), State::Idle);
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, kFaultMessage);
  EXPECT_EQ(aborted.count(), 1);
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(app.Connected);
  EXPECT_EQ(app.Status.LoggerName, QString());
  testing::settle(2 * timeOutMs());
  EXPECT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(logger.received.size(), 1u);
}

TEST_F(ExchangeTest, StoppingTheLinkTimersEndsARunningExchange) {
  logger.push(Kind::Silent);
  QSignalSpy ended(&exchange, &Exchange::exchangeEnded);
  ASSERT_TRUE(exchange.start(commands::StatusUpdateRows()));
  exchange.StopLinkTimers();
  EXPECT_FALSE(exchange.isBusy());
  EXPECT_EQ(exchange.state(), State::Idle);
  EXPECT_EQ(ended.count(), 1);
  testing::settle(2 * timeOutMs());
  EXPECT_EQ(logger.received.size(), 1u);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(exchange.start({commands::row(42)}));
  EXPECT_TRUE(waitIdle());
}

TEST_F(ExchangeTest, PortFailureWhileIdleDisconnectsQuietly) {
  QSignalSpy closed(&exchange, &Exchange::linkClosed);
  QSignalSpy aborted(&exchange, &Exchange::sessionAborted);
  app.RunState = QStringLiteral("renzoku");
  app.Status.FirmwareVersion = QStringLiteral("1.05");
  port.fail(QStringLiteral("unplugged"));
  EXPECT_EQ(closed.count(), 1);
  EXPECT_EQ(aborted.count(), 1);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_FALSE(app.Connected);
  EXPECT_EQ(app.RunState, QString());
  EXPECT_EQ(app.Status.FirmwareVersion, QString());
}

TEST_F(ExchangeTest, FailedWriteEndsTheExchange) {
  port.setWriteError(true);
  exchange.start({commands::row(42)});
  EXPECT_FALSE(exchange.isBusy());
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0].text, kFaultMessage);
  EXPECT_TRUE(logger.received.empty());
}

TEST_F(ExchangeTest, ClosedPortEndsByTheTimeOutPath) {
  port.close();
  ASSERT_TRUE(exchange.start({commands::row(42)}));
  ASSERT_TRUE(testing::waitUntil([&] { return !prompts.messages.empty(); }, 3000));
  EXPECT_TRUE(logger.received.empty());
  EXPECT_EQ(prompts.messages[0].text, kTimeOutMessage);
  EXPECT_FALSE(exchange.isBusy());
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
  struct Reentrant final : UserPrompts {
    PipeTransport* port = nullptr;
    int shown = 0;
    void info(const QString&, const QString&) override {
      ++shown;
      port->deliver(frame::encode({1, 43, 'X', 'Y'}));
      QCoreApplication::processEvents();
    }
    bool ask(const QString&, const QString&) override { return false; }
    std::optional<QString> chooseSaveFile(const QString&, const QString&) override { return {}; }
    std::optional<QString> chooseOpenFile(const QString&) override { return {}; }
  } reentrant;
  reentrant.port = &port;
  Exchange local(app, reentrant, timings);
  exchange.setTransport(nullptr);
  local.setTransport(&port);
  logger.setAnswer(43, 'C', 'D');
  ASSERT_TRUE(local.start({commands::row(49), commands::row(43)}));
  ASSERT_TRUE(testing::waitUntil([&] { return !local.isBusy(); }, 3000));
  EXPECT_EQ(reentrant.shown, 1);
  EXPECT_EQ(codesOf(logger), (std::vector<int>{49, 43}));
  EXPECT_EQ(app.Status.LoggerName, QStringLiteral("CD"));  // 43 appends to the name
}

}  // namespace
}  // namespace termika
