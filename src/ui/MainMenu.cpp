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

void buildMainMenu(QMenuBar& bar, const UiText& texts) {
  QMenu* m1 = menu(bar, "m1", texts[0]);
  item(*m1, "m11", texts[1]);
  QMenu* m12 = menu(*m1, "m12", texts[2]);
  item(*m12, "m122", texts[3]);
  item(*m12, "m121", texts[4]);
  item(*m1, "m13", texts[5]);
  m1->addSeparator()->setObjectName(QStringLiteral("m1_"));
  item(*m1, "m14", texts[6]);

  QMenu* m2 = menu(bar, "m2", texts[7]);
  QMenu* m21 = menu(*m2, "m21", texts[8]);
  item(*m21, "m211", texts[9]);
  item(*m21, "m212", texts[10]);
  QMenu* m22 = menu(*m2, "m22", texts[11]);
  item(*m22, "m221", texts[12]);
  item(*m22, "m222", texts[13]);
  QMenu* m23 = menu(*m2, "m23", texts[14]);
  item(*m23, "m231", texts[15]);
  item(*m23, "m232", texts[16]);

  QMenu* m3 = menu(bar, "m3", texts[17]);
  item(*m3, "m35", texts[18]);
  item(*m3, "m33", texts[21]);
  item(*m3, "m34", texts[24]);
  QMenu* downloadMode = menu(*m3, "D_M", texts[31]);
  auto* speeds = new QActionGroup(downloadMode);
  for (QAction* speed :
       {item(*downloadMode, "D_M_Fast", texts[32]), item(*downloadMode, "D_M_Slow", texts[33])}) {
    speed->setCheckable(true);
    speeds->addAction(speed);
  }
  downloadMode->findChild<QAction*>(QStringLiteral("D_M_Fast"))->setChecked(true);

  QMenu* m4 = menu(bar, "m4", texts[25]);
  item(*m4, "m42", texts[26]);
  item(*m4, "m41", texts[27]);
}

}  // namespace termika
