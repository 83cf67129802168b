#pragma once

#include <QString>
#include <optional>

namespace termika {

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
  // The open dialog; nullopt when cancelled.
  virtual std::optional<QString> chooseOpenFile(const QString& filter) = 0;
};

}  // namespace termika
