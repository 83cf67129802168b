#include "ui/dialogs/LoggerNameDialog.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/app/NameRules.h"
#include "core/base/UiText.h"
#include "core/base/UserPrompts.h"

namespace termika {

LoggerNameDialog::LoggerNameDialog(const UiText& texts, const QString& loggerName,
                                   const QString& modelName, UserPrompts& prompts, QWidget* parent)
    : QDialog(parent),
      m_texts(texts),
      m_loggerName(loggerName),
      m_modelName(modelName),
      m_prompts(prompts) {
  setObjectName(QStringLiteral("LoggerNameDialog"));
  setWindowTitle(texts[TextId::NameDialogTitle]);

  m_ui.caption = new QLabel(texts[TextId::NameDialogLabel], this);
  m_ui.nameEdit = new QLineEdit(loggerName, this);
  m_ui.nameEdit->setMaxLength(name_rules::kMaxLength);
  m_ui.nameEdit->installEventFilter(this);
  m_ui.okButton = new QPushButton(texts[TextId::NameSetButton], this);
  // Enter in the field acts through returnPressed only, never twice through
  // a default button as well.
  m_ui.okButton->setAutoDefault(false);

  auto* row = new QHBoxLayout;
  row->addWidget(m_ui.caption);
  row->addWidget(m_ui.nameEdit);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(m_ui.okButton, 0, Qt::AlignRight);
  setMinimumWidth(280);  // room for the caption in the title bar

  connect(m_ui.okButton, &QPushButton::clicked, this, &LoggerNameDialog::confirm);
  connect(m_ui.nameEdit, &QLineEdit::returnPressed, this, &LoggerNameDialog::confirm);
}

void LoggerNameDialog::setLinkBusy(bool busy) {
  m_linkBusy = busy;
  m_ui.okButton->setEnabled(!busy);
}

void LoggerNameDialog::confirm() {
  if (m_linkBusy) return;
  const QString name = m_ui.nameEdit->text();
  if (name_rules::check(name) != name_rules::NameFault::None) {
    m_prompts.info(m_modelName,
                   name_rules::refusalMessage(m_texts, TextId::NameCharactersRefused, name));
    m_ui.nameEdit->setText(m_loggerName);
    m_ui.nameEdit->setFocus();
    m_ui.nameEdit->selectAll();
    return;
  }
  Q_EMIT nameChosen(name_rules::padded(name));
  accept();
}

void LoggerNameDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  m_ui.nameEdit->setFocus();
  m_ui.nameEdit->selectAll();
}

bool LoggerNameDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_ui.nameEdit && event->type() == QEvent::FocusIn) m_ui.nameEdit->selectAll();
  return QDialog::eventFilter(watched, event);
}

}  // namespace termika
