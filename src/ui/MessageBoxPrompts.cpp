#include "ui/MessageBoxPrompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <algorithm>

#include "core/app/DialogFilter.h"
#include "core/app/Settings.h"
#include "core/model/AppState.h"

namespace termika {

MessageBoxPrompts::MessageBoxPrompts(QWidget* parent, AppState& state)
    : m_parent(parent), m_state(state) {}

QString MessageBoxPrompts::displayText(const QString& message) {
  QString text = message;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

QString MessageBoxPrompts::titleOr(const QString& title) const {
  return title.isEmpty() ? m_state.modelName : title;
}

void MessageBoxPrompts::info(const QString& title, const QString& message) {
  QMessageBox::information(m_parent, titleOr(title), displayText(message));
}

bool MessageBoxPrompts::ask(const QString& title, const QString& message) {
  // Closing the box counts as No: only an explicit Yes acts.
  return QMessageBox::question(m_parent, titleOr(title), displayText(message),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

CloseChoice MessageBoxPrompts::askSaveDiscardCancel(const QString& title, const QString& message) {
  QMessageBox box(QMessageBox::Question, titleOr(title), displayText(message),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_parent);
  box.setDefaultButton(QMessageBox::Save);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Save:
      return CloseChoice::Save;
    case QMessageBox::Discard:
      return CloseChoice::Discard;
    default:
      return CloseChoice::Cancel;
  }
}

void MessageBoxPrompts::notice(const QString& message) {
  if (m_notice) m_notice(message);
}

QString MessageBoxPrompts::startFolder() const {
  const QString working = m_state.workingFolder;
  const bool unchosen =
      working.isEmpty() || (!m_unchosen.isEmpty() && QDir(working) == QDir(m_unchosen));
  return unchosen && !m_documents.isEmpty() ? m_documents : working;
}

std::optional<QString> MessageBoxPrompts::chooseSaveFile(const QString& proposedName,
                                                         const QString& filter) {
  const QString start = QDir(startFolder()).filePath(proposedName);
  const QString file =
      QFileDialog::getSaveFileName(m_parent, QString(), start, dialogFilter(filter));
  if (file.isEmpty()) return std::nullopt;
  remember(file);
  return file;
}

std::optional<UserPrompts::SaveChoice> MessageBoxPrompts::chooseSaveFileOfType(
    const QString& proposedName, const QString& filter) {
  const QString start = QDir(startFolder()).filePath(proposedName);
  const QString filters = dialogFilter(filter);
  QString chosenFilter;
  const QString file =
      QFileDialog::getSaveFileName(m_parent, QString(), start, filters, &chosenFilter);
  if (file.isEmpty()) return std::nullopt;
  remember(file);
  const qsizetype type = filters.split(QStringLiteral(";;")).indexOf(chosenFilter);
  return SaveChoice{file, static_cast<int>(std::max<qsizetype>(type, 0))};
}

std::optional<QString> MessageBoxPrompts::chooseOpenFile(const QString& filter) {
  const QString file =
      QFileDialog::getOpenFileName(m_parent, QString(), startFolder(), dialogFilter(filter));
  if (file.isEmpty()) return std::nullopt;
  remember(file);
  return file;
}

void MessageBoxPrompts::remember(const QString& chosenFile) {
  // A folder Logger.ini cannot hold keeps the previous one.
  rememberWorkingFolder(m_state, QDir::toNativeSeparators(QFileInfo(chosenFile).absolutePath()));
}

}  // namespace termika
