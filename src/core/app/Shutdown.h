#pragma once

#include <QString>
#include <functional>

#include "core/data/CsvActions.h"
#include "core/app/UiText.h"

namespace termika {

// What closing the main window does, step by step; every step is injected so
// the order can be tested without a window. An unset step is skipped.
struct ShutdownSteps {
  // Stops the link's timers and closes the port, so nothing arrives while a
  // question is open.
  std::function<void()> stopLink;
  // Asks whether to save set `set` with `prompt`; NothingToSave when the
  // set holds no unsaved data.
  std::function<SaveOutcome(int set, const QString& prompt)> askSave;
  std::function<void()> closeFiles;
  std::function<void()> saveSettings;
  std::function<void()> deleteRecordFiles;
};

// Stops the link, offers to save the log set and then the real-time set, then
// closes the files, writes the settings and deletes the record files. A Yes
// whose save was cancelled or failed is asked again: the data is only dropped
// on an explicit No.
void runShutdown(const UiText& texts, const ShutdownSteps& steps);

}  // namespace termika
