#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "core/base/UserPrompts.h"

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
  std::optional<SaveChoice> chooseSaveFileOfType(const QString& proposedName,
                                                 const QString& filter) override;
  std::optional<QString> chooseOpenFile(const QString& filter) override;
  CloseChoice askSaveDiscardCancel(const QString& title, const QString& message) override;
  void notice(const QString& message) override;

  // Where notices go (the status bar).
  void setNoticeBoard(std::function<void(const QString&)> show) { m_notice = std::move(show); }
  // The working folder the settings start with before the user picked one
  // (the program's folder): the dialogs open in `documents` instead.
  void setUnchosenFolder(const QString& unchosen, const QString& documents) {
    m_unchosen = unchosen;
    m_documents = documents;
  }
  QString startFolder() const;

  // Messages join their parts with carriage returns; a message box breaks
  // lines on line feeds.
  static QString displayText(const QString& message);

 private:
  QString titleOr(const QString& title) const;
  void remember(const QString& chosenFile);

  QWidget* m_parent;
  AppState& m_state;
  std::function<void(const QString&)> m_notice;
  QString m_unchosen;
  QString m_documents;
};

}  // namespace termika
