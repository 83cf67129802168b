#pragma once

#include <QString>

#include "core/base/UserPrompts.h"
#include "core/model/AppState.h"
#include "core/sessions/SaveOffer.h"

namespace termika {

// Writes set 0 or 1 to a file the user picks (proposed name LoggerName + "_" +
// fileStamp of record 1, or the stamp alone when that is not a valid file
// name). Text `CsvSaveFilter` filter; text `FileNameInvalid` on an unwritable path, then the dialog
// again; Unsaved stays true on any failure.
SaveOutcome saveDataSetCsv(AppState& state, int setIndex, UserPrompts& prompts);

// Asks `prompt` (title ModelName) only when the set is Unsaved; Yes -> SaveDataSetCsv.
SaveOutcome askSaveDataSet(AppState& state, int setIndex, const QString& prompt,
                           UserPrompts& prompts);

// The open item: open dialog (text `CsvOpenFilter` filter) unless `path` is given; 1109 on a
// wrong header, 1113 with the line on other errors. On success replaces the
// file set (records, Count, Interval, alarms, Model, LoggerName, extremes),
// sets state.FileSetName and CurrentSet = 2; on failure nothing changes.
bool openCsvIntoFileSet(AppState& state, UserPrompts& prompts, const QString& path = {});

// The sessions' offer to save a set before they empty it: AskSaveDataSet.
class CsvSaveOffer final : public SaveOffer {
 public:
  CsvSaveOffer(AppState& state, UserPrompts& prompts) : m_state(state), m_prompts(prompts) {}

  SaveOutcome offerToSave(int setIndex, const QString& prompt) override {
    return askSaveDataSet(m_state, setIndex, prompt, m_prompts);
  }

 private:
  AppState& m_state;
  UserPrompts& m_prompts;
};

// The name proposed when saving a set whose first point is at `firstTime`.
QString proposedCsvName(const QString& loggerName, double firstTime);

}  // namespace termika
