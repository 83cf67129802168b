#include "CliRunner.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/app/RecordingSettings.h"
#include "core/base/Says.h"
#include "core/data/Csv.h"
#include "core/data/Formats.h"
#include "core/data/InputFile.h"
#include "core/data/LoggerModel.h"
#include "core/data/OutputFile.h"
#include "core/link/AdapterPinsFactory.h"
#include "core/link/PortDiscovery.h"
#include "core/link/PortFactory.h"
#include "core/link/PortMap.h"
#include "core/link/ProbeFault.h"
#include "core/link/SerialTransport.h"
#include "core/report/ReportPoints.h"
#include "core/report/Summary.h"

namespace termika::cli {

namespace {

// Buffered: the end of the program finds out whether it all reached standard output.
void out(const QString& line) { std::printf("%s\n", line.toLocal8Bit().constData()); }

// A point is shown at once; false when standard output cannot take it.
bool outNow(const QString& line) {
  out(line);
  return std::fflush(stdout) == 0;
}

void err(const QString& line) {
  std::fprintf(stderr, "termika-cli: %s\n", line.toLocal8Bit().constData());
}

QString dateOrDash(const std::optional<double>& serial) {
  return serial ? fmt::dateTime(*serial) : QStringLiteral("-");
}

QString stateName(RunState runState) {
  switch (runState) {
    case RunState::Recording:
      return QStringLiteral("recording");
    case RunState::Reserved:
      return QStringLiteral("reserved");
    case RunState::Continuous:
      return QStringLiteral("measuring");
    case RunState::Idle:
      break;
  }
  return QStringLiteral("idle");
}

QString alarmText(const AlarmSetting& a) {
  return QStringLiteral("%1 C %2").arg(a.limit).arg(a.enabled ? QStringLiteral("on")
                                                              : QStringLiteral("off"));
}

CivilTime now() {
  const QDateTime t = QDateTime::currentDateTime();
  return {t.date().year(), t.date().month(),  t.date().day(),
          t.time().hour(), t.time().minute(), t.time().second()};
}

}  // namespace

CliRunner::CliRunner(CliOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options)) {
  m_app.texts = UiText::load(m_options.language);
  m_app.baudSetting = m_options.baud;
}

CliRunner::~CliRunner() {
  // The link goes before the port it may borrow.
  m_link.reset();
}

std::optional<int> CliRunner::start() {
  if (m_options.command == QLatin1String("stats")) return runStats();
  // Before the transfer: a download that cannot be saved must not start.
  if (m_options.command == QLatin1String("download")) {
    if (const auto usable = checkOutputFile(m_options.output); !usable) {
      err(usable.error().message);
      return kExitFailure;
    }
  }
  if (const auto ready = prepare(); !ready) {
    err(ready.error().message);
    return kExitFailure;
  }
  if (!m_options.device.isEmpty()) {
    connectDirect();
    return std::nullopt;
  }
  const bool started = m_options.port ? m_link->connection().connectOnce(*m_options.port)
                                      : m_link->connection().connectOrDisconnect();
  if (!started) {
    err(QStringLiteral("the connection could not be started"));
    return kExitFailure;
  }
  return m_phase == Phase::Done ? std::optional<int>(kExitFailure) : std::nullopt;
}

