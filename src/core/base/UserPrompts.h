#pragma once

#include <QString>
#include <optional>

namespace termika {

// The answer to a question about unsaved data when the program closes.
enum class CloseChoice { Save, Discard, Cancel };

// What the program shows the user as a message box or a question. The core
// never opens a window: the main window implements this with message boxes
// and file dialogs, tests with scripted answers.
class UserPrompts {
 public:
  virtual ~UserPrompts() = default;

  // An OK message box.
  virtual void info(const QString& title, const QString& message) = 0;
  // A Yes/No question; true only on Yes.
  virtual bool ask(const QString& title, const QString& message) = 0;
  // The save dialog, starting with `proposedName` in the working folder;
  // nullopt when cancelled.
  virtual std::optional<QString> chooseSaveFile(const QString& proposedName,
                                                const QString& filter) = 0;
  // A save dialog offering several file types ("description|pattern|..."):
  // the file and the index of the type chosen. A prompter without types
  // answers with the first.
  struct SaveChoice {
    QString path;
    int type = 0;
  };
  virtual std::optional<SaveChoice> chooseSaveFileOfType(const QString& proposedName,
                                                         const QString& filter) {
    std::optional<QString> path = chooseSaveFile(proposedName, filter);
    if (!path) return std::nullopt;
    return SaveChoice{*path, 0};
  }
  // The open dialog; nullopt when cancelled.
  virtual std::optional<QString> chooseOpenFile(const QString& filter) = 0;

  // Save, Discard or Cancel for unsaved data. Without buttons of its own a
  // prompter asks Yes/No, and No discards.
  virtual CloseChoice askSaveDiscardCancel(const QString& title, const QString& message) {
    return ask(title, message) ? CloseChoice::Save : CloseChoice::Discard;
  }
  // A passing note that needs no answer (a file was written); ignored
  // unless the prompter has a place for it.
  virtual void notice(const QString& message) { static_cast<void>(message); }
};

}  // namespace termika
