#pragma once

#include <QString>
#include <QWidget>

#include "core/app/UserPrompts.h"

namespace termika {

struct AppState;

// Questions and messages as message boxes titled with the logger's model,
// files chosen with the file dialogs starting in the working folder.
class MessageBoxPrompts final : public UserPrompts {
 public:
  MessageBoxPrompts(QWidget* parent, AppState& state);

  void info(const QString& title, const QString& message) override;
  bool ask(const QString& title, const QString& message) override;
  std::optional<QString> chooseSaveFile(const QString& proposedName,
                                        const QString& filter) override;
  std::optional<QString> chooseOpenFile(const QString& filter) override;

  // Messages join their parts with carriage returns; a message box breaks
  // lines on line feeds.
  static QString displayText(const QString& message);

 private:
  QString titleOr(const QString& title) const;
  void remember(const QString& chosenFile);

  QWidget* m_parent;
  AppState& m_state;
};

}  // namespace termika
