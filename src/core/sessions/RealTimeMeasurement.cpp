#include "core/sessions/RealTimeMeasurement.h"

#include <QDateTime>
#include <QMetaObject>

#include "core/base/Says.h"
#include "core/data/Conversion.h"
#include "core/data/DayTime.h"
#include "core/data/ExtremesUpdate.h"
#include "core/data/Formats.h"
#include "core/data/SetRecords.h"
#include "core/link/AnswerDispatcher.h"
#include "core/link/Commands.h"

namespace termika {

namespace {

// ConvertSample's mode for a one-time point: always high resolution.
constexpr int kOneTimeMode = 10;

qint64 pcClockSeconds() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate d = now.date();
  const QTime t = now.time();
  return secondsFromCivil({d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()});
}

}  // namespace

RealTimeMeasurement::RealTimeMeasurement(AppState& app, UserPrompts& prompts, SaveOffer& saveOffer,
                                         Exchange& exchange, const Timings& timings,
                                         QObject* parent)
    : QObject(parent),
      m_app(app),
      m_prompts(prompts),
      m_saveOffer(saveOffer),
      m_exchange(exchange),
      m_clock(pcClockSeconds) {
  m_continuation.setInterval(timings.continuation);
  connect(&m_continuation, &QTimer::timeout, this, &RealTimeMeasurement::onSpacingElapsed);
  connect(&m_exchange, &Exchange::sessionAborted, this, &RealTimeMeasurement::onSessionAborted);
  m_exchange.dispatcher().setSessionHandler(SessionMode::Measurement, this);
  m_exchange.dispatcher().setSessionHandler(SessionMode::ContinuousMeasurement, this);
}

RealTimeMeasurement::~RealTimeMeasurement() {
  for (const SessionMode mode : {SessionMode::Measurement, SessionMode::ContinuousMeasurement}) {
    if (m_exchange.dispatcher().sessionHandler(mode) == this) {
      m_exchange.dispatcher().setSessionHandler(mode, nullptr);
    }
  }
}

QString RealTimeMeasurement::formatValue(float value) {
  return fmt::measuredValue(value, fmt::LeadingZero::Dropped);
}

bool RealTimeMeasurement::measureOnce() {
  if (m_exchange.isBusy() || m_running) return false;
  if (!askSaveBeforeClearing()) return false;
  clearRealTimeSet();
  beginPending();
  if (!m_exchange.start(commands::singleMeasurementRows())) {
    m_pending.reset();
    return false;
  }
  return true;
}

bool RealTimeMeasurement::stopSeries() {
  if (!m_running) return false;
  endSeries(true);
  return true;
}

bool RealTimeMeasurement::startSeries(int value, bool minutes) {
  if (m_running || m_exchange.isBusy() || !isSpacingChoice(value)) return false;
  if (!askSaveBeforeClearing()) return false;
  clearRealTimeSet();
  setLabels({}, {}, {});
  m_spacingValue = value;
  m_spacingMinutes = minutes;
  m_app.set(kRealTimeSet).interval = spacingSeconds();
  m_tickCount = 0;
  beginPending();
  if (!m_exchange.start(commands::continuousStartRows(m_app.set(kRealTimeSet).interval))) {
    m_pending.reset();
    return false;
  }
  m_running = true;
  m_app.runState = RunState::Continuous;
  m_continuation.start();
  Q_EMIT runningChanged(true);
  return true;
}

void RealTimeMeasurement::setSpacing(int value, bool minutes) {
  if (!isSpacingChoice(value)) return;
  m_spacingValue = value;
  m_spacingMinutes = minutes;
}

int RealTimeMeasurement::spacingSeconds() const {
  return m_spacingMinutes ? m_spacingValue * 60 : m_spacingValue;
}

bool RealTimeMeasurement::askSaveBeforeClearing() { return SaveOffer::mayDiscard(offerToSave()); }

SaveOutcome RealTimeMeasurement::offerToSave() {
  return m_saveOffer.offerToSave(kRealTimeSet, m_app.texts[TextId::SaveMeasurementsQuestion]);
}

void RealTimeMeasurement::clearRealTimeSet() {
  DataSet& set = m_app.set(kRealTimeSet);
  clearDataSet(set);
  set.unsaved = false;
  set.model = m_app.modelName;
  set.loggerName = m_app.status.loggerName;
  Q_EMIT setCleared();
}

