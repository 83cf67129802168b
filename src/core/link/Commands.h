#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

#include "core/base/Result.h"
#include "core/data/Conversion.h"
#include "core/data/DayTime.h"
#include "core/link/CommandQueue.h"
#include "core/link/Protocol.h"

namespace termika::commands {

// The logger samples at low resolution at short intervals; the conversion's
// rule decides the resolution flag and the alarm encoding as well.
inline bool isLowResolution(int intervalSeconds) {
  return termika::isLowResolution(intervalSeconds);
}
// Conversion mode for alarm limits written to the logger (2 = low, 3 = high resolution).
inline int alarmConversionMode(int intervalSeconds) {
  return isLowResolution(intervalSeconds) ? 2 : 3;
}

CommandRow row(Opcode code, std::uint8_t b2 = 0, std::uint8_t b3 = 0,
               SessionMode mode = SessionMode::None, std::int32_t param = 0);

// Request builders; every row they return carries `mode` and `param`.
// The clock is the one moment passed in, so all fields come from one sample.
CommandRows queueClockWrite(const CivilTime& now, SessionMode mode = SessionMode::None,
                            std::int32_t param = 0);
CommandRows queueClockRead(SessionMode mode = SessionMode::None, std::int32_t param = 0);
CommandRows queueStatusRead(SessionMode mode = SessionMode::None, std::int32_t param = 0);
CommandRows queueMeasurementRead(SessionMode mode = SessionMode::None, std::int32_t param = 0);

// Senders' row lists, each started on an idle queue.
CommandRows connectRows();                         // battery state and the status read, PortOpen
CommandRows statusUpdateRows();                    // the status update button
CommandRows nowTimeSetRows(const CivilTime& now);  // clock write, then read-back in ClockSet
CommandRows stopRows();                            // recording stop / reservation cancel
CommandRows downloadStartRows();                   // stop, status read, first header read at 0xF000
CommandRows singleMeasurementRows();               // one measurement
CommandRows continuousStartRows(int intervalSeconds);  // start of a series
CommandRows continuationRows();                        // next point of a series

// The identification name as the logger stores it: left-padded with blanks
// to four single-byte Windows-31J characters (a longer name keeps its first
// four). Anything else is refused.
Result<std::array<std::uint8_t, 4>> encodeLoggerName(const QString& name);
// Set_LSName: the two name rows and the status read.
Result<CommandRows> setLsNameRows(const QString& name, SessionMode mode = SessionMode::None,
                                  std::int32_t param = 0);

struct Reservation {
  int day = 1;  // day of month
  int hour = 0;
  int minute = 0;
};

// The values of the recording settings dialog.
struct LogStartSettings {
  QString name;
  bool loop = false;
  IntervalUnit unit = IntervalUnit::Minutes;
  int interval = 60;  // in `unit`
  // Alarm limits as sensor counts (from TemperatureToRaw with
  // alarmConversionMode(intervalSeconds())); only a model with alarms sends them.
  int upperRaw = 0;
  int lowerRaw = 0;
  bool upperOn = false;
  bool lowerOn = false;
  QString model;
  std::optional<Reservation> reservation;
  CivilTime now;  // the PC clock at the moment of starting

  int intervalSeconds() const { return termika::intervalSeconds(toByte(unit), interval); }
};

// Log_Start: name, record mode, clock, resolution, alarms, start (reserved
// or at once) and the status read, all in mode LogStart.
Result<CommandRows> logStartRows(const LogStartSettings& settings);

// "INITALL" and the terminator, written outside the framing.
QByteArray initAllBytes();

}  // namespace termika::commands
