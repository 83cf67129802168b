#include "core/sessions/Download.h"

#include <QMetaObject>
#include <algorithm>

#include "core/data/Conversion.h"
#include "core/data/DayTime.h"
#include "core/data/ExtremeMarks.h"
#include "core/data/SetRecords.h"
#include "core/link/AnswerDispatcher.h"
#include "core/link/Commands.h"

namespace termika {

namespace {

std::uint8_t highByte(int value) { return static_cast<std::uint8_t>((value >> 8) & 0xFF); }
std::uint8_t lowByte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

}  // namespace

Download::Download(AppState& app, UserPrompts& prompts, SaveOffer& saveOffer, Exchange& exchange,
                   QObject* parent)
    : QObject(parent),
      m_app(app),
      m_prompts(prompts),
      m_saveOffer(saveOffer),
      m_exchange(exchange) {
  m_watchdog.setInterval(exchange.timings().downloadWatchdog);
  connect(&m_watchdog, &QTimer::timeout, this, &Download::onWatchdogTick);
  connect(&m_exchange, &Exchange::sessionAborted, this, &Download::onSessionAborted);
  // Anything else that ends the exchange under a running download (a
  // disconnect, the window closing) is an abnormal end as well.
  connect(&m_exchange, &Exchange::exchangeEnded, this, &Download::onSessionAborted);
  m_exchange.dispatcher().setSessionHandler(SessionMode::Download, this);
  m_exchange.dispatcher().setSessionHandler(SessionMode::RecordingHeader, this);
}

Download::~Download() {
  if (m_exchange.dispatcher().sessionHandler(SessionMode::Download) == this) {
    m_exchange.dispatcher().setSessionHandler(SessionMode::Download, nullptr);
  }
  if (m_exchange.dispatcher().sessionHandler(SessionMode::RecordingHeader) == this) {
    m_exchange.dispatcher().setSessionHandler(SessionMode::RecordingHeader, nullptr);
  }
}

bool Download::start() {
  if (m_exchange.isBusy() || running()) return false;
  const LoggerStatus& status = m_app.status;
  if (status.usedMemory == 0 && status.memoryWrapped == 0) {
    m_prompts.info(m_app.modelName, m_app.texts[TextId::NoDownloadData]);
    return false;
  }
  // A Yes whose save did not happen keeps the old set: the download is
  // called off rather than clearing points the user wanted kept.
  if (!SaveOffer::mayDiscard(m_saveOffer.offerToSave(
          kLogSet, m_app.texts.joined(TextId::DownloadNotSaved, TextId::SaveItQuestion)))) {
    return false;
  }

  clearLogSet();
  m_header.clear(std::nullopt);
  m_slow = m_app.downloadSlow;
  m_markDue = false;
  m_received = 0;
  m_expected = 0;
  m_silentTicks = 0;
  m_stamps.clear();
  setState(State::Starting);
  Q_EMIT started();
  if (!m_exchange.start(commands::downloadStartRows())) {
    setState(State::Idle);
    Q_EMIT finished(Outcome::Failed);
    return false;
  }
  return true;
}

bool Download::cancel() {
  if (!running() || m_state == State::Stopping) return false;
  // Nothing is sent: the next answer (or the end of the stream) ends it, so
  // no request is left unanswered and no stray point reaches the next command.
  setState(State::Stopping);
  return true;
}

bool Download::abandon() {
  if (!running()) return false;
  m_watchdog.stop();
  setState(State::Idle);
  m_exchange.abort();
  clearLogSet();
  Q_EMIT finished(Outcome::Failed);
  return true;
}

bool Download::markDownloaded() {
  if (!m_markDue || m_marking) return false;
  const CommandRow mark = commands::row(Opcode::MarkDownloaded, 1, 1, SessionMode::Download);
  m_marking = m_completing ? m_completing->append(mark).ok() : m_exchange.start({mark});
  return m_marking;
}

AnswerAction Download::onAnswer(CommandQueue& queue, CommandRow& row, const frame::Bytes4& d) {
  if (row.opcode() == Opcode::MarkDownloaded) {
    m_markDue = m_marking = false;
    Q_EMIT markFinished(true);
    return AnswerAction::Advance;
  }
  if (!running()) return AnswerAction::Advance;
  if (m_state == State::Stopping) return onAnswerWhileStopping(row);
  if (row.mode == SessionMode::RecordingHeader) return onHeaderAnswer(queue, row, d);
  if (m_state == State::Transferring &&
      (row.opcode() == Opcode::StreamMemory || row.opcode() == Opcode::ReadMemory)) {
    return onPointAnswer(queue, row, d);
  }
  // The stop and the status read: the dispatcher has filled the panel fields.
  return AnswerAction::Advance;
}

bool Download::streaming(const CommandRow& row) const {
  return m_state == State::Transferring && row.opcode() == Opcode::StreamMemory;
}

AnswerAction Download::onGarbledAnswer(CommandRow& row) {
  // A streamed point has no resend: a garbled one ends the download.
  if (!streaming(row)) return AnswerAction::AwaitMore;
  fail(TextId::DownloadFailed, true);
  return AnswerAction::Finish;
}

AnswerAction Download::onRejectedAnswer(CommandRow& row) {
  if (m_state == State::Stopping) {
    finishCancelled();
    return AnswerAction::Finish;
  }
  // The logger answers a new request with its stream from the first point,
  // so once points have arrived a resend would shift every later one. The
  // download ends instead; the points stay unmarked in the logger.
  if (!streaming(row) || m_received == 0) return AnswerAction::RepeatRow;
  fail(TextId::DownloadFailed, true);
  return AnswerAction::Finish;
}

void Download::copyMetadata() {
  // This read describes the downloaded set; later status reads of the
  // panel leave the held set alone.
  DataSet& set = m_app.set(kLogSet);
  const LoggerStatus& status = m_app.status;
  set.model = m_app.modelName;
  set.loggerName = status.loggerName;
  set.interval = status.recordedInterval;
  set.upperAlarm = status.upperAlarm;
  set.lowerAlarm = status.lowerAlarm;
}

AnswerAction Download::onHeaderAnswer(CommandQueue& queue, CommandRow& row,
                                      const frame::Bytes4& d) {
  if (m_state == State::Starting) {
    const LoggerStatus& status = m_app.status;
    copyMetadata();
    m_wrapped = status.wrapped();
    if (status.usedMemory > kMemoryBytes || status.usedMemory < 0 ||
        m_app.set(kLogSet).interval <= 0) {
      fail(TextId::DownloadFailed, true);
      return AnswerAction::Finish;
    }
    m_recordedBytes = static_cast<int>(status.usedMemory);
    if (status.recordedPoints() == 0 && !m_wrapped) {
      fail(TextId::NoDownloadData, true);
      return AnswerAction::Finish;
    }
    std::optional<qint64> start;
    if (status.recordingStart) start = daySerialToSeconds(*status.recordingStart);
    m_header.clear(start);
    m_headerBytes = 0;
    setState(State::ReadingHeader);
  }
  for (std::size_t i = 0; i < d.size() && m_headerBytes < RecordingHeader::kEntryBytes; ++i) {
    m_entry[static_cast<std::size_t>(m_headerBytes++)] = d[i];
  }
  bool more = true;
  if (m_headerBytes == RecordingHeader::kEntryBytes) {
    m_headerBytes = 0;
    more = m_header.addEntry(m_entry, row.param - 4);
  }
  if (more) {
    row.param += 4;
    row.b2 = highByte(row.param);
    row.b3 = lowByte(row.param);
    return AnswerAction::RepeatRow;
  }
  const qint64 total =
      m_wrapped ? m_app.status.recordedPoints() + qint64{kMemoryPoints} * m_app.status.memoryWrapped
                : m_app.status.recordedPoints();
  m_header.settle(total);
  return beginTransfer(queue);
}

AnswerAction Download::beginTransfer(CommandQueue& queue) {
  const int interval = m_app.set(kLogSet).interval;
  m_expected = m_wrapped ? kMemoryPoints : m_recordedBytes / 4;
  m_writePosition = m_recordedBytes / 4;
  // Every point's time is known from the table before the first one
  // arrives, so each record is written complete as it comes in.
  m_stamps = m_wrapped ? m_header.backwardStamps(m_expected, interval)
                       : m_header.forwardStamps(m_expected, interval);
  const int bytes = m_wrapped ? kMemoryBytes : m_recordedBytes;
  const CommandRow transfer =
      m_slow ? commands::row(Opcode::ReadMemory, 0, 0, SessionMode::Download, 0)
             : commands::row(Opcode::StreamMemory, highByte(bytes), lowByte(bytes),
                             SessionMode::Download, 0);
  if (!queue.append(transfer)) {
    fail(TextId::DownloadFailed, true);
    return AnswerAction::Finish;
  }
  m_silentTicks = 0;
  m_watchdog.start();
  setState(State::Transferring);
  emitProgress();
  return AnswerAction::Advance;
}

AnswerAction Download::onPointAnswer(CommandQueue& queue, CommandRow& row, const frame::Bytes4& d) {
  m_silentTicks = 0;
  if (m_received >= m_expected) return AnswerAction::AwaitMore;  // more than asked for
  const int i = ++m_received;
  int recordNo = i;
  if (m_wrapped)
    recordNo = i > m_writePosition ? i - m_writePosition : i - m_writePosition + kMemoryPoints;
  const RecordingHeader::Stamp& stamp = m_stamps[static_cast<std::size_t>(recordNo - 1)];

  DataRecord record;
  record.raw = {d[0], d[1], d[2], d[3]};
  record.dateTime = secondsToDaySerial(stamp.seconds);
  record.segment = static_cast<float>(stamp.segment);
  record.recordNo = static_cast<std::int16_t>(recordNo);
  if (!m_app.file(kLogSet).write(recordNo, record)) {
    fail(TextId::DownloadFailed, true);
    return AnswerAction::Finish;
  }
  m_app.set(kLogSet).count = i;

  // The request in use says which mode this is, whatever the menu says now.
  const bool slow = row.opcode() == Opcode::ReadMemory;
  row.param += 4;
  if (slow) {
    row.b2 = highByte(row.param);
    row.b3 = lowByte(row.param);
  }
  emitProgress();
  // Whole points only: a byte count that is not a multiple of 4 must not
  // leave the transfer waiting for a point that never comes.
  if (row.param >= transferEndBytes()) return complete(queue);
  if (m_state == State::Stopping && slow) {
    // Cancelled while this point was reported: nothing is in flight yet.
    finishCancelled();
    return AnswerAction::Finish;
  }
  return slow ? AnswerAction::RepeatRow : AnswerAction::AwaitMore;
}

int Download::transferEndBytes() const { return m_wrapped ? kMemoryBytes : m_expected * 4; }

AnswerAction Download::onAnswerWhileStopping(CommandRow& row) {
  if (row.opcode() == Opcode::StreamMemory) {
    // The logger cannot be told to stop streaming: the rest is read and dropped.
    m_silentTicks = 0;
    row.param += 4;
    Q_EMIT draining(row.param / 4, m_expected);
    if (row.param < transferEndBytes()) return AnswerAction::AwaitMore;
    finishCancelled();
    return AnswerAction::Advance;
  }
  // The stop and the status read run to their end, so the panel describes
  // the logger as the download left it.
  if (row.mode == SessionMode::Download && row.opcode() != Opcode::ReadMemory)
    return AnswerAction::Advance;
  finishCancelled();
  return AnswerAction::Finish;
}

bool Download::settleSet() {
  DataSet& set = m_app.set(kLogSet);
  RecordFile& file = m_app.file(kLogSet);
  set.count = m_received;
  if (!convertDataSet(set, file, m_app.texts) ||
      !markExtremeRecords(set.allExtremes, set.count, file, m_app.texts)) {
    return false;
  }
  m_app.runState = RunState::Idle;
  m_app.currentSet = kLogSet;
  set.unsaved = true;
  set.drawnCount = 0;
  return true;
}

AnswerAction Download::complete(CommandQueue& queue) {
  m_watchdog.stop();
  m_silentTicks = 0;
  if (!settleSet()) {
    fail(TextId::DownloadFailed, true);
    return AnswerAction::Finish;
  }
  m_markDue = true;
  setState(State::Idle);
  m_completing = &queue;
  Q_EMIT finished(Outcome::Complete);
  m_completing = nullptr;
  return AnswerAction::Advance;
}

void Download::finishCancelled() {
  m_watchdog.stop();
  m_silentTicks = 0;
  if (m_received == 0) {
    setState(State::Idle);
    clearLogSet();
  } else {
    if ((m_wrapped && !compactWrappedSet()) || !settleSet()) {
      fail(TextId::DownloadFailed, true);
      return;
    }
    m_app.set(kLogSet).partialOf = m_expected;
    setState(State::Idle);
  }
  Q_EMIT finished(Outcome::Cancelled);
}

bool Download::compactWrappedSet() {
  // The i-th point received went to record i - w (i > w) or i - w + 15000:
  // the oldest arrive last, at the front of the file, behind a gap.
  const int w = m_writePosition, k = m_received;
  RecordFile& file = m_app.file(kLogSet);
  std::vector<DataRecord> kept = file.readRange(1, k - w);
  const std::vector<DataRecord> newest =
      file.readRange(kMemoryPoints + 1 - w, kMemoryPoints - w + std::min(k, w));
  kept.insert(kept.end(), newest.begin(), newest.end());
  if (static_cast<int>(kept.size()) != k) return false;
  // A run broken by the points that never came is two runs now.
  int run = 0;
  DataRecord previous;
  for (std::size_t j = 0; j < kept.size(); ++j) {
    DataRecord& r = kept[j];
    const bool joined =
        j > 0 && r.segment == previous.segment && r.recordNo == previous.recordNo + 1;
    previous = r;
    if (!joined) ++run;
    r.segment = static_cast<float>(run);
    r.recordNo = static_cast<std::int16_t>(j + 1);
  }
  return file.writeRange(1, kept).ok();
}

void Download::onWatchdogTick() {
  if (++m_silentTicks <= kSilentTickLimit) return;
  // The timer goes first, or a new message would follow every tick.
  m_watchdog.stop();
  m_silentTicks = 0;
  if (m_state == State::Stopping) {
    // The rest never came; what was kept stays kept.
    finishCancelled();
    m_exchange.abort();
    return;
  }
  setState(State::Idle);
  m_exchange.abort();
  fail(TextId::DownloadFailed, false);
}

void Download::fail(std::optional<TextId> messageText, bool deferMessage) {
  m_watchdog.stop();
  setState(State::Idle);
  clearLogSet();
  Q_EMIT finished(Outcome::Failed);
  if (!messageText) return;
  const QString title = m_app.modelName;
  const QString message = m_app.texts[*messageText];
  if (deferMessage) {
    // Shown once the exchange has wound down, never under a running one.
    QMetaObject::invokeMethod(
        this, [this, title, message] { m_prompts.info(title, message); }, Qt::QueuedConnection);
  } else {
    m_prompts.info(title, message);
  }
}

void Download::onSessionAborted() {
  if (m_marking) {
    m_marking = false;
    Q_EMIT markFinished(false);
  }
  if (!running()) return;
  if (m_state == State::Stopping) {
    finishCancelled();
  } else {
    fail(std::nullopt, false);
  }
}

void Download::clearLogSet() {
  DataSet& set = m_app.set(kLogSet);
  clearDataSet(set);
  set.unsaved = false;
}

void Download::setState(State state) {
  if (m_state == state) return;
  m_state = state;
  Q_EMIT stateChanged(state);
}

void Download::emitProgress() { Q_EMIT progress(m_received, m_expected); }

}  // namespace termika