void RealTimeMeasurement::beginPending() {
  // The time of a point is the PC clock when it is requested.
  DataRecord record;
  record.dateTime = secondsToDaySerial(m_clock());
  m_pending = record;
}

void RealTimeMeasurement::onSpacingElapsed() {
  if (!m_app.connected) {
    // The port went away between points (a disconnect): the series ends here.
    endSeries(true);
    return;
  }
  ++m_tickCount;
  DataSet& set = m_app.set(kRealTimeSet);
  if (spacingSeconds() <= m_tickCount && !m_exchange.isBusy()) {
    if (set.count >= m_pointLimit) {
      reachLimit();
      return;
    }
    beginPending();
    if (m_exchange.start(commands::continuationRows())) {
      m_tickCount = 0;
    } else {
      m_pending.reset();
    }
    return;
  }
  DataSet& current = m_app.set(m_app.currentSet);
  if (current.drawnCount != current.count) {
    Q_EMIT redrawDue();
    current.drawnCount = current.count;
  }
}

AnswerAction RealTimeMeasurement::onAnswer(CommandQueue& /*queue*/, CommandRow& row,
                                           const frame::Bytes4& d) {
  const bool continuous = row.mode == SessionMode::ContinuousMeasurement;
  // Answers of a series that has been stopped, or of a point given up, are dropped.
  if (!m_pending || (continuous && !m_running)) return AnswerAction::Advance;
  switch (row.opcode()) {
    case Opcode::ReadTemperature:
      m_pending->raw[0] = d[2];
      m_pending->raw[1] = d[3];
      break;
    case Opcode::ReadHumidity:
      m_pending->raw[2] = d[2];
      m_pending->raw[3] = d[3];
      commitPending(continuous);
      break;
    default:
      break;
  }
  return AnswerAction::Advance;
}

void RealTimeMeasurement::commitPending(bool continuous) {
  DataSet& set = m_app.set(kRealTimeSet);
  DataRecord record = *m_pending;
  m_pending.reset();
  if (set.count >= m_pointLimit) return;
  convertSample(record, continuous ? set.interval : kOneTimeMode);
  const int count = set.count + 1;
  record.segment = 1.0f;
  record.recordNo = static_cast<std::int16_t>(count);
  if (!m_app.file(kRealTimeSet).write(count, record)) {
    if (m_running) endSeries(false);
    return;
  }
  set.count = count;
  m_app.currentSet = kRealTimeSet;
  set.unsaved = true;
  updateExtremes(record, set.allExtremes);
  setLabels(formatValue(record.temperature) + m_app.texts[TextId::LiveDegrees],
            formatValue(record.humidity) + m_app.texts[TextId::LiveHumidityUnit],
            fmt::dateTime(record.dateTime));
  Q_EMIT pointAdded(count);
  if (m_running && count >= m_pointLimit) {
    // Stopped at once; the message waits until this answer's exchange is over.
    m_continuation.stop();
    QMetaObject::invokeMethod(this, &RealTimeMeasurement::reachLimit, Qt::QueuedConnection);
  }
}

void RealTimeMeasurement::reachLimit() {
  if (!m_running) return;  // stopped by the user meanwhile
  // Record numbers are 16-bit: the series cannot grow any further.
  const QString message = says("The real-time data has reached %1 points; the measurement stops.");
  endSeries(false);
  m_prompts.info(m_app.modelName, message.arg(m_pointLimit));
  offerToSave();
}

void RealTimeMeasurement::endSeries(bool askSave) {
  const bool wasRunning = m_running;
  m_continuation.stop();
  m_running = false;
  m_pending.reset();
  if (m_app.runState == RunState::Continuous) m_app.runState = RunState::Idle;
  if (wasRunning) Q_EMIT runningChanged(false);
  if (askSave) offerToSave();
}

void RealTimeMeasurement::onSessionAborted() {
  m_pending.reset();
  if (!m_running) return;
  endSeries(false);
  // The link's own message comes first; the question follows once it is gone.
  QMetaObject::invokeMethod(
      this, [this] { offerToSave(); }, Qt::QueuedConnection);
}

void RealTimeMeasurement::setLabels(const QString& t, const QString& h, const QString& time) {
  m_liveTemperature = t;
  m_liveHumidity = h;
  m_liveTime = time;
  Q_EMIT labelsChanged(t, h, time);
}

}  // namespace termika
