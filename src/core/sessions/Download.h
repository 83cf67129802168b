#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/base/TextId.h"
#include "core/base/UserPrompts.h"
#include "core/link/Exchange.h"
#include "core/link/SessionHandler.h"
#include "core/model/AppState.h"
#include "core/sessions/RecordingHeader.h"
#include "core/sessions/SaveOffer.h"

namespace termika {

// Download::start and everything after it: stop the recording, read the
// status and the recording header, transfer every point (streamed or one
// request per point), stamp, convert and mark it. The log set is filled as
// the points arrive; any end other than a complete transfer leaves it empty.
// The logger is told its points are downloaded only when the user of the
// set asks for it (markDownloaded), once the set is safe.
//
// Cancelling: DownloadProgressDialog's cancel button may call cancel(), which ends
// the transfer like a failure (empty log set, finished(false)). Keeping a
// part of the points would be wrong for wrapped memory, whose oldest points
// arrive last, and a half download must never pass as a complete one.
class Download final : public QObject, public SessionHandler {
  Q_OBJECT
 public:
  enum class State {
    Idle,
    Starting,       // stop and status read
    ReadingHeader,  // recording header reads at 0xF000 onwards
    Transferring,   // points arriving; the watchdog runs
    Stopping,       // cancelled: the answer in flight or the rest of the stream is awaited
  };
  Q_ENUM(State)

  // How a download ended; finished() reports exactly one per start().
  enum class Outcome {
    Complete,   // every point, converted and marked; the only success
    Cancelled,  // the user stopped it: the points received before are the log set
    Failed,     // the log set is empty
  };
  Q_ENUM(Outcome)

  // The logger's memory holds at most this many bytes of points.
  static constexpr int kMemoryBytes = 60000;
  static constexpr int kMemoryPoints = kMemoryBytes / 4;
  // More silent watchdog ticks than this fail the download.
  static constexpr int kSilentTickLimit = 10;

  // Registers itself with the dispatcher for the Download and RecordingHeader modes.
  Download(AppState& app, UserPrompts& prompts, SaveOffer& saveOffer, Exchange& exchange,
           QObject* parent = nullptr);
  ~Download() override;

  // The download button. False when nothing started: an exchange runs, the
  // logger holds no points (text `NoDownloadData`), or the user's save went wrong.
  bool start();
  // The user's stop: no more points are stored, the request in flight is
  // answered (or, streaming, the rest of the stream is read and dropped, as
  // the logger cannot be told to stop), and then the points received so far
  // become the log set, partial and never marked as downloaded. A transfer
  // whose every point is already in completes instead. False when no download
  // runs or it is already stopping.
  bool cancel();
  // The program closing: ends at once with an empty log set; false when none runs.
  bool abandon();
  // Sends the "downloaded" mark (1, 56, 1, 1) for the last complete download;
  // markFinished tells how it went. Called while finished(true) is being
  // delivered, the mark follows the transfer in the same exchange. False when
  // there is nothing to mark or the link is busy with something else.
  bool markDownloaded();

  State state() const { return m_state; }
  bool running() const { return m_state != State::Idle; }
  int received() const { return m_received; }
  int expected() const { return m_expected; }
  // The block table of the last header read.
  const RecordingHeader& header() const { return m_header; }

  // SessionHandler
  AnswerAction onAnswer(CommandQueue& queue, CommandRow& row, const frame::Bytes4& d) override;
  AnswerAction onGarbledAnswer(CommandRow& row) override;
  AnswerAction onRejectedAnswer(CommandRow& row) override;

 Q_SIGNALS:
  void stateChanged(termika::Download::State state);
  // DownloadProgressDialog opens; the log set has been emptied (the window clears its list).
  void started();
  void progress(int received, int total);
  // After a cancel of a stream: `passed` of `total` points have gone by unstored.
  void draining(int passed, int total);
  // DownloadProgressDialog closes.
  void finished(termika::Download::Outcome outcome);
  // The logger acknowledged the mark (true), or the link gave up on it.
  void markFinished(bool ok);

 private:
  void onWatchdogTick();
  AnswerAction onHeaderAnswer(CommandQueue& queue, CommandRow& row, const frame::Bytes4& d);
  AnswerAction onPointAnswer(CommandQueue& queue, CommandRow& row, const frame::Bytes4& d);
  AnswerAction beginTransfer(CommandQueue& queue);
  AnswerAction onAnswerWhileStopping(CommandRow& row);
  AnswerAction complete(CommandQueue& queue);
  // Converts and marks the received set and shows it; false when that failed.
  bool settleSet();
  // The end of a cancel: the points received so far, or none, become the log set.
  void finishCancelled();
  // Wrapped memory: the kept points are scattered over the record numbers of
  // the whole memory; they are moved to records 1..n, oldest first.
  bool compactWrappedSet();
  int transferEndBytes() const;
  // Whether `row` asked for the running stream, which no resend can resume.
  bool streaming(const CommandRow& row) const;
  // Ends with an empty log set and then shows `messageText`, if any;
  // from inside an answer the message waits until the exchange has ended.
  void fail(std::optional<TextId> messageText, bool deferMessage);
  void onSessionAborted();
  void copyMetadata();
  void clearLogSet();
  void setState(State state);
  void emitProgress();

  AppState& m_app;
  UserPrompts& m_prompts;
  SaveOffer& m_saveOffer;
  Exchange& m_exchange;
  QTimer m_watchdog;
  State m_state = State::Idle;
  RecordingHeader m_header;
  // Time of every expected point by record number, known before the transfer.
  std::vector<RecordingHeader::Stamp> m_stamps;
  RecordingHeader::Entry m_entry{};
  int m_headerBytes = 0;  // bytes of the header entry being read, 0..8
  bool m_wrapped = false;
  int m_recordedBytes = 0;
  int m_expected = 0;
  int m_received = 0;
  int m_writePosition = 0;  // wrapped memory: points before the oldest one
  int m_silentTicks = 0;
  bool m_slow = false;                   // the transfer mode, fixed when the download starts
  bool m_markDue = false;                // a complete download whose mark has not been acknowledged
  bool m_marking = false;                // the mark is on its way
  CommandQueue* m_completing = nullptr;  // the transfer's queue while finished(true) is delivered
};

}  // namespace termika