Result<void> CliRunner::prepare() {
  if (!m_records.isValid()) return Error{QStringLiteral("no folder for the record files")};
  for (int i = 0; i < kSetCount; ++i) {
    if (auto opened = m_app.file(i).open(m_records.filePath(QStringLiteral("set%1.rand").arg(i)));
        !opened) {
      return opened.error();
    }
  }
  if (auto baud = SerialTransport::parseBaudSetting(m_options.baud); !baud) return baud.error();
  LoggerLinkParts parts;
  parts.timings = m_timings;
  parts.latency = std::make_unique<LatencyTimer>();
  const bool direct = !m_options.device.isEmpty();
  if (!direct) {
    auto pins = makeAdapterPins(m_options.adapter);
    if (!pins) return pins.error();
    parts.pins = std::move(*pins);
    if (!m_options.portMap.isEmpty()) {
      auto custom = PortMap::fromTemplate(m_options.portMap);
      if (!custom) return custom.error();
      parts.map = *custom;
    }
  }
  m_link = std::make_unique<LoggerLink>(m_app, m_prompts, m_saveOffer, std::move(parts));
  connect(&m_link->exchange(), &Exchange::exchangeEnded, this, &CliRunner::onExchangeEnded,
          Qt::QueuedConnection);
  if (direct) {
    // Without a scan the connection is not used, and its notices with it.
    connect(m_link->latency(), &LatencyTimer::adviceGiven, this, [](const QString& m) { err(m); });
    return {};
  }
  Connection& connection = m_link->connection();
  connect(&connection, &Connection::notice, this, [](const QString& m) { err(m); });
  connect(&connection, &Connection::connected, this, &CliRunner::onConnected);
  connect(&connection, &Connection::notFound, this,
          [this] { notFound(m_link->connection().notFoundCause()); });
  connect(&connection, &Connection::disconnected, this, &CliRunner::onLinkLost);
  return {};
}

void CliRunner::connectDirect() {
  // The given device is opened as it is: no scan and no pulse. The identify
  // request still names the model, which the set and its CSV file carry.
  auto port =
      std::make_unique<SerialTransport>(m_options.device, m_options.baud, m_link->latency());
  if (auto opened = port->open(); !opened) {
    err(opened.error().message);
    finish(kExitFailure);
    return;
  }
  m_directPort = std::move(port);
  auto answer = std::make_shared<QByteArray>();
  connect(m_directPort.get(), &Transport::readyRead, this,
          [this, answer] { *answer += m_directPort->readAll(); });
  if (auto written = m_directPort->write(PortDiscovery::probeFrame()); !written) {
    err(written.error().message);
    finish(kExitFailure);
    return;
  }
  QTimer::singleShot(m_timings.probeAnswer, this, [this, answer] {
    disconnect(m_directPort.get(), &Transport::readyRead, this, nullptr);
    *answer += m_directPort->readAll();
    const auto model = PortDiscovery::recogniseModel(*answer);
    if (!model) {
      m_prompts.info(m_app.modelName,
                     m_app.texts.after(m_app.modelName, TextId::ModelNotConnected));
      notFound(classifyProbeAnswer(*answer));
      return;
    }
    m_app.modelName = *model;
    m_app.connected = true;
    m_link->exchange().setTransport(m_directPort.get());
    connect(&m_link->exchange(), &Exchange::linkClosed, this, &CliRunner::onLinkLost);
    m_phase = Phase::ReadingStatus;
    if (!m_link->exchange().start(commands::connectRows())) finish(kExitFailure);
  });
}

void CliRunner::onConnected() { m_phase = Phase::ReadingStatus; }

void CliRunner::notFound(ProbeFault cause) {
  // Under the "not connected" line, the reason in the chosen language.
  if (const std::optional<TextId> text = probeFaultText(cause)) err(m_app.texts[*text]);
  finish(kExitFailure);
}

void CliRunner::onLinkLost() {
  // After the save the mark alone is at stake: the exchange's end says so.
  if (m_phase == Phase::Done || m_downloadSaved) return;
  if (m_options.command == QLatin1String("measure")) {
    err(QStringLiteral("%1 (%2/%3)")
            .arg(m_app.texts[TextId::MeasurementLinkLost])
            .arg(m_pointsPrinted)
            .arg(m_options.count));
  }
  finish(kExitFailure);
}

void CliRunner::onExchangeEnded() {
  if (m_link->exchange().isBusy()) return;  // a new exchange began meanwhile
  switch (m_phase) {
    case Phase::ReadingStatus:
      if (!m_app.connected) {
        finish(kExitFailure);
        return;
      }
      m_phase = Phase::Command;
      runCommand();
      break;
    case Phase::Command:
      afterCommandExchange();
      break;
    default:
      break;
  }
}

