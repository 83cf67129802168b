#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "core/app/AppState.h"
#include "ui/MessageBoxPrompts.h"

namespace termika {
namespace {

// Answers the next message box with `button`, noting its title and text.
struct BoxAnswer {
  QMessageBox::StandardButton button;
  QString title;
  QString text;

  void arm() {
    QTimer::singleShot(0, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      title = box->windowTitle();
      text = box->text();
      if (button == QMessageBox::Escape) {
        box->reject();
      } else {
        box->button(button)->click();
      }
    });
  }
};

TEST(MainWindowPrompts, QuestionsActOnlyOnYesAndInfoKeepsAnExplicitTitle) {
  AppState state;
  state.ModelName = QStringLiteral("QM120-RH");
  QWidget parent;
  MessageBoxPrompts prompts(&parent, state);
  struct Case {
    QMessageBox::StandardButton button;
    bool expected;
  };
  for (const Case& c : {Case{QMessageBox::Yes, true}, Case{QMessageBox::No, false},
                        Case{QMessageBox::Escape, false}}) {
    BoxAnswer answer{c.button, {}, {}};
    answer.arm();
    EXPECT_EQ(prompts.ask(QString(), state.Texts.joined(1093, 1094)), c.expected) << c.button;
    EXPECT_EQ(answer.title, QStringLiteral("QM120-RH"));
    EXPECT_EQ(answer.text,
              QStringLiteral("先にダウンロードしたデータは保存されていません。\n\n保存しますか？"));
  }
  BoxAnswer answer{QMessageBox::Ok, {}, {}};
  answer.arm();
  prompts.info(state.Texts[1095], state.Texts[1096]);
  EXPECT_EQ(answer.title, QStringLiteral("ダウンロード"));
  EXPECT_EQ(answer.text, QStringLiteral("ﾀﾞｳﾝﾛｰﾄﾞﾃﾞｰﾀはありません"));
}

TEST(MainWindowPrompts, CarriageReturnsBecomeLineBreaks) {
  struct Case {
    const char* in;
    const char* out;
  };
  for (const Case& c :
       {Case{"a\r\rb", "a\n\nb"}, Case{"a\r\nb", "a\nb"}, Case{"plain", "plain"}, Case{"", ""}}) {
    EXPECT_EQ(MessageBoxPrompts::displayText(QString::fromLatin1(c.in)), QString::fromLatin1(c.out))
        << c.in;
  }
}

}  // namespace
}  // namespace termika
