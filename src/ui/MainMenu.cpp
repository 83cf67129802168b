#include "ui/MainMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace termika {
namespace {

QMenu* menu(QWidget& parent, const char* name, const QString& caption) {
  auto* m = new QMenu(caption, &parent);
  m->setObjectName(QString::fromLatin1(name));
  m->menuAction()->setObjectName(QString::fromLatin1(name));
  if (auto* bar = qobject_cast<QMenuBar*>(&parent)) {
    bar->addMenu(m);
  } else if (auto* owner = qobject_cast<QMenu*>(&parent)) {
    owner->addMenu(m);
  }
  return m;
}

QAction* item(QMenu& owner, const char* name, const QString& caption) {
  QAction* action = owner.addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

}  // namespace

void buildMainMenu(QMenuBar& bar, const UiText& Texts) {
  QMenu* m1 = menu(bar, "m1", Texts[0]);
  item(*m1, "m11", Texts[1]);
  QMenu* m12 = menu(*m1, "m12", Texts[2]);
  item(*m12, "m122", Texts[3]);
  item(*m12, "m121", Texts[4]);
  item(*m1, "m13", Texts[5]);
  m1->addSeparator()->setObjectName(QStringLiteral("m1_"));
  item(*m1, "m14", Texts[6]);

  QMenu* m2 = menu(bar, "m2", Texts[7]);
  QMenu* m21 = menu(*m2, "m21", Texts[8]);
  item(*m21, "m211", Texts[9]);
  item(*m21, "m212", Texts[10]);
  QMenu* m22 = menu(*m2, "m22", Texts[11]);
  item(*m22, "m221", Texts[12]);
  item(*m22, "m222", Texts[13]);
  QMenu* m23 = menu(*m2, "m23", Texts[14]);
  item(*m23, "m231", Texts[15]);
  item(*m23, "m232", Texts[16]);

  QMenu* m3 = menu(bar, "m3", Texts[17]);
  item(*m3, "m35", Texts[18]);
  item(*m3, "m33", Texts[21]);
  item(*m3, "m34", Texts[24]);
  QMenu* downloadMode = menu(*m3, "D_M", Texts[31]);
  auto* speeds = new QActionGroup(downloadMode);
  for (QAction* speed :
       {item(*downloadMode, "D_M_Fast", Texts[32]), item(*downloadMode, "D_M_Slow", Texts[33])}) {
    speed->setCheckable(true);
    speeds->addAction(speed);
  }
  downloadMode->findChild<QAction*>(QStringLiteral("D_M_Fast"))->setChecked(true);

  QMenu* m4 = menu(bar, "m4", Texts[25]);
  item(*m4, "m42", Texts[26]);
  item(*m4, "m41", Texts[27]);
}

}  // namespace termika