void CliRunner::runCommand() {
  const QString& c = m_options.command;
  if (c == QLatin1String("probe")) {
    out(QStringLiteral("port: %1")
            .arg(m_options.device.isEmpty() ? QString::number(m_app.portNumber)
                                            : m_options.device));
    out(QStringLiteral("model: %1").arg(m_app.modelName));
    finish(kExitOk);
  } else if (c == QLatin1String("status")) {
    printStatus();
    finish(kExitOk);
  } else if (c == QLatin1String("download")) {
    startDownload();
  } else if (c == QLatin1String("measure")) {
    startMeasure();
  } else if (c == QLatin1String("set-clock")) {
    const auto started = m_link->requests().setClock(m_options.time.value_or(now()));
    if (!started) {
      err(started.error().message);
      finish(kExitFailure);
    }
  } else if (c == QLatin1String("set-name")) {
    const auto started = m_link->requests().setLoggerName(m_options.name);
    if (!started) {
      err(started.error().message);
      finish(kExitUsage);
    }
  } else if (c == QLatin1String("start")) {
    startRecording();
  } else if (c == QLatin1String("stop")) {
    if (m_app.runState != RunState::Recording && m_app.runState != RunState::Reserved) {
      err(QStringLiteral("the logger is not recording"));
      finish(kExitOk);
      return;
    }
    const auto started = m_link->requests().stopRecording();
    if (!started) {
      err(started.error().message);
      finish(kExitFailure);
    }
  }
}

void CliRunner::afterCommandExchange() {
  const QString& c = m_options.command;
  if (!m_app.connected) {
    if (m_downloadSaved) {
      err(QStringLiteral("The points are saved in %1, but the logger was not marked as "
                         "downloaded: it will ask before a start erases them.")
              .arg(m_options.output));
    } else if (c == QLatin1String("measure")) {
      onLinkLost();
    }
    finish(kExitFailure);
    return;
  }
  if (c == QLatin1String("download")) {
    finish(m_downloadSaved && m_downloadMarked ? kExitOk : kExitFailure);
  } else if (c == QLatin1String("measure")) {
    if (m_options.count == 1) finish(m_pointsPrinted == 1 ? kExitOk : kExitFailure);
  } else if (c == QLatin1String("set-clock")) {
    // The read-back is judged by the link: text `SetDone` when it took.
    const QString done = CliPrompts::flatten(m_app.texts[TextId::SetDone]);
    const bool ok = !m_prompts.messages().isEmpty() && m_prompts.messages().last().startsWith(done);
    finish(ok ? kExitOk : kExitFailure);
  } else if (c == QLatin1String("set-name")) {
    const bool ok = m_app.status.loggerName.trimmed() == m_options.name.trimmed().left(4);
    if (!ok) err(QStringLiteral("the logger reports the name \"%1\"").arg(m_app.status.loggerName));
    finish(ok ? kExitOk : kExitFailure);
  } else if (c == QLatin1String("start")) {
    const bool ok = m_app.runState == RunState::Recording || m_app.runState == RunState::Reserved;
    out(QStringLiteral("state: %1").arg(stateName(m_app.runState)));
    finish(ok ? kExitOk : kExitFailure);
  } else if (c == QLatin1String("stop")) {
    out(QStringLiteral("state: %1").arg(stateName(m_app.runState)));
    finish(stateName(m_app.runState) == QLatin1String("idle") ? kExitOk : kExitFailure);
  }
}

