#pragma once

#include <QTimer>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "EventWait.h"
#include "ScriptedPrompts.h"
#include "core/link/Frame.h"
#include "core/link/PipeTransport.h"
#include "core/link/Timings.h"
#include "core/model/AppState.h"

namespace termika::testing {

// One decoded field of the status, as text, so one table covers them all.
inline QString statusField(const AppState& app, std::string_view name) {
  const LoggerStatus& s = app.status;
  const auto n = [](auto v) { return QString::number(v); };
  if (name == "run")
    return QStringList{"idle", "recording", "reserved", "series"}[int(app.runState)];
  if (name == "firmware") return s.firmwareVersion;
  if (name == "battery") return s.batteryStatus + '/' + s.stopReason;
  if (name == "interval") return n(s.intervalSetting);
  if (name == "volts") return s.batteryVoltage ? QString::number(*s.batteryVoltage, 'f', 4) : "";
  if (name == "voltsText") return s.batteryVoltageText;
  if (name == "upper") return n(s.upperAlarm.enabled) + '/' + n(s.upperAlarm.rawLimit);
  if (name == "lower") return n(s.lowerAlarm.enabled) + '/' + n(s.lowerAlarm.rawLimit);
  if (name == "name") return s.loggerName;
  if (name == "used") return n(s.usedMemory) + '/' + n(s.recordedPoints());
  if (name == "recorded") {
    return n(s.recordedIntervalUnit) + '/' + n(s.recordedIntervalValue) + '/' +
           n(s.recordedInterval);
  }
  if (name == "start") return s.recordingStart ? n(qRound64(*s.recordingStart * 86400)) : "none";
  if (name == "reservation") {
    return n(s.reservationDay) + '/' + n(s.reservationHour) + '/' + n(s.reservationMinute);
  }
  if (name == "loop") return n(s.loopMode) + '/' + n(s.memoryWrapped) + '/' + n(s.wrapped());
  if (name == "batteryLow") return n(s.batteryLow);
  if (name == "pending") return n(s.pendingDownload);
  return "no such field";
}

// A logger that answers the frames it receives from a script: by default
// every command is answered with (1, code, d2, d3) from a table; the script
// can make the next frames go unanswered, rejected, garbled or late.
class ScriptedLogger final {
 public:
  enum class Kind { Answer, Silent, Reject, Raw };
  struct Step {
    Kind kind = Kind::Answer;
    int delayMs = 0;     // 0 = answer on the next turn of the event loop
    QByteArray bytes{};  // Raw: delivered as they stand; Answer: put before the answer
  };

  explicit ScriptedLogger(PipeTransport& port) : m_port(port) {
    m_clock.start();
    port.setPeer([this](const QByteArray& bytes) { receive(bytes); });
  }

  // `sub` tells the rows of code 23 apart.
  void setAnswer(std::uint8_t code, std::uint8_t d2, std::uint8_t d3, int sub = -1) {
    m_answers[{code, sub}] = {d2, d3};
  }
  void push(Step step, int times = 1) { m_script.insert(m_script.end(), times, step); }
  // Every answer goes out in pieces of `size` bytes, one piece per turn.
  void splitAnswers(int size) { m_split = size; }

  std::vector<int> codes;            // the code of every frame received
  std::vector<qint64> receivedAtMs;  // when each frame arrived
  std::vector<QByteArray> rawWrites;

 private:
  QByteArray answerFor(const frame::Bytes4& c) const {
    if (c[1] == 99) return QByteArray("QM120-RH\x01\x05\xff", 11);  // firmware 1.05
    const auto a = m_answers.find({c[1], c[1] == 23 ? c[2] : -1});
    return a == m_answers.end() ? frame::encode({1, c[1], 0, 0})
                                : frame::encode({1, c[1], a->second.first, a->second.second});
  }

  void receive(const QByteArray& bytes) {
    rawWrites.push_back(bytes);
    const auto c = frame::decodeAnswer(bytes);
    if (bytes.size() != frame::kFrameSize || !c) return;
    codes.push_back((*c)[1]);
    receivedAtMs.push_back(m_clock.elapsed());
    Step step;
    if (!m_script.empty()) {
      step = m_script.front();
      m_script.pop_front();
    }
    QByteArray out = step.bytes;
    if (step.kind == Kind::Silent) return;
    if (step.kind == Kind::Reject) out = QByteArray::fromHex("ee000000000000ff");
    if (step.kind == Kind::Answer) out += answerFor(*c);
    QTimer::singleShot(step.delayMs, [this, out] { deliverPieces(out); });
  }

  // One piece per turn of the event loop, so each arrives in its own read.
  void deliverPieces(const QByteArray& bytes) {
    const int size = m_split > 0 ? m_split : int(bytes.size());
    m_port.deliver(bytes.left(size));
    if (bytes.size() <= size) return;
    QTimer::singleShot(0, [this, rest = bytes.mid(size)] { deliverPieces(rest); });
  }

  PipeTransport& m_port;
  QElapsedTimer m_clock;
  std::map<std::pair<int, int>, std::pair<std::uint8_t, std::uint8_t>> m_answers;
  std::deque<Step> m_script;
  int m_split = 0;
};

}  // namespace termika::testing
