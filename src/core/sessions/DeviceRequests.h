#pragma once

#include <QString>
#include <optional>

#include "core/base/Result.h"
#include "core/base/UserPrompts.h"
#include "core/data/DayTime.h"
#include "core/link/Commands.h"
#include "core/link/Exchange.h"
#include "core/model/AppState.h"
#include "core/sessions/LogStartRequest.h"

namespace termika {

// The short requests that change or read the logger: recording start and
// stop, name, clock, status update and the factory reset. Each one is
// refused (an error value) while an exchange runs; the answers are handled
// by the dispatcher as usual.
class DeviceRequests final {
 public:
  DeviceRequests(AppState& app, UserPrompts& prompts, Exchange& exchange);

  // Log_Start with the dialog's request and the clock sampled once.
  Result<void> startRecording(const LogStartRequest& request, const CivilTime& now);
  // Recording stop, or cancelling a reservation.
  Result<void> stopRecording();
  // Set_LSName.
  Result<void> setLoggerName(const QString& name);
  // Now_Time_set with the one moment `now`.
  Result<void> setClock(const CivilTime& now);
  // The status update button: the status read.
  Result<void> updateStatus();
  // "INITALL": asks text `StartLosesDataQuestion` first (the previous data is lost; go on?),
  // as a factory reset erases the recording. Ok(false) when the user said No.
  Result<bool> initAll();

  // The settings as the command builders take them.
  // Fails for an interval of 0 or limits outside the range of alarm limits.
  static Result<commands::LogStartSettings> settingsFor(const LogStartRequest& request,
                                                        const CivilTime& now);

 private:
  Result<void> start(const CommandRows& rows);

  AppState& m_app;
  UserPrompts& m_prompts;
  Exchange& m_exchange;
};

}  // namespace termika