void CliRunner::startDownload() {
  m_app.downloadSlow = m_options.slow;
  connect(&m_link->download(), &Download::progress, this,
          [this](int received, int total) { m_progress.update(received, total); });
  // How long the points themselves took, against the line's own time.
  auto transfer = std::make_shared<QElapsedTimer>();
  connect(&m_link->download(), &Download::stateChanged, this, [transfer](Download::State state) {
    if (state == Download::State::Transferring) transfer->start();
  });
  connect(
      &m_link->download(), &Download::finished, this, [this, transfer](Download::Outcome outcome) {
        m_progress.finish();
        const double seconds =
            transfer->isValid() ? static_cast<double>(transfer->elapsed()) / 1000.0 : 0.0;
        // Only a whole set is written and marked; the message of a failure is on
        // its way and the exchange end decides.
        if (outcome != Download::Outcome::Complete) return;
        // The set is complete and converted. The logger hears that it was
        // downloaded only once the file is safely on the disk.
        const auto written =
            writeCsvFile(m_options.output, m_app.set(kLogSet), m_app.file(kLogSet), m_app.texts);
        if (!written) {
          err(written.error().message);
          err(QStringLiteral("The logger keeps its points as never downloaded."));
          return;
        }
        m_downloadSaved = true;
        m_link->download().markDownloaded();
        err(QStringLiteral("%1 points saved in %2 (transfer %3 s)")
                .arg(m_app.set(kLogSet).count)
                .arg(m_options.output)
                .arg(seconds, 0, 'f', 2));
      });
  connect(&m_link->download(), &Download::markFinished, this, [this](bool ok) {
    m_downloadMarked = ok;
    if (!ok) err(QStringLiteral("the logger could not be told that its points are downloaded"));
  });
  if (!m_link->download().start()) finish(kExitFailure);
}

void CliRunner::startMeasure() {
  connect(&m_link->realTime(), &RealTimeMeasurement::pointAdded, this, [this](int count) {
    const auto r = m_app.file(kRealTimeSet).read(count);
    if (!r) return;
    const bool printed = outNow(QStringLiteral("%1,%2,%3,%4")
                                    .arg(count)
                                    .arg(fmt::dateTime(r->dateTime),
                                         fmt::measuredValue(r->temperature, fmt::LeadingZero::Kept),
                                         fmt::measuredValue(r->humidity, fmt::LeadingZero::Kept)));
    if (printed) {
      ++m_pointsPrinted;
    } else {
      // Nobody would see the points: stop rather than measure on in the dark.
      const int error = errno;
      err(QStringLiteral("cannot write to standard output: %1")
              .arg(QString::fromLocal8Bit(std::strerror(error))));
      finish(kExitFailure);
    }
    const bool enough = m_options.count > 1 && m_pointsPrinted >= m_options.count;
    if ((enough || !printed) && m_link->realTime().running()) {
      m_link->realTime().stopSeries();
      finish(kExitOk);  // a failure above stays the result
    }
  });
  connect(&m_link->realTime(), &RealTimeMeasurement::runningChanged, this, [this](bool running) {
    if (running || m_pointsPrinted >= m_options.count) return;
    if (!m_app.connected) onLinkLost();
    finish(kExitFailure);
  });
  const bool started = m_options.count == 1
                           ? m_link->realTime().measureOnce()
                           : m_link->realTime().startSeries(m_options.every, false);
  if (!started) finish(kExitFailure);
}

