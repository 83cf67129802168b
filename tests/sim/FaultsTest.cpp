#include <gtest/gtest.h>

#include "SimTestSupport.h"

namespace termika {
namespace {

using simtest::ask;

constexpr const char* kPlain = R"({
  "model": "QM100-RH", "loggerName": "AB12", "clock": "2026-12-06 09:00:00",
  "interval": {"unit": "minutes", "value": 1},
  "recording": {"blocks": [{"start": "2026-12-06 00:00:00", "points": 10}]},
  "points": [[1, 2], [3, 4], [5, 6], [7, 8], [9, 10], [11, 12], [13, 14], [15, 16],
             [17, 18], [19, 20]]
})";
constexpr const char* kName = "0001004200000000ff";
constexpr const char* kNameAnswer = "0001004200650066ff";

SimulatedLogger loggerWith(const SimFaults& faults) {
  SimScenario s = simtest::scenarioFrom(kPlain);
  s.faults = faults;
  return SimulatedLogger(s);
}

// Each case: a fresh logger with these faults, then requests and the answers (in hex) they get.
struct Case {
  const char* name;
  SimFaults faults;
  std::vector<std::pair<const char*, QByteArray>> exchanges;
};

void expectExchanges(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SimulatedLogger logger = loggerWith(c.faults);
    for (const auto& [request, answer] : c.exchanges) {
      EXPECT_EQ(ask(logger, request).toHex(), answer) << c.name << " " << request;
    }
  }
}

TEST(Faults, EachSwitchActsOnTheNextRequestsOnly) {
  const QByteArray name = kNameAnswer;
  expectExchanges(
      {// The swallowed name write is not acted on either.
       {"silence", {.silentRequests = 2}, {{"0001004000880089ff", ""}, {kName, ""}, {kName, name}}},
       {"rejection",
        {.rejectedRequests = 2},
        {{"0001004000880089ff", "eeff"}, {kName, "eeff"}, {kName, name}}},
       {"noise",
        {.noiseBytes = 3},
        {{kName, "3c3d3e" + name},
         {"0001009900000000ff", "3c3d3e" + QByteArray("QM100-RH\x01\x05\xff").toHex()}}},
       {"unplug",
        {.unplugAfterRequests = 2},
        {{kName, name}, {kName, name}, {kName, ""}, {kName, ""}}},
       {"stall after 4 points",
        {.stallAfterPoints = 4},
        {{"0001004400000040ff",
          "0000000100000002ff0000000300000004ff0000000500000006ff0000000700000008ff"}}},
       {"one stream rejected after 2 points",
        {.rejectStreamAfterPoints = 2},
        {{"0001004400000040ff", "0000000100000002ff0000000300000004ffeeff"},
         {"0001004400000004ff", "0000000100000002ff"}}}});

  // Unplugged from the API, answers on their way are lost too. Overlong answers and a lost port
  // at every phase are the fault suite's.
  SimulatedLogger late = loggerWith({.latencyMs = 16});
  late.receive(simtest::hex(kName));
  late.unplug();
  EXPECT_TRUE(late.unplugged());
  EXPECT_TRUE(late.takeOutputUntil(1000).empty());
}

TEST(Faults, ArmedSwitchesWaitForTheirRequest) {
  const QByteArray name = kNameAnswer;
  const QByteArray identify = QByteArray("QM100-RH\x01\x05\xff").toHex();
  const char* kIdentify = "0001009900000000ff";
  expectExchanges({{"second name read on",
                    {.armOnCode = 42, .armAfter = 1, .silentRequests = 1},
                    {{kIdentify, identify}, {kName, name}, {kName, ""}, {kName, name}}},
                   {"after two requests of any code",
                    {.armAfter = 2, .rejectedRequests = 1},
                    {{kIdentify, identify}, {kName, name}, {kName, "eeff"}, {kName, name}}},
                   {"noise from the identify request on",
                    {.armOnCode = 99, .noiseBytes = 1},
                    {{kName, name}, {kIdentify, "3c" + identify}, {kName, "3c" + name}}},
                   {"unplug counts from the arming request",
                    {.armOnCode = 99, .unplugAfterRequests = 1},
                    {{kName, name}, {kName, name}, {kIdentify, identify}, {kName, ""}}}});

  // The first stream is whole; the stall waits for the second.
  SimulatedLogger stalled = loggerWith({.armOnCode = 44, .armAfter = 1, .stallAfterPoints = 2});
  EXPECT_EQ(ask(stalled, "0001004400000040ff").count('\xff'), 10);
  EXPECT_EQ(ask(stalled, "0001004400000040ff").count('\xff'), 2);
}

TEST(Faults, BurstsWithoutTerminatorStayBoundedAndTheNextFrameIsAnswered) {
  SimulatedLogger logger = loggerWith({});
  EXPECT_EQ(ask(logger, QByteArray(100'000, '\x12')), QByteArray());
  EXPECT_EQ(ask(logger, kName).toHex(), kNameAnswer);
  // a frame split into single bytes is the same frame
  const QByteArray request = simtest::hex(kName);
  for (qsizetype i = 0; i + 1 < request.size(); ++i) logger.receive(request.mid(i, 1));
  EXPECT_EQ(ask(logger, request.right(1)).toHex(), kNameAnswer);
}

TEST(Pacing, BytesLeaveAtTenBitsEachAtTheBaudRateAfterTheAdaptersLatency) {
  struct Case {
    SimFaults faults;
    const char* request;
    std::vector<qint64> times;  // completion of each 9-byte answer
  };
  // Asked at 100 ms. 90 bits per answer: 9.375 ms at 9600 baud, 1.5625 ms at
  // 57600, rounded up; the latency timer holds every answer 16 ms.
  const Case cases[] = {{{.paced = true, .baud = 9600}, "0001004400000012ff", {110, 119, 129}},
                        {{.paced = true, .baud = 57600}, "0001004400000012ff", {102, 104, 105}},
                        {{.latencyMs = 16}, kName, {116}},
                        {{.paced = true, .baud = 9600, .latencyMs = 16}, kName, {126}}};
  for (const Case& c : cases) {
    SimulatedLogger logger = loggerWith(c.faults);
    logger.advanceTo(100);
    logger.receive(simtest::hex(c.request));
    std::vector<qint64> times;
    while (const auto next = logger.nextOutputAt()) {
      for (const SimChunk& chunk : logger.takeOutputUntil(*next)) {
        EXPECT_EQ(chunk.bytes.size(), 9);
        times.push_back(chunk.atMs);
      }
    }
    EXPECT_EQ(times, c.times) << c.faults.baud << " baud, latency " << c.faults.latencyMs;
  }
}

}  // namespace
}  // namespace termika
