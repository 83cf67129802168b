#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "ScriptedPrompts.h"
#include "core/link/Frame.h"
#include "core/link/PipeTransport.h"
#include "core/link/Timings.h"

namespace termika::testing {

// Timer intervals small enough for a fast suite, large enough that an
// immediate answer always beats the time-out on a loaded machine.
inline Timings fastTimings() { return Timings{}.scaled(5); }

// Runs the event loop until `done` or `timeoutMs`, never sleeping between
// turns, so scaled time-outs are not outrun by the waiting itself.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
  QElapsedTimer clock;
  clock.start();
  QTimer wake;  // lets the blocking turn return to look at the clock
  wake.start(2);
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

// Runs the event loop for `ms`.
inline void settle(int ms) {
  waitUntil([] { return false; }, ms);
}

// A logger that answers the frames it receives from a script: by default
// every command is answered with (1, code, d2, d3) from a table; the script
// can make the next frames go unanswered, rejected, garbled, late or split.
class ScriptedLogger final {
 public:
  enum class Kind { Answer, Silent, Reject, Raw };
  struct Step {
    Kind kind = Kind::Answer;
    int delayMs = 0;   // 0 = answer on the next turn of the event loop
    QByteArray bytes;  // Raw: delivered as they stand; Answer: put before the answer
  };

  explicit ScriptedLogger(PipeTransport& port) : m_port(port) {
    m_clock.start();
    port.setPeer([this](const QByteArray& bytes) { receive(bytes); });
  }

  void setAnswer(std::uint8_t code, std::uint8_t d2, std::uint8_t d3) {
    m_answers[{code, -1}] = {d2, d3};
  }
  void setAnswer23(std::uint8_t sub, std::uint8_t d2, std::uint8_t d3) {
    m_answers[{23, sub}] = {d2, d3};
  }
  void push(Step step) { m_script.push_back(std::move(step)); }
  void push(Kind kind, int times = 1) {
    for (int i = 0; i < times; ++i) m_script.push_back({kind, 0, {}});
  }
  // Every answer goes out in pieces of `size` bytes, one piece per turn.
  void splitAnswers(int size) { m_split = size; }
  // Replaces the table answer when set (a stream of points, say).
  std::function<QByteArray(const frame::Bytes4&)> custom;

  std::vector<frame::Bytes4> received;
  std::vector<qint64> receivedAtMs;  // when each frame arrived
  std::vector<QByteArray> rawWrites;

  QByteArray answerFor(const frame::Bytes4& c) {
    if (c[1] == 99) return QByteArray("QM120-RH\x01\x05\xff", 11);  // firmware 1.05
    std::pair<std::uint8_t, std::uint8_t> d{0, 0};
    if (auto a = m_answers.find({c[1], c[1] == 23 ? c[2] : -1}); a != m_answers.end()) {
      d = a->second;
    }
    return frame::encode({1, c[1], d.first, d.second});
  }

  void deliverLater(const QByteArray& bytes, int delayMs) {
    QTimer::singleShot(delayMs, [this, bytes] { deliverPieces(bytes); });
  }

 private:
  void receive(const QByteArray& bytes) {
    rawWrites.push_back(bytes);
    if (bytes.size() != frame::kFrameSize) return;
    frame::Bytes4 c{};
    for (int i = 0; i < 4; ++i) {
      c[static_cast<size_t>(i)] = frame::decodePair(static_cast<std::uint8_t>(bytes.at(2 * i)),
                                                    static_cast<std::uint8_t>(bytes.at(2 * i + 1)))
                                      .value_or(0);
    }
    received.push_back(c);
    receivedAtMs.push_back(m_clock.elapsed());
    Step step;
    if (!m_script.empty()) {
      step = m_script.front();
      m_script.pop_front();
    }
    switch (step.kind) {
      case Kind::Silent:
        return;
      case Kind::Reject:
        deliverLater(QByteArray::fromHex("ee000000000000ff"), step.delayMs);
        return;
      case Kind::Raw:
        deliverLater(step.bytes, step.delayMs);
        return;
      case Kind::Answer:
        deliverLater(step.bytes + (custom ? custom(c) : answerFor(c)), step.delayMs);
        return;
    }
  }

  // One piece per turn of the event loop, so each arrives in its own read.
  void deliverPieces(const QByteArray& bytes) {
    if (m_split <= 0 || bytes.size() <= m_split) {
      m_port.deliver(bytes);
      return;
    }
    m_port.deliver(bytes.left(m_split));
    const QByteArray rest = bytes.mid(m_split);
    QTimer::singleShot(0, [this, rest] { deliverPieces(rest); });
  }

  PipeTransport& m_port;
  QElapsedTimer m_clock;
  std::map<std::pair<int, int>, std::pair<std::uint8_t, std::uint8_t>> m_answers;
  std::deque<Step> m_script;
  int m_split = 0;
};

}  // namespace termika::testing
