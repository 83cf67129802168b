#pragma once

#include <QString>

namespace termika {

enum class SaveOutcome { NothingToSave, Saved, Declined, Cancelled, Failed };

// A session that is about to empty a data set offers its unsaved points to be
// saved first. How they are saved (a CSV file the user picks) is the
// application's business; the session only learns whether it may go on.
class SaveOffer {
 public:
  virtual ~SaveOffer() = default;

  // Asks `prompt` when set `setIndex` holds unsaved points and saves it on Yes.
  virtual SaveOutcome offerToSave(int setIndex, const QString& prompt) = 0;

  // True unless the user wanted the set saved and it was not (the save was
  // cancelled or failed): only then must the points stay.
  static bool mayDiscard(SaveOutcome outcome) {
    return outcome != SaveOutcome::Cancelled && outcome != SaveOutcome::Failed;
  }
};

}  // namespace termika
