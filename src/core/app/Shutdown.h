#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "core/base/UiText.h"
#include "core/base/UserPrompts.h"

namespace termika {

// What closing the main window does, step by step; every step is injected so
// the order can be tested without a window. An unset step is skipped.
struct ShutdownSteps {
  // Asks Save / Discard / Cancel for set `set`; nullopt when the set holds
  // nothing unsaved.
  std::function<std::optional<CloseChoice>(int set, const QString& prompt)> ask;
  // Saves the set; false when the save was cancelled or failed.
  std::function<bool(int set)> save;
  // Stops the link's timers and closes the port.
  std::function<void()> stopLink;
  std::function<void()> closeFiles;
  std::function<void()> saveSettings;
  std::function<void()> deleteRecordFiles;
};

// Offers the unsaved log set and then the unsaved real-time set before
// anything is stopped: Save saves it (a cancelled or failed save asks
// again), Discard goes on, Cancel returns false with the link and the files
// as they were. Then stops the link, closes the files, writes the settings
// and deletes the record files, and returns true.
bool runShutdown(const UiText& texts, const ShutdownSteps& steps);

}  // namespace termika
