#include "core/app/Shutdown.h"

#include "core/data/DataSet.h"

namespace termika {
namespace {

void offerSave(const ShutdownSteps& steps, int set, const QString& prompt) {
  if (!steps.askSave) return;
  SaveOutcome outcome;
  do {
    outcome = steps.askSave(set, prompt);
  } while (outcome == SaveOutcome::Cancelled || outcome == SaveOutcome::Failed);
}

}  // namespace

void runShutdown(const UiText& texts, const ShutdownSteps& steps) {
  if (steps.stopLink) steps.stopLink();
  offerSave(steps, kLogSet, texts.text(1103));
  offerSave(steps, kRealTimeSet, texts.text(1104));
  if (steps.closeFiles) steps.closeFiles();
  if (steps.saveSettings) steps.saveSettings();
  if (steps.deleteRecordFiles) steps.deleteRecordFiles();
}

}  // namespace termika
