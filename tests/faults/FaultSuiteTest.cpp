// Every fault the simulated logger can show, aimed at every phase of the
// program's work, over a real pseudo-terminal to termika-sim. Each case must
// end in the one message the user is owed (or none when the link recovers),
// with nothing left running, no half-filled set passed off as complete, and
// a program that connects again afterwards.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <optional>
#include <string>

#include "EventWait.h"
#include "ScriptedPrompts.h"
#include "SimProcess.h"
#include "core/app/CsvActions.h"
#include "core/link/SimulatedAdapterPins.h"
#include "core/model/AppState.h"
#include "core/sessions/LoggerLink.h"

namespace termika::testing {
namespace {

// Timers run four times faster than in the program: a pty to a local
// simulator answers in well under a millisecond, so no answer comes late.
constexpr int kFaultScale = 4;

// The program's core as the window wires it, on a real serial port: the
// connection with its scan and pulses, the exchange and every session.
class FaultProgram final {
 public:
  FaultProgram(const QString& portPattern, const QString& adapterFile)
      : link(app, prompts, saveOffer, partsFor(portPattern, adapterFile)) {
    for (int i = 0; i < kSetCount; ++i) {
      (void)app.file(i).open(records.filePath(QStringLiteral("set%1.rand").arg(i)));
    }
    QObject::connect(&download, &Download::finished, [this](Download::Outcome outcome) {
      downloadResult = outcome == Download::Outcome::Complete;
    });
  }

  static LoggerLinkParts partsFor(const QString& portPattern, const QString& adapterFile) {
    LoggerLinkParts parts;
    parts.timings = Timings{}.scaled(kFaultScale);
    parts.pins = std::make_unique<SimulatedAdapterPins>(adapterFile);
    parts.map = *PortMap::fromTemplate(portPattern);
    return parts;
  }

  bool busy() const {
    return connection.isConnecting() || exchange.isBusy() || download.running() ||
           exchange.state() != Exchange::State::Idle;
  }

  // Probes port 1 and waits for the scan and the status read to end.
  bool connect() {
    if (!connection.connectOnce(1)) return false;
    return settle() && connection.isConnected();
  }

  // Waits until nothing runs any more (a continuous series is stopped first
  // by the caller); false when the program is still busy after `ms`.
  bool settle(int ms = 20000) {
    const bool idle = waitUntil([this] { return !busy(); }, ms);
    runFor(5);  // a message deferred to the next turn of the event loop
    return idle;
  }

  std::vector<QString> messages() const {
    std::vector<QString> out;
    for (const auto& call : prompts.callsOf(ScriptedPrompts::Kind::Info))
      out.push_back(call.message);
    return out;
  }

