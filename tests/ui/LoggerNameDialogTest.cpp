#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "DialogTestSupport.h"
#include "core/base/UiText.h"
#include "ui/dialogs/LoggerNameDialog.h"

namespace termika {
namespace {

// The dialog for logger OLD1 of a QM120-RH; the names it hands on are kept.
struct NameDialog {
  UiText texts = UiText::load(UiText::Language::Japanese);
  ScriptedPrompts prompts;
  LoggerNameDialog dialog{texts, QStringLiteral("OLD1"), QStringLiteral("QM120-RH"), prompts};
  QLineEdit* edit = dialog.controls().nameEdit;
  QPushButton* ok = dialog.controls().okButton;
  QStringList chosen;
  NameDialog() {
    QObject::connect(&dialog, &LoggerNameDialog::nameChosen,
                     [this](const QString& name) { chosen << name; });
  }
};

// A forbidden or double-byte name is refused and the old one comes back; a short name is sent
// padded by the button or Enter, but not while the link is busy.
TEST(LoggerNameDialog, RefusesBadNamesAndSendsAShortOnePadded) {
  NameDialog d;
  d.dialog.show();
  for (const char* typed : {"A/", "名前"}) {
    d.edit->setText(QString::fromUtf8(typed));
    d.ok->click();
    EXPECT_EQ(d.edit->text(), QStringLiteral("OLD1"));
  }
  const QString refused =
      QStringLiteral("QM120-RH|認識名称には次の文字は使えません\r\r           ");
  EXPECT_EQ(messagesShown(d.prompts), (QStringList{refused + QStringLiteral("\\ / : * ? \" < > |"),
                                                   refused + QStringLiteral("名 前")}));
  d.dialog.setLinkBusy(true);
  EXPECT_FALSE(d.ok->isEnabled());
  d.dialog.confirm();
  EXPECT_TRUE(d.chosen.isEmpty());
  EXPECT_NE(d.dialog.result(), QDialog::Accepted);
  d.dialog.setLinkBusy(false);
  d.edit->clear();
  QTest::keyClicks(d.edit, QStringLiteral("XYZUV"));  // the field takes four at most
  EXPECT_EQ(d.edit->text(), QStringLiteral("XYZU"));
  d.edit->setText(QStringLiteral("XY"));
  QTest::keyClick(d.edit, Qt::Key_Return);
  d.edit->setText(QStringLiteral("AB"));
  d.ok->click();
  EXPECT_EQ(d.chosen, (QStringList{QStringLiteral("  XY"), QStringLiteral("  AB")}));
  EXPECT_EQ(d.prompts.calls.size(), 2u);
  EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace termika