void CliRunner::startRecording() {
  const RecordingButtonAction action =
      decideRecordingButton(m_link->exchange().isBusy(), m_app.runState, m_app.status);
  switch (action) {
    case RecordingButtonAction::Ignore:
      finish(kExitFailure);
      return;
    case RecordingButtonAction::Stop:
      err(QStringLiteral("the logger is already recording; stop it first"));
      finish(kExitFailure);
      return;
    case RecordingButtonAction::RefuseBattery:
      m_prompts.info(m_app.modelName, m_app.texts[TextId::ChangeBattery]);
      finish(kExitFailure);
      return;
    case RecordingButtonAction::AskOverwrite:
    case RecordingButtonAction::OpenSettings:
      break;
  }
  const bool alarms = hasAlarms(m_app.modelName);
  if ((m_options.high || m_options.low) && !alarms) {
    err(QStringLiteral("%1 has no temperature alarms").arg(m_app.modelName));
    finish(kExitUsage);
    return;
  }
  LogStartRequest r;
  r.name = m_app.status.loggerName;
  r.model = m_app.modelName;
  r.loop = m_options.loop;
  const int s = m_options.intervalSeconds;
  r.intervalUnit = s < 60 ? IntervalUnit::Seconds : IntervalUnit::Minutes;
  r.intervalValue = s < 60 ? s : s / 60;
  r.upperEnabled = m_options.high.has_value();
  r.upperLimit = m_options.high.value_or(RecordingSettings::kDefaultUpper);
  r.lowerEnabled = m_options.low.has_value();
  r.lowerLimit = m_options.low.value_or(RecordingSettings::kDefaultLower);
  const CivilTime clock = now();
  if (m_options.at) {
    const CivilTime& a = *m_options.at;
    const QDate today(clock.year, clock.month, clock.day);
    const QDate date(a.year, a.month, a.day);
    const bool future = secondsFromCivil(a) > secondsFromCivil(clock);
    if (!future || !RecordingSettings::isReservationDateAllowed(today, date)) {
      err(QStringLiteral(
          "the logger cannot be reserved for that time (a later minute within a month)"));
      finish(kExitUsage);
      return;
    }
    r.reservedStart = LogStartRequest::Reservation{a.day, a.hour, a.minute};
  }
  // Everything that could still refuse the start is judged before the
  // question, so a "yes" is never followed by a refusal.
  if (const auto settings = DeviceRequests::settingsFor(r, clock); !settings) {
    err(settings.error().message);
    finish(kExitFailure);
    return;
  }
  if (action == RecordingButtonAction::AskOverwrite) {
    // Points never downloaded would be erased: only the user's word says yes.
    m_prompts.setAnswer(m_options.discardUndownloaded);
    const bool yes =
        m_prompts.ask(m_app.modelName,
                      m_app.texts.joined(TextId::UndownloadedData, TextId::StartLosesDataQuestion));
    m_prompts.setAnswer(false);
    if (!yes) {
      err(m_app.texts[TextId::DiscardUndownloadedHint]);
      finish(kExitFailure);
      return;
    }
  }
  const auto started = m_link->requests().startRecording(r, clock);
  if (!started) {
    err(started.error().message);
    finish(kExitFailure);
  }
}

void CliRunner::printStatus() {
  const LoggerStatus& s = m_app.status;
  const QString port =
      m_options.device.isEmpty() ? QString::number(m_app.portNumber) : m_options.device;
  out(QStringLiteral("model: %1").arg(m_app.modelName));
  out(QStringLiteral("port: %1").arg(port));
  out(QStringLiteral("name: %1").arg(s.loggerName));
  out(QStringLiteral("firmware: %1").arg(s.firmwareVersion));
  out(QStringLiteral("state: %1").arg(stateName(m_app.runState)));
  out(QStringLiteral("record mode: %1")
          .arg(s.loopMode ? QStringLiteral("loop") : QStringLiteral("one-time")));
  out(QStringLiteral("recording start: %1").arg(dateOrDash(s.recordingStart)));
  out(QStringLiteral("recorded points: %1").arg(s.recordedPoints()));
  out(QStringLiteral("used memory: %1").arg(s.usedMemory));
  out(QStringLiteral("memory wrapped: %1").arg(s.memoryWrapped));
  out(QStringLiteral("recorded interval: %1 s").arg(s.recordedInterval));
  out(QStringLiteral("interval setting: %1 s").arg(s.intervalSetting));
  out(QStringLiteral("reservation: day %1 %2:%3")
          .arg(s.reservationDay)
          .arg(s.reservationHour, 2, 10, QLatin1Char('0'))
          .arg(s.reservationMinute, 2, 10, QLatin1Char('0')));
  out(QStringLiteral("upper alarm: %1").arg(alarmText(s.upperAlarm)));
  out(QStringLiteral("lower alarm: %1").arg(alarmText(s.lowerAlarm)));
  out(QStringLiteral("battery: %1")
          .arg(s.batteryLow ? QStringLiteral("low") : QStringLiteral("normal")));
  out(QStringLiteral("battery voltage: %1")
          .arg(s.batteryVoltage ? s.batteryVoltageText + QStringLiteral(" V")
                                : QStringLiteral("-")));
  out(QStringLiteral("battery fault: %1")
          .arg(s.batteryStatus.isEmpty() ? QStringLiteral("no") : QStringLiteral("yes")));
  out(QStringLiteral("stopped on low voltage: %1")
          .arg(s.stopReason.isEmpty() ? QStringLiteral("no") : QStringLiteral("yes")));
  out(QStringLiteral("device clock: %1").arg(dateOrDash(s.deviceClock)));
  out(QStringLiteral("not downloaded: %1")
          .arg(s.pendingDownload ? QStringLiteral("yes") : QStringLiteral("no")));
}