  QTemporaryDir records;
  AppState app;
  ScriptedPrompts prompts;
  CsvSaveOffer saveOffer{app, prompts};
  LoggerLink link;
  const Timings& timings = link.timings();
  Exchange& exchange = link.exchange();
  Connection& connection = link.connection();
  Download& download = link.download();
  RealTimeMeasurement& realTime = link.realTime();
  DeviceRequests& requests = link.requests();
  std::optional<bool> downloadResult;
};

constexpr int kPoints = 200;

QByteArray scenario(const QByteArray& faults = {}, const QByteArray& recordingExtra = {}) {
  QByteArray json = R"({
  "model": "QM100-RH", "loggerName": "FLT1", "clock": "2026-12-06 09:00:00",
  "interval": {"unit": "minutes", "value": 1},
  "recording": {"blocks": [{"start": "2026-12-06 05:00:00", "points": 200}])";
  json += recordingExtra + "}";
  if (!faults.isEmpty()) json += R"(, "faults": {)" + faults + "}";
  return json + "}";
}

enum class Phase { Probe, Status, Header, Fast, Slow, Continuous, Clock, Name, Start };

struct PhaseInfo {
  const char* name;
  int armOnCode;  // the request that wakes the fault
  int armAfter;   // how many of them pass first
};

// Mid-header is the second header read; mid-transfer the twentieth point
// request; a series is hit at the third point's temperature read.
constexpr PhaseInfo kPhases[] = {
    {"probe", 99, 0},         {"status read", 42, 0},   {"header read", 8, 1},
    {"fast transfer", 44, 0}, {"slow transfer", 8, 20}, {"continuous", 22, 2},
    {"clock", 1, 0},          {"name", 40, 0},          {"start", 49, 0},
};

// What the user is owed at the end: no message (kR, the link recovers) or one whose text
// matches the pattern.
using Owed = const char*;
constexpr Owed kR = nullptr, kT = "^タイムアウト.*通信を終了します",
               kC = "^通信エラー.*通信を終了します", kN = "が接続されていません$",
               kD = "^ダウンロードに失敗しました$";

// The single message shown, when it is the one owed.
::testing::AssertionResult isOwedMessage(Owed owed, const std::vector<QString>& messages) {
  const QRegularExpression pattern(QString::fromUtf8(owed),
                                   QRegularExpression::DotMatchesEverythingOption);
  if (messages.size() == 1 && pattern.match(messages.front()).hasMatch()) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << messages.size()
         << " message(s), first: " << (messages.empty() ? "" : messages.front().toStdString());
}

struct FaultCase {
  const char* name;
  const char* faults;  // the switches, without the arming keys
  // Owed per phase, in the order of kPhases. The probe tries three times
  // and reads anything but a model name as no logger. Three resends follow
  // a silent or garbled answer and ten a rejection, but during a transfer
  // the download's watchdog gives up after a second of silence, before the
  // fourth resend; the streamed transfer has no resend at all.
  Owed owed[9];
};

const FaultCase kFaults[] = {
    //                                                   probe sts hdr fast slow cont clk name start
    {"two silent requests", R"("silentRequests": 2)", {kR, kR, kR, kD, kR, kR, kR, kR, kR}},
    {"four silent requests", R"("silentRequests": 4)", {kN, kT, kT, kD, kD, kT, kT, kT, kT}},
    {"ten rejections", R"("rejectedRequests": 10)", {kN, kR, kR, kR, kR, kR, kR, kR, kR}},
    {"eleven rejections", R"("rejectedRequests": 11)", {kN, kC, kC, kC, kC, kC, kC, kC, kC}},
    {"line noise", R"("noiseBytes": 3)", {kR, kR, kR, kR, kR, kR, kR, kR, kR}},
    {"one overlong answer", R"("overlongAnswers": 1)", {kR, kR, kR, kD, kR, kR, kR, kR, kR}},
    {"four overlong answers", R"("overlongAnswers": 4)", {kN, kT, kT, kD, kD, kT, kT, kT, kT}},
    {"unplugged", R"("unplugAfterRequests": 0)", {kN, kC, kC, kC, kC, kC, kC, kC, kC}},
};

class FaultSuite : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(QFileInfo(SimProcess::binary()).isExecutable()); }

  QTemporaryDir m_dir;
  SimProcess m_sim{m_dir.path()};
};

// Runs the phase's work; the program has connected first unless the phase
// is the connection itself.
void runPhase(Phase phase, FaultProgram& program) {
  switch (phase) {
    case Phase::Probe:
    case Phase::Status:
      (void)program.connect();
      return;
    case Phase::Header:
    case Phase::Fast:
    case Phase::Slow:
      program.app.downloadSlow = phase == Phase::Slow;
      ASSERT_TRUE(program.download.start());
      break;
    case Phase::Continuous:
      ASSERT_TRUE(program.realTime.startSeries(RealTimeMeasurement::kMinSpacing, false));
      waitUntil(
          [&] { return !program.realTime.running() || program.app.set(kRealTimeSet).count >= 5; });
      if (program.realTime.running()) {
        ASSERT_TRUE(program.realTime.stopSeries());
      }
      break;
    case Phase::Clock:
      ASSERT_TRUE(program.requests.setClock(CivilTime{2026, 12, 6, 10, 30, 0}).ok());
      break;
    case Phase::Name:
      ASSERT_TRUE(program.requests.setLoggerName(QStringLiteral("NEW1")).ok());
      break;
    case Phase::Start: {
      LogStartRequest start;  // in minutes
      start.name = QStringLiteral("STRT");
      start.intervalValue = 1;
      start.model = program.app.modelName;
      ASSERT_TRUE(program.requests.startRecording(start, CivilTime{2026, 12, 6, 10, 30, 0}).ok());
      break;
    }
  }
  ASSERT_TRUE(program.settle());
}

