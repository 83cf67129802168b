#pragma once

#include <QObject>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "CliOptions.h"
#include "CliPrompts.h"
#include "ProgressBar.h"
#include "core/app/CsvActions.h"
#include "core/link/ProbeFault.h"
#include "core/link/Timings.h"
#include "core/model/AppState.h"
#include "core/sessions/LoggerLink.h"

namespace termika::cli {

// Exit codes of termika-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Runs one command of termika-cli on the event loop: connects (scan, one
// port, or a device path), waits for the status read, does the command and
// ends the loop with the exit code.
class CliRunner final : public QObject {
  Q_OBJECT
 public:
  explicit CliRunner(CliOptions options, QObject* parent = nullptr);
  ~CliRunner() override;

  // Starts the work; the event loop's exit code is the result. Commands that
  // need no logger return their code at once (nullopt: run the loop).
  std::optional<int> start();

 private:
  enum class Phase { Connecting, ReadingStatus, Command, Done };

  Result<void> prepare();
  void connectDirect();
  void onConnected();
  // No logger: the cause goes under the "not connected" line.
  void notFound(ProbeFault cause);
  // The port closed under a command (time-out, a pulled adapter).
  void onLinkLost();
  void onExchangeEnded();
  void runCommand();
  void afterCommandExchange();
  void startDownload();
  void startMeasure();
  void startRecording();
  void printStatus();
  void finish(int code);
  int runStats();

  CliOptions m_options;
  AppState m_app;
  CliPrompts m_prompts;
  CsvSaveOffer m_saveOffer{m_app, m_prompts};
  Timings m_timings;
  QTemporaryDir m_records;
  std::unique_ptr<LoggerLink> m_link;
  // A port given by name, opened without a scan; the exchange only borrows it.
  std::unique_ptr<Transport> m_directPort;
  ProgressBar m_progress;
  Phase m_phase = Phase::Connecting;
  int m_pointsPrinted = 0;
  bool m_downloadSaved = false;
  bool m_downloadMarked = false;
};

}  // namespace termika::cli