int CliRunner::runStats() {
  // Read once (a pipe cannot be read twice); the header texts are matched in
  // the chosen language first, then the other.
  const Result<QByteArray> bytes = readInputFile(m_options.file, csv::kMaxFileBytes);
  if (!bytes) {
    err(QStringLiteral("%1 %2").arg(m_app.texts[TextId::FileError], bytes.error().message));
    return kExitFailure;
  }
  CsvReadResult read = parseCsv(*bytes, m_app.texts);
  if (!read.ok() && read.error.wrongHeader) {
    const auto other = m_options.language == UiText::Language::Japanese
                           ? UiText::Language::English
                           : UiText::Language::Japanese;
    read = parseCsv(*bytes, UiText::load(other));
  }
  if (!read.ok()) {
    const TextId text = read.error.wrongHeader ? TextId::WrongFileFormat : TextId::FileError;
    err(QStringLiteral("%1: %2 %3").arg(m_options.file, m_app.texts[text], read.error.message));
    return kExitFailure;
  }
  report::Input input;
  input.points = report::pointsFromRecords(read.content->records);
  input.intervalSeconds = read.content->interval;
  const std::optional<report::Summary> summary = report::summarize(input);
  if (!summary) {
    err(QStringLiteral("%1: %2").arg(m_options.file, says("There are no points to summarise.")));
    return kExitFailure;
  }
  const report::Summary& s = *summary;
  out(QStringLiteral("count: %1").arg(s.count));
  out(QStringLiteral("first: %1").arg(fmt::dateTime(s.first)));
  out(QStringLiteral("last: %1").arg(fmt::dateTime(s.last)));
  out(QStringLiteral("temperature min: %1").arg(fmt::fixed2(s.temperature.minimum.value)));
  out(QStringLiteral("temperature max: %1").arg(fmt::fixed2(s.temperature.maximum.value)));
  out(QStringLiteral("temperature mean: %1").arg(fmt::fixed2(s.temperature.mean)));
  out(QStringLiteral("humidity min: %1").arg(fmt::fixed2(s.humidity.minimum.value)));
  out(QStringLiteral("humidity max: %1").arg(fmt::fixed2(s.humidity.maximum.value)));
  out(QStringLiteral("humidity mean: %1").arg(fmt::fixed2(s.humidity.mean)));
  out(QStringLiteral("mean kinetic temperature: %1")
          .arg(s.meanKineticTemperature ? fmt::fixed2(*s.meanKineticTemperature)
                                        : QStringLiteral("-")));
  return kExitOk;
}

void CliRunner::finish(int code) {
  if (m_phase == Phase::Done) return;
  m_phase = Phase::Done;
  m_progress.finish();
  // Queued, so a message already on its way is printed first.
  QTimer::singleShot(0, this, [code] { QCoreApplication::exit(code); });
}

}  // namespace termika::cli
