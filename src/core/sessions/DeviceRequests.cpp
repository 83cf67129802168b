#include "core/sessions/DeviceRequests.h"

#include "core/base/Says.h"
#include "core/data/Conversion.h"
#include "core/link/Commands.h"

namespace termika {

namespace {

Error busyError() { return Error{says("Another exchange with the logger is running.")}; }

// The logger keeps two digits of the year and reads them as 20xx: any other
// year would set it a century off (an unset computer clock says 1970).
Result<void> checkLoggerYear(const CivilTime& now) {
  if (now.year >= 2000 && now.year <= 2099) return {};
  return Error{says("The clock to send says %1, but the logger keeps only the years "
                    "2000 to 2099; set the computer's clock first.")
                   .arg(now.year)};
}

}  // namespace

DeviceRequests::DeviceRequests(AppState& app, UserPrompts& prompts, Exchange& exchange)
    : m_app(app), m_prompts(prompts), m_exchange(exchange) {}

Result<void> DeviceRequests::start(const CommandRows& rows) {
  if (m_exchange.isBusy()) return busyError();
  if (!m_exchange.transport() || !m_exchange.transport()->isOpen()) {
    return Error{m_app.texts.after(m_app.modelName, TextId::ModelNotConnected)};
  }
  if (!m_exchange.start(rows)) return busyError();
  return {};
}

Result<commands::LogStartSettings> DeviceRequests::settingsFor(const LogStartRequest& request,
                                                               const CivilTime& now) {
  commands::LogStartSettings s;
  s.name = request.name;
  s.loop = request.loop;
  s.unit = request.intervalUnit;
  s.interval = request.intervalValue;
  s.upperOn = request.upperEnabled;
  s.lowerOn = request.lowerEnabled;
  s.model = request.model;
  s.now = now;
  if (Result<void> year = checkLoggerYear(now); !year) return year.error();
  if (request.reservedStart) {
    s.reservation = commands::Reservation{request.reservedStart->day, request.reservedStart->hour,
                                          request.reservedStart->minute};
  }
  // The limits go to the logger as sensor counts of the resolution it will
  // record at; the counts are sent whether or not the alarm is on.
  if (s.intervalSeconds() <= 0) {
    return Error{says("The interval %1 does not fit the logger.").arg(s.interval)};
  }
  const int mode = commands::alarmConversionMode(s.intervalSeconds());
  const auto upper = temperatureToRaw(request.upperLimit, mode);
  const auto lower = temperatureToRaw(request.lowerLimit, mode);
  if (!upper || !lower) {
    return Error{says("An alarm limit is outside -20..70 °C.")};
  }
  s.upperRaw = *upper;
  s.lowerRaw = *lower;
  return s;
}

Result<void> DeviceRequests::startRecording(const LogStartRequest& request, const CivilTime& now) {
  if (m_exchange.isBusy()) return busyError();
  const auto settings = settingsFor(request, now);
  if (!settings) return settings.error();
  const auto rows = commands::logStartRows(*settings);
  if (!rows) return rows.error();
  return start(*rows);
}

Result<void> DeviceRequests::stopRecording() { return start(commands::stopRows()); }

Result<void> DeviceRequests::setLoggerName(const QString& name) {
  if (m_exchange.isBusy()) return busyError();
  const auto rows = commands::setLsNameRows(name);
  if (!rows) return rows.error();
  return start(*rows);
}

Result<void> DeviceRequests::setClock(const CivilTime& now) {
  if (!isValidCivil(now)) return Error{says("The time to set is not a valid date.")};
  if (Result<void> year = checkLoggerYear(now); !year) return year;
  return start(commands::nowTimeSetRows(now));
}

Result<void> DeviceRequests::updateStatus() { return start(commands::statusUpdateRows()); }

Result<bool> DeviceRequests::initAll() {
  if (m_exchange.isBusy()) return busyError();
  if (!m_prompts.ask(m_app.modelName, m_app.texts[TextId::StartLosesDataQuestion])) return false;
  if (!m_exchange.sendRaw(commands::initAllBytes())) {
    return Error{says("The reset could not be sent to the logger.")};
  }
  return true;
}

}  // namespace termika