bool isDownload(Phase phase) {
  return phase == Phase::Header || phase == Phase::Fast || phase == Phase::Slow;
}

// What a recovered phase leaves behind: the link, the logger's name as the phase left it, and
// the phase's own result. A clock set confirms itself: the read-back matched the time sent.
void expectDone(Phase phase, FaultProgram& program, const std::string& where) {
  const AppState& app = program.app;
  const char* name = phase == Phase::Name ? "NEW1" : phase == Phase::Start ? "STRT" : "FLT1";
  EXPECT_TRUE(program.connection.isConnected()) << where;
  EXPECT_EQ(app.status.loggerName, QLatin1String(name)) << where;
  EXPECT_TRUE(!isDownload(phase) ||
              (program.downloadResult == true && app.set(kLogSet).count == kPoints))
      << where;
  EXPECT_TRUE(phase != Phase::Continuous || app.set(kRealTimeSet).count >= 5) << where;
  EXPECT_TRUE(phase != Phase::Start || app.runState == RunState::Recording) << where;
}

// What a failed phase must not leave behind. The watchdog ends only the download; every other
// failure ends the link. Of a series, the two points before the fault are whole; the third never
// came.
void expectNothingHalfDone(Phase phase, Owed owed, FaultProgram& program,
                           const std::string& where) {
  EXPECT_EQ(program.connection.isConnected(), owed == kD) << where;
  EXPECT_TRUE(!isDownload(phase) ||
              (program.downloadResult != true && program.app.set(kLogSet).count == 0))
      << where;
  EXPECT_TRUE(phase != Phase::Continuous || program.app.set(kRealTimeSet).count == 2) << where;
}

TEST_F(FaultSuite, EveryFaultAtEveryPhaseEndsInTheOwedMessageAndTheProgramRecovers) {
  for (const FaultCase& fault : kFaults) {
    for (size_t p = 0; p < std::size(kPhases); ++p) {
      const Phase phase = static_cast<Phase>(p);
      const Owed owed = fault.owed[p];
      const std::string where = std::string(fault.name) + " at the " + kPhases[p].name + ", owed " +
                                (owed ? owed : "no message");
      const QByteArray faults =
          QByteArray(fault.faults) + QByteArray(R"(, "armOnCode": %1, "armAfter": %2)")
                                         .replace("%1", QByteArray::number(kPhases[p].armOnCode))
                                         .replace("%2", QByteArray::number(kPhases[p].armAfter));
      ASSERT_TRUE(m_sim.start(scenario(faults))) << where << ": " << m_sim.output();
      FaultProgram program(m_sim.portPattern(), m_sim.adapterFile());
      if (phase != Phase::Probe && phase != Phase::Status) {
        ASSERT_TRUE(program.connect()) << where;
      }
      runPhase(phase, program);
      if (::testing::Test::HasFatalFailure()) return;

      const std::vector<QString> messages = program.messages();
      if (!owed) {
        // Only a clock set confirms itself (text `SetDone` and the time sent).
        const std::vector<QString> confirmation = {
            QStringLiteral("設定しました\r\r2026/12/06 10:30:00")};
        EXPECT_EQ(messages, phase == Phase::Clock ? confirmation : std::vector<QString>{}) << where;
        expectDone(phase, program, where);
      } else {
        EXPECT_TRUE(isOwedMessage(owed, messages)) << where;
        expectNothingHalfDone(phase, owed, program, where);
      }

      // Nothing may still tick: no late message, no second attempt.
      EXPECT_FALSE(program.realTime.running()) << where;
      runFor(static_cast<int>(program.timings.timeOut.count() * 4));
      EXPECT_EQ(program.messages().size(), messages.size()) << where;
      EXPECT_FALSE(program.busy()) << where;

      // A failed probe leaves faults for the next scan and an unplugged
      // logger is gone: the user plugs in a sound one.
      const bool spoilt = phase == Phase::Probe && !program.connection.isConnected();
      if (spoilt || !m_sim.running()) {
        ASSERT_TRUE(m_sim.start(scenario())) << where << ": " << m_sim.output();
      }
      if (program.connection.isConnected()) {
        ASSERT_TRUE(program.requests.updateStatus().ok()) << where;
        EXPECT_TRUE(program.settle()) << where;
      } else {
        EXPECT_TRUE(program.connect()) << where << ": no second connection";
      }
      EXPECT_TRUE(program.connection.isConnected()) << where;
      EXPECT_EQ(program.messages().size(), messages.size()) << where;
    }
  }
}

