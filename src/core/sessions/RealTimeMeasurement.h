#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <optional>

#include "core/base/UserPrompts.h"
#include "core/data/DataRecord.h"
#include "core/link/Exchange.h"
#include "core/link/SessionHandler.h"
#include "core/model/AppState.h"
#include "core/sessions/SaveOffer.h"

namespace termika {

// One-time and continuous measurement through the link into the real-time
// set (set 1). Each point is built in its own pending record that only its
// humidity answer commits, so nothing else can overwrite it meanwhile.
class RealTimeMeasurement final : public QObject, public SessionHandler {
  Q_OBJECT
 public:
  // The spacing list offers the whole numbers 2..60, in seconds or minutes.
  static constexpr int kMinSpacing = 2;
  static constexpr int kMaxSpacing = 60;
  static constexpr int kDefaultSpacing = 5;
  static bool isSpacingChoice(int value) { return value >= kMinSpacing && value <= kMaxSpacing; }

  // The PC clock in calendar seconds since 1899-12-30 (tests supply their own).
  using Clock = std::function<qint64()>;

  // Registers itself with the dispatcher for the two measurement modes.
  RealTimeMeasurement(AppState& app, UserPrompts& prompts, SaveOffer& saveOffer, Exchange& exchange,
                      const Timings& timings, QObject* parent = nullptr);
  ~RealTimeMeasurement() override;

  void setClock(Clock clock) { m_clock = std::move(clock); }
  // A series stops at this many points (record numbers are 16-bit); only
  // ever lowered, so a test can reach it.
  void setPointLimit(int limit) { m_pointLimit = std::clamp(limit, 1, kMaxSetPoints); }

  // One measurement; the set then holds exactly that point. False while an
  // exchange runs or a series is running.
  bool measureOnce();
  // Starts a series at the spacing `value` (2..60) in seconds or minutes.
  // False when nothing started: a series or an exchange runs, the spacing is
  // not one of the choices, or the user's save went wrong.
  bool startSeries(int value, bool minutes);
  // Stops the running series and offers the set for saving; false when none runs.
  bool stopSeries();
  // The spacing or its unit changed: the following points take the new
  // spacing at once; the set's Interval stays as it was at start.
  void setSpacing(int value, bool minutes);

  bool running() const { return m_running; }
  int tickCount() const { return m_tickCount; }

  // The three value labels of the last point.
  QString liveTemperature() const { return m_liveTemperature; }
  QString liveHumidity() const { return m_liveHumidity; }
  QString liveTime() const { return m_liveTime; }
  // "##.00" followed by a unit text: no leading zero below 1 in magnitude.
  static QString formatValue(float value);

  // SessionHandler
  AnswerAction onAnswer(CommandQueue& queue, CommandRow& row, const frame::Bytes4& d) override;

 Q_SIGNALS:
  // The real-time set was emptied: the window clears its list and graphs.
  void setCleared();
  // A point was committed as record `count`.
  void pointAdded(int count);
  void labelsChanged(const QString& temperature, const QString& humidity, const QString& time);
  // A series started (true) or ended (false), by click, limit or link failure.
  void runningChanged(bool running);
  // The tick found points not yet drawn: the window redraws the current set.
  void redrawDue();

 private:
  void onSpacingElapsed();
  void clearRealTimeSet();
  void beginPending();
  void commitPending(bool continuous);
  // Yes whose save did not happen calls the start off; false then.
  bool askSaveBeforeClearing();
  // The offer to save the real-time set (text `SaveMeasurementsQuestion`).
  SaveOutcome offerToSave();
  void reachLimit();
  void endSeries(bool askSave);
  void onSessionAborted();
  int spacingSeconds() const;
  void setLabels(const QString& t, const QString& h, const QString& time);

  AppState& m_app;
  UserPrompts& m_prompts;
  SaveOffer& m_saveOffer;
  Exchange& m_exchange;
  QTimer m_continuation;
  Clock m_clock;
  std::optional<DataRecord> m_pending;  // the point whose answers are awaited
  bool m_running = false;
  int m_tickCount = 0;
  int m_pointLimit = kMaxSetPoints;
  int m_spacingValue = kDefaultSpacing;
  bool m_spacingMinutes = false;
  QString m_liveTemperature;
  QString m_liveHumidity;
  QString m_liveTime;
};

}  // namespace termika
