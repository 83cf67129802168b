#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "core/model/AppState.h"
#include "ui/MessageBoxPrompts.h"

namespace termika {
namespace {

// Answers the next message box with `button` (Escape: closes it), noting
// its title and text.
struct BoxAnswer {
  QMessageBox::StandardButton button;
  QString seen;
  void arm() {
    QTimer::singleShot(0, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      seen = box->windowTitle() + u'|' + box->text();
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
  state.modelName = QStringLiteral("QM120-RH");
  QWidget parent;
  MessageBoxPrompts prompts(&parent, state);
  for (const auto& [button, expected] : {std::pair{QMessageBox::Yes, true},
                                         {QMessageBox::No, false},
                                         {QMessageBox::Escape, false}}) {
    BoxAnswer answer{button, {}};
    answer.arm();
    EXPECT_EQ(prompts.ask(QString(),
                          state.texts.joined(TextId::DownloadNotSaved, TextId::SaveItQuestion)),
              expected)
        << button;
    EXPECT_EQ(answer.seen,
              QStringLiteral("QM120-RH|先にダウンロードしたデータは保存されていません。"
                             "\n\n保存しますか？"));
  }
  BoxAnswer answer{QMessageBox::Ok, {}};
  answer.arm();
  prompts.info(state.texts[TextId::DownloadTitle], state.texts[TextId::NoDownloadData]);
  EXPECT_EQ(answer.seen, QStringLiteral("ダウンロード|ﾀﾞｳﾝﾛｰﾄﾞﾃﾞｰﾀはありません"));
}

}  // namespace
}  // namespace termika
