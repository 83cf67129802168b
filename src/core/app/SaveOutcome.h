#pragma once

namespace termika {

// How a "save this data set?" question ended.
enum class SaveOutcome {
  NothingToSave,  // the set held no unsaved data: nothing was asked
  Saved,
  Declined,   // the user answered No
  Cancelled,  // Yes, then the file dialog was cancelled
  Failed,     // Yes, but writing the file failed
};

}  // namespace termika