TEST_F(FaultSuite, LoggerSpecificFaultsEndAsTheUserIsOwed) {
  struct Case {
    const char* name;
    QByteArray scenario;
    Phase phase;
    Owed owed;
    int points;  // in the log set afterwards
  };
  const Case cases[] = {
      {"stall after 100 points", scenario(R"("stallAfterPoints": 100)"), Phase::Fast, kD, 0},
      {"stream rejected after 100 points", scenario(R"("rejectStreamAfterPoints": 100)"),
       Phase::Fast, kD, 0},
      {"identify answer too late", scenario(R"("probeDelayMs": 700)"), Phase::Probe, kN, 0},
      {"erased header", scenario({}, R"(, "erasedHeader": true)"), Phase::Slow, kR, kPoints},
      {"160 blocks", R"({"model": "QM100-RH", "clock": "2026-12-06 09:00:00",
         "interval": {"unit": "minutes", "value": 1},
         "recording": {"repeatBlocks": {"start": "2026-11-28 00:00:00", "count": 160,
                       "points": 3, "gapSeconds": 3600}, "olderEntry": "2026-11-01 00:00:00"}})",
       Phase::Fast, kR, 480},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(m_sim.start(c.scenario)) << c.name << ": " << m_sim.output();
    FaultProgram program(m_sim.portPattern(), m_sim.adapterFile());
    if (c.phase != Phase::Probe) {
      ASSERT_TRUE(program.connect()) << c.name;
    }
    runPhase(c.phase, program);
    EXPECT_TRUE(c.owed ? isOwedMessage(c.owed, program.messages())
                       : ::testing::AssertionResult(program.messages().empty()))
        << c.name;
    EXPECT_EQ(program.app.set(kLogSet).count, c.points) << c.name;
    EXPECT_EQ(program.downloadResult.value_or(false), c.points > 0) << c.name;
    ASSERT_TRUE(m_sim.start(scenario())) << c.name << ": " << m_sim.output();
    EXPECT_TRUE(program.connection.isConnected() || program.connect()) << c.name;
  }
}

TEST_F(FaultSuite, SimulatorKilledMidDownloadLosesTheLinkAndNoPoints) {
  ASSERT_TRUE(m_sim.start(scenario(R"("paced": true, "baud": 9600)")));
  FaultProgram program(m_sim.portPattern(), m_sim.adapterFile());
  ASSERT_TRUE(program.connect());
  ASSERT_TRUE(program.download.start());
  ASSERT_TRUE(waitUntil([&] { return program.download.received() >= 50; }));
  m_sim.kill();
  ASSERT_TRUE(program.settle());
  EXPECT_TRUE(isOwedMessage(kC, program.messages()));
  EXPECT_EQ(program.downloadResult, false);
  EXPECT_EQ(program.app.set(kLogSet).count, 0);
  EXPECT_FALSE(program.connection.isConnected());

  ASSERT_TRUE(m_sim.start(scenario()));
  ASSERT_TRUE(program.connect());
  ASSERT_TRUE(program.download.start());
  ASSERT_TRUE(program.settle());
  EXPECT_EQ(program.downloadResult, true);
  EXPECT_EQ(program.app.set(kLogSet).count, kPoints);
}

int openHandles() { return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).count()); }

TEST_F(FaultSuite, HundredConnectDisconnectCyclesLeakNoHandles) {
  ASSERT_TRUE(m_sim.start(scenario()));
  FaultProgram program(m_sim.portPattern(), m_sim.adapterFile());
  ASSERT_TRUE(program.connect());  // the first opening may set up lasting state
  program.connection.disconnect();
  const int handles = openHandles();
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(program.connect()) << "cycle " << i;
    EXPECT_FALSE(program.app.status.loggerName.isEmpty()) << "cycle " << i;
    program.connection.disconnect();
    ASSERT_FALSE(program.connection.isConnected());
  }
  EXPECT_EQ(openHandles(), handles);
  EXPECT_TRUE(program.messages().empty());
}

}  // namespace
}  // namespace termika::testing
