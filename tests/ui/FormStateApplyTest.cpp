#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>

#include "core/app/UiText.h"
#include "ui/dialogs/StateApplier.h"

namespace termika {
namespace {

// A stand-in for the main window with a few of its controls.
struct Window {
  QWidget root;
  QPushButton* command4 = new QPushButton(&root);
  QPushButton* command5 = new QPushButton(&root);
  QLabel* label7 = new QLabel(&root);
  QLabel* label16 = new QLabel(&root);
  QScrollBar* hscroll1 = new QScrollBar(&root);
  QMenu* m3 = new QMenu(&root);
  QAction* m33 = new QAction(&root);
  Window() {
    command4->setObjectName(QStringLiteral("Command4"));
    command5->setObjectName(QStringLiteral("Command5"));
    label7->setObjectName(QStringLiteral("Label7"));
    label16->setObjectName(QStringLiteral("Label16"));
    hscroll1->setObjectName(QStringLiteral("HScroll1"));
    m3->setObjectName(QStringLiteral("m3"));
    m33->setObjectName(QStringLiteral("m33"));
    root.show();
  }
  void apply(bool connected, const char* runState, double volts, int logCount) {
    static const UiText texts = UiText::load(UiText::Language::Japanese);
    LoggerStatus status;
    status.BatteryVoltage = volts;
    StateInputs in;
    in.Connected = connected;
    in.RunState = QString::fromUtf8(runState);
    in.ModelName = QStringLiteral("QM120-RH");
    in.Status = &status;
    in.Texts = &texts;
    in.SetCounts = {logCount, 0, 0};
    ApplyMainWindowState(root, RefreshMainWindowState(in));
  }
};

TEST(FormStateApply, RepresentativeStatesReachTheWidgets) {
  const struct {
    bool connected;
    const char* runState;
    double volts;
    int logCount;
    bool command4, command5, m3, m33, navigation, navigationShown;
    const char* label16;
    const char* label7;
    QColor label7Colour;
  } cases[] = {
      {false, "", 3.0, 0, false, false, true, false, false, true, "----", "----", QColor()},
      {true, "", 3.0, 12, true, true, true, true, true, true, "記録停止", "3.00 V", QColor()},
      {true, "kirokucyu", 2.2, 0, true, false, true, false, false, true, "記録中", "ＮＧ 2.20 V",
       QColor(255, 0, 0)},
      {true, "renzoku", 3.0, 12, false, false, true, false, true, false, "記録停止", "3.00 V",
       QColor()},
  };
  for (const auto& c : cases) {
    Window w;
    w.apply(c.connected, c.runState, c.volts, c.logCount);
    EXPECT_EQ(w.command4->isEnabled(), c.command4) << c.runState << c.connected;
    EXPECT_EQ(w.command5->isEnabled(), c.command5) << c.runState << c.connected;
    EXPECT_EQ(w.m3->menuAction()->isEnabled(), c.m3) << c.runState << c.connected;
    EXPECT_EQ(w.m33->isEnabled(), c.m33) << c.runState << c.connected;
    EXPECT_EQ(w.hscroll1->isEnabled(), c.navigation) << c.runState << c.connected;
    EXPECT_EQ(w.hscroll1->isVisible(), c.navigationShown) << c.runState << c.connected;
    EXPECT_EQ(w.label16->text(), QString::fromUtf8(c.label16));
    EXPECT_EQ(w.label7->text(), QString::fromUtf8(c.label7));
    if (c.label7Colour.isValid()) {
      EXPECT_TRUE(w.label7->autoFillBackground());
      EXPECT_EQ(w.label7->palette().color(QPalette::Window), c.label7Colour);
    }
  }
}

TEST(FormStateApply, CaptionAndColoursOfTheLamp) {
  Window w;
  auto* lamp = new QWidget(&w.root);
  lamp->setObjectName(QStringLiteral("Shape1"));
  w.apply(true, "", 3.0, 0);
  EXPECT_EQ(w.root.windowTitle(), QStringLiteral("[Termika] 温湿度ロガー QM120-RH"));
  EXPECT_EQ(lamp->palette().color(QPalette::Window), QColor(0x80, 0xFF, 0x80));
  w.apply(false, "", 3.0, 0);
  EXPECT_EQ(lamp->palette().color(QPalette::Window), QColor(0, 0, 0));
}

}  // namespace
}  // namespace termika
