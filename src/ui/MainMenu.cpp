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
  QMenu* m1 = menu(bar, "m1", texts[TextId::MenuFile]);
  item(*m1, "m11", texts[TextId::MenuOpen]);
  QMenu* m12 = menu(*m1, "m12", texts[TextId::MenuSave]);
  item(*m12, "m122", texts[TextId::MenuSaveLogData]);
  item(*m12, "m121", texts[TextId::MenuSaveRealTimeData]);
  item(*m1, "m13", texts[TextId::MenuPrint]);
  m1->addSeparator()->setObjectName(QStringLiteral("m1_"));
  item(*m1, "m14", texts[TextId::MenuExit]);

  QMenu* m2 = menu(bar, "m2", texts[TextId::MenuView]);
  QMenu* m21 = menu(*m2, "m21", texts[TextId::MenuViewLog]);
  item(*m21, "m211", texts[TextId::MenuViewLogGraph]);
  item(*m21, "m212", texts[TextId::MenuViewLogDump]);
  QMenu* m22 = menu(*m2, "m22", texts[TextId::MenuViewRealTime]);
  item(*m22, "m221", texts[TextId::MenuViewRealTimeGraph]);
  item(*m22, "m222", texts[TextId::MenuViewRealTimeDump]);
  QMenu* m23 = menu(*m2, "m23", texts[TextId::MenuViewFile]);
  item(*m23, "m231", texts[TextId::MenuViewFileGraph]);
  item(*m23, "m232", texts[TextId::MenuViewFileDump]);

  QMenu* m3 = menu(bar, "m3", texts[TextId::MenuTools]);
  item(*m3, "m35", texts[TextId::MenuCommunication]);
  item(*m3, "m33", texts[TextId::MenuClockSettings]);
  item(*m3, "m34", texts[TextId::MenuLoggerName]);
  QMenu* downloadMode = menu(*m3, "D_M", texts[TextId::MenuDownloadMode]);
  auto* speeds = new QActionGroup(downloadMode);
  for (QAction* speed : {item(*downloadMode, "D_M_Fast", texts[TextId::MenuHighSpeed]),
                         item(*downloadMode, "D_M_Slow", texts[TextId::MenuLowSpeed])}) {
    speed->setCheckable(true);
    speeds->addAction(speed);
  }
  downloadMode->findChild<QAction*>(QStringLiteral("D_M_Fast"))->setChecked(true);

  QMenu* m4 = menu(bar, "m4", texts[TextId::MenuHelp]);
  item(*m4, "m42", texts[TextId::MenuWebPage]);
  item(*m4, "m41", texts[TextId::MenuVersion]);
}

}  // namespace termika
