#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>

#include "core/base/UserPrompts.h"
#include "core/link/CommandQueue.h"
#include "core/link/Frame.h"
#include "core/link/SessionHandler.h"
#include "core/model/AppState.h"

namespace termika {

// One complete answer, checked: `d` holds the four decoded bytes; `raw` the
// bytes as received (the identify answer is text and is read from here).
struct Answer {
  frame::Bytes4 d{};
  QByteArray raw;
};

// HandleAnswer: what an answer means, by its command code and the mode of
// its row. It fills the logger status of AppState; the session modes are
// handed on to the SessionHandler registered for them.
class AnswerDispatcher final {
 public:
  // Temperature of a raw alarm count under a conversion mode (an interval in
  // seconds); the conversion code's RawToTemperature unless replaced, so the
  // link never keeps a copy of the sensor model.
  using RawToTemperatureFn = std::function<double(int raw, int mode)>;

  AnswerDispatcher(AppState& app, UserPrompts& prompts);

  // nullptr removes the handler of `mode`.
  void setSessionHandler(SessionMode mode, SessionHandler* handler);
  SessionHandler* sessionHandler(SessionMode mode) const;
  void setRawToTemperature(RawToTemperatureFn fn) { m_rawToTemperature = std::move(fn); }

  // Checks a complete answer (ending in the terminator) to a request with
  // code `code`: four valid pairs after optional noise (for code 56 echoing
  // that code), or for code 99 text plus two version bytes. nullopt for
  // anything else.
  static std::optional<Answer> parse(std::uint8_t code, const QByteArray& raw);

  // Acts on the answer to the queue's current row.
  AnswerAction handleAnswer(CommandQueue& queue, const Answer& answer);

  // What the status panel shows once the logger is gone.
  static void clearStatus(LoggerStatus& status) { status = LoggerStatus{}; }

 private:
  void handleClock(const CommandQueue& queue, const CommandRow& row, const frame::Bytes4& d);
  void handleStartTime(std::uint8_t subAddress, const frame::Bytes4& d);
  void handleAlarm(AlarmSetting& alarm, const frame::Bytes4& d);
  QString nameCharacters(std::uint8_t first, std::uint8_t second) const;

  AppState& m_app;
  UserPrompts& m_prompts;
  std::unordered_map<SessionMode, SessionHandler*> m_handlers;
  RawToTemperatureFn m_rawToTemperature;
  QElapsedTimer m_sinceClockWritten;  // read-back of a clock set is compared with the time sent
};

}  // namespace termika
