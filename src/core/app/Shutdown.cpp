#include "core/app/Shutdown.h"

#include "core/data/DataSet.h"

namespace termika {
namespace {

// False when the user called the closing off.
bool offerSave(const ShutdownSteps& steps, int set, const QString& prompt) {
  if (!steps.ask) return true;
  for (;;) {
    const std::optional<CloseChoice> choice = steps.ask(set, prompt);
    if (!choice || *choice == CloseChoice::Discard) return true;
    if (*choice == CloseChoice::Cancel) return false;
    if (!steps.save || steps.save(set)) return true;
  }
}

}  // namespace

bool runShutdown(const UiText& texts, const ShutdownSteps& steps) {
  if (!offerSave(steps, kLogSet, texts[TextId::ExitSaveLogQuestion]) ||
      !offerSave(steps, kRealTimeSet, texts[TextId::ExitSaveRealTimeQuestion])) {
    return false;
  }
  for (const auto& step :
       {steps.stopLink, steps.closeFiles, steps.saveSettings, steps.deleteRecordFiles}) {
    if (step) step();
  }
  return true;
}

}  // namespace termika
