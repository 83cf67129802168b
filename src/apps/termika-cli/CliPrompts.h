#pragma once

#include <QString>
#include <QStringList>

#include "core/base/UserPrompts.h"

namespace termika::cli {

// Nobody is there to answer: messages go to stderr, file dialogs are
// cancelled and questions answer No, except where the command itself is the
// user's Yes (starting a recording over points never downloaded). A No to
// a save question never loses anything the user asked for: the CLI holds no
// set from before the command, and `download -o` is the save.
class CliPrompts final : public UserPrompts {
 public:
  void setAnswer(bool yes) { m_yes = yes; }
  // Messages shown so far, as printed.
  const QStringList& messages() const { return m_messages; }

  void info(const QString& title, const QString& message) override;
  bool ask(const QString& title, const QString& message) override;
  std::optional<QString> chooseSaveFile(const QString& proposedName,
                                        const QString& filter) override;
  std::optional<QString> chooseOpenFile(const QString& filter) override;

  // A message box text on one line: the two carriage returns become ": ".
  static QString flatten(const QString& message);

 private:
  bool m_yes = false;
  QStringList m_messages;
};

}  // namespace termika::cli
