#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "core/model/AppState.h"
#include "ui/MessageBoxPrompts.h"

namespace termika {
namespace {

// Only an explicit Yes acts (closing the box is No); an empty title is the model's name, and
// the carriage returns of the old messages break lines.
TEST(MainWindowPrompts, QuestionsActOnlyOnYesAndBoxesShowTitleAndLines) {
  AppState state;
  state.modelName = QStringLiteral("QM120-RH");
  QWidget parent;
  MessageBoxPrompts prompts(&parent, state);
  QString seen;  // the title and text of the last box, answered with `button`
  const auto answer = [&seen](QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [&seen, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      seen = box->windowTitle() + u'|' + box->text();
      button == QMessageBox::Escape ? box->reject() : box->button(button)->click();
    });
  };
  for (const auto& [button, yes] : {std::pair{QMessageBox::Yes, true},
                                    {QMessageBox::No, false},
                                    {QMessageBox::Escape, false}}) {
    answer(button);
    EXPECT_EQ(prompts.ask(QString(), QStringLiteral("A\r\rB\r\nC")), yes) << button;
    EXPECT_EQ(seen, QStringLiteral("QM120-RH|A\n\nB\nC"));
  }
  answer(QMessageBox::Ok);
  prompts.info(QStringLiteral("Download"), QStringLiteral("D"));
  EXPECT_EQ(seen, QStringLiteral("Download|D"));
}

}  // namespace
}  // namespace termika
