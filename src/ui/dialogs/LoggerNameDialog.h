#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace termika {

class UiText;
class UserPrompts;

// The identification name dialog: the user types up to four single-byte
// characters and confirms; a refused name brings the logger's name back.
class LoggerNameDialog final : public QDialog {
  Q_OBJECT

 public:
  // The dialog's controls.
  struct Controls {
    QLabel* caption = nullptr;
    QLineEdit* nameEdit = nullptr;
    QPushButton* okButton = nullptr;
  };
  const Controls& controls() const { return m_ui; }

  LoggerNameDialog(const UiText& texts, const QString& loggerName, const QString& modelName,
                   UserPrompts& prompts, QWidget* parent = nullptr);

  // While an exchange runs the name is not sent: its answers would be taken
  // by the other exchange.
  void setLinkBusy(bool busy);

  void confirm();

 Q_SIGNALS:
  // The name as the logger receives it, four characters padded on the left.
  void nameChosen(const QString& name);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const UiText& m_texts;
  QString m_loggerName;
  QString m_modelName;
  UserPrompts& m_prompts;
  bool m_linkBusy = false;
  Controls m_ui;
};

}  // namespace termika
