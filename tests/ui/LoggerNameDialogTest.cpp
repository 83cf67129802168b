#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "DialogTestSupport.h"
#include "core/base/UiText.h"
#include "ui/dialogs/LoggerNameDialog.h"

namespace termika {
namespace {

struct NameDialog {
  UiText texts;
  ScriptedPrompts prompts;
  LoggerNameDialog dialog;
  QStringList chosen;
  explicit NameDialog(UiText::Language language = UiText::Language::Japanese)
      : texts(UiText::load(language)),
        dialog(texts, QStringLiteral("OLD1"), QStringLiteral("QM120-RH"), prompts) {
    QObject::connect(&dialog, &LoggerNameDialog::nameChosen,
                     [this](const QString& name) { chosen << name; });
  }
  QLineEdit* nameEdit() { return dialog.controls().nameEdit; }
  QPushButton* okButton() { return dialog.controls().okButton; }
};

TEST(LoggerNameDialog, ForbiddenOrDoubleByteNamesAreRefusedAndTheOldNameComesBack) {
  const struct {
    const char* typed;
    const char* detail;
  } cases[] = {{"A/", "\\ / : * ? \" < > |"}, {"|", "\\ / : * ? \" < > |"}, {"名前", "名 前"}};
  for (const auto& c : cases) {
    NameDialog d;
    d.nameEdit()->setText(QString::fromUtf8(c.typed));
    d.okButton()->click();
    ASSERT_EQ(d.prompts.calls.size(), 1u) << c.typed;
    EXPECT_EQ(d.prompts.calls[0].title, QStringLiteral("QM120-RH"));
    EXPECT_EQ(d.prompts.calls[0].message,
              QStringLiteral("認識名称には次の文字は使えません\r\r           ") +
                  QString::fromUtf8(c.detail));
    EXPECT_EQ(d.nameEdit()->text(), QStringLiteral("OLD1"));
    EXPECT_TRUE(d.chosen.isEmpty());
    EXPECT_NE(d.dialog.result(), QDialog::Accepted);
  }
}

TEST(LoggerNameDialog, AShortNameIsSentPaddedByButtonOrEnterButNotWhileTheLinkIsBusy) {
  NameDialog d;
  d.dialog.show();
  d.dialog.setLinkBusy(true);
  EXPECT_FALSE(d.okButton()->isEnabled());
  d.dialog.confirm();
  EXPECT_TRUE(d.chosen.isEmpty());
  d.dialog.setLinkBusy(false);
  d.nameEdit()->clear();
  QTest::keyClicks(d.nameEdit(), QStringLiteral("XYZUV"));  // the field takes four at most
  EXPECT_EQ(d.nameEdit()->text(), QStringLiteral("XYZU"));
  d.nameEdit()->setText(QStringLiteral("XY"));
  QTest::keyClick(d.nameEdit(), Qt::Key_Return);
  d.nameEdit()->setText(QStringLiteral("AB"));
  d.okButton()->click();
  EXPECT_EQ(d.chosen, (QStringList{QStringLiteral("  XY"), QStringLiteral("  AB")}));
  EXPECT_TRUE(d.prompts.calls.empty());
  EXPECT_EQ(d.dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace termika
