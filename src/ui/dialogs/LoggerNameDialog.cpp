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

LoggerNameDialog::LoggerNameDialog(const UiText& texts, const QString& loggerName, const QString& modelName,
             UserPrompts& prompts, QWidget* parent)
    : QDialog(parent),
      m_texts(texts),
      m_loggerName(loggerName),
      m_modelName(modelName),
      m_prompts(prompts) {
  setObjectName(QStringLiteral("LoggerNameDialog"));
  setWindowTitle(texts[252]);

  m_label = new QLabel(texts[250], this);
  m_label->setObjectName(QStringLiteral("Label1"));
  m_text1 = new QLineEdit(loggerName, this);
  m_text1->setObjectName(QStringLiteral("Text1"));
  m_text1->setMaxLength(name_rules::kMaxLength);
  m_text1->installEventFilter(this);
  m_command1 = new QPushButton(texts[251], this);
  m_command1->setObjectName(QStringLiteral("Command1"));
  // Enter in the field acts through returnPressed only, never twice through
  // a default button as well.
  m_command1->setAutoDefault(false);

  auto* row = new QHBoxLayout;
  row->addWidget(m_label);
  row->addWidget(m_text1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(m_command1, 0, Qt::AlignRight);
  setMinimumWidth(280);  // room for the caption in the title bar

  connect(m_command1, &QPushButton::clicked, this, &LoggerNameDialog::Command1_Click);
  connect(m_text1, &QLineEdit::returnPressed, this, &LoggerNameDialog::Command1_Click);
}

void LoggerNameDialog::setLinkBusy(bool busy) {
  m_linkBusy = busy;
  m_command1->setEnabled(!busy);
}

void LoggerNameDialog::Command1_Click() {
  if (m_linkBusy) return;
  const QString name = m_text1->text();
  if (name_rules::check(name) != name_rules::NameFault::None) {
    m_prompts.info(m_modelName, name_rules::refusalMessage(m_texts, 253, name));
    m_text1->setText(m_loggerName);
    m_text1->setFocus();
    m_text1->selectAll();
    return;
  }
  Q_EMIT nameChosen(name_rules::padded(name));
  accept();
}

void LoggerNameDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  m_text1->setFocus();
  m_text1->selectAll();
}

bool LoggerNameDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_text1 && event->type() == QEvent::FocusIn) m_text1->selectAll();
  return QDialog::eventFilter(watched, event);
}

}  // namespace termika
