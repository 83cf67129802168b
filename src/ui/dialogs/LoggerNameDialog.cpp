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

  m_label = new QLabel(texts[TextId::NameDialogLabel], this);
  m_label->setObjectName(QStringLiteral("Label1"));
  m_nameEdit = new QLineEdit(loggerName, this);
  m_nameEdit->setObjectName(QStringLiteral("Text1"));
  m_nameEdit->setMaxLength(name_rules::kMaxLength);
  m_nameEdit->installEventFilter(this);
  m_okButton = new QPushButton(texts[TextId::NameSetButton], this);
  m_okButton->setObjectName(QStringLiteral("Command1"));
  // Enter in the field acts through returnPressed only, never twice through
  // a default button as well.
  m_okButton->setAutoDefault(false);

  auto* row = new QHBoxLayout;
  row->addWidget(m_label);
  row->addWidget(m_nameEdit);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(m_okButton, 0, Qt::AlignRight);
  setMinimumWidth(280);  // room for the caption in the title bar

  connect(m_okButton, &QPushButton::clicked, this, &LoggerNameDialog::confirm);
  connect(m_nameEdit, &QLineEdit::returnPressed, this, &LoggerNameDialog::confirm);
}

void LoggerNameDialog::setLinkBusy(bool busy) {
  m_linkBusy = busy;
  m_okButton->setEnabled(!busy);
}

void LoggerNameDialog::confirm() {
  if (m_linkBusy) return;
  const QString name = m_nameEdit->text();
  if (name_rules::check(name) != name_rules::NameFault::None) {
    m_prompts.info(m_modelName,
                   name_rules::refusalMessage(m_texts, TextId::NameCharactersRefused, name));
    m_nameEdit->setText(m_loggerName);
    m_nameEdit->setFocus();
    m_nameEdit->selectAll();
    return;
  }
  Q_EMIT nameChosen(name_rules::padded(name));
  accept();
}

void LoggerNameDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  m_nameEdit->setFocus();
  m_nameEdit->selectAll();
}

bool LoggerNameDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_nameEdit && event->type() == QEvent::FocusIn) m_nameEdit->selectAll();
  return QDialog::eventFilter(watched, event);
}

}  // namespace termika
