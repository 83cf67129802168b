#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/app/AppState.h"
#include "core/app/ProgramFiles.h"
#include "core/app/WindowLimits.h"
#include "ui/Lamp.h"
#include "ui/MainWindow.h"
#include "ui/graph/GraphView.h"

namespace termika {
namespace {

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class MainWindowTest : public ::testing::Test {
 protected:
  void open(UiText::Language language = UiText::Language::Japanese) {
    ASSERT_TRUE(m_dir.isValid());
    m_state = std::make_unique<AppState>();
    m_state->Texts = UiText::load(language);
    m_files = std::make_unique<ProgramFiles>(m_dir.path());
    ASSERT_TRUE(m_files->open(*m_state).ok());
    m_window =
        std::make_unique<MainWindow>(*m_state, Settings(m_dir.path(), m_dir.path()), *m_files);
  }
  void TearDown() override {
    m_window.reset();
    if (m_files) m_files->close(*m_state);
  }

  template <typename T>
  T* find(const char* name) const {
    return m_window->findChild<T*>(QString::fromLatin1(name));
  }
  QString ini() const { return m_dir.filePath(QStringLiteral("Logger.ini")); }
  QByteArray iniLine(int port, int chosen) const {
    return QStringLiteral("%1,%2,\"%3\"\r\n").arg(port).arg(chosen).arg(m_dir.path()).toUtf8();
  }

  QTemporaryDir m_dir;
  std::unique_ptr<AppState> m_state;
  std::unique_ptr<ProgramFiles> m_files;
  std::unique_ptr<MainWindow> m_window;
};

TEST_F(MainWindowTest, EveryControlCarriesItsDesignerName) {
  open();
  EXPECT_EQ(m_window->objectName(), QStringLiteral("Form1"));
  for (const char* name : {"m1", "m12", "m2", "m21", "m22", "m23", "m3", "D_M", "m4"}) {
    EXPECT_NE(find<QMenu>(name), nullptr) << name;
  }
  for (const char* name : {"m11",  "m121", "m122",     "m13",      "m14", "m211", "m212", "m221",
                           "m222", "m231", "m232",     "m31",      "m32", "m33",  "m331", "m332",
                           "m34",  "m35",  "D_M_Fast", "D_M_Slow", "m41", "m42"}) {
    EXPECT_NE(find<QAction>(name), nullptr) << name;
  }
  for (const char* name :
       {"Label14", "Label16", "Label26",      "Label21",      "Label6",      "Label19",
        "Label48", "Label29", "Label46",      "Label31",      "Label32",     "Label7",
        "Label8",  "Label3",  "Label49",      "Label39",      "Label24",     "Label2",
        "Label4",  "Label10", "StatusBar1_1", "StatusBar1_2", "StatusBar1_3"}) {
    EXPECT_NE(find<QLabel>(name), nullptr) << name;
  }
  for (const char* name : {"Combo1", "Combo2", "Combo3", "Combo4", "Combo5"}) {
    EXPECT_NE(find<QComboBox>(name), nullptr) << name;
  }
  for (const char* name : {"Option1", "Option2", "Option3", "Option4", "Option5", "Option6",
                           "Option7", "Option8", "Option9"}) {
    EXPECT_NE(find<QRadioButton>(name), nullptr) << name;
  }
  for (int n :
       {1, 2, 3, 4, 5, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20, 21, 22, 23, 24, 25, 26, 27, 28}) {
    EXPECT_NE(find<QAbstractButton>(("Command" + std::to_string(n)).c_str()), nullptr) << n;
  }
  for (const char* name : {"Frame5", "Frame8", "Frame11"})
    EXPECT_NE(find<QGroupBox>(name), nullptr) << name;
  for (const char* name : {"VScroll1", "VScroll2", "VScroll3", "VScroll4", "HScroll1", "HScroll2",
                           "HScroll3", "HScroll4"}) {
    EXPECT_NE(find<QScrollBar>(name), nullptr) << name;
  }
  for (const char* name : {"ondo", "situdo"}) EXPECT_NE(find<GraphView>(name), nullptr) << name;
  for (const char* name : {"ListView1_0", "ListView1_1", "ListView1_2"}) {
    EXPECT_NE(find<QTableView>(name), nullptr) << name;
  }
  EXPECT_NE(find<Lamp>("Shape1"), nullptr);
  EXPECT_NE(find<QStatusBar>("StatusBar1"), nullptr);
}

TEST_F(MainWindowTest, HiddenItemsAndStartUpChoices) {
  open();
  for (const char* name : {"m31", "m32", "m331", "m332"})
    EXPECT_FALSE(find<QAction>(name)->isVisible()) << name;
  EXPECT_TRUE(find<QGroupBox>("Frame5")->isHidden());
  EXPECT_TRUE(find<QAction>("D_M_Fast")->isChecked());
  EXPECT_FALSE(find<QAction>("D_M_Slow")->isChecked());
  EXPECT_TRUE(find<QRadioButton>("Option5")->isChecked());
  EXPECT_TRUE(find<QRadioButton>("Option8")->isChecked());
  EXPECT_EQ(m_state->CurrentSet, kLogSet);
}

TEST_F(MainWindowTest, JapaneseCaptions) {
  open();
  EXPECT_EQ(m_window->windowTitle(), QStringLiteral("[Termika] 温湿度ロガー "));
  EXPECT_EQ(find<QMenu>("m1")->title(), QStringLiteral("ﾌｧｲﾙ(&F)"));
  EXPECT_EQ(find<QMenu>("D_M")->title(), QStringLiteral("ﾀﾞｳﾝﾛｰﾄﾞ ﾓｰﾄﾞ(&D)"));
  EXPECT_EQ(find<QAbstractButton>("Command5")->text(), QStringLiteral("ダウンロード"));
  EXPECT_EQ(find<QAbstractButton>("Command2")->text(), QStringLiteral("連続測定"));
  EXPECT_EQ(find<QLabel>("Label49")->text(), QStringLiteral("未接続"));
  EXPECT_EQ(find<QLabel>("Label31")->text(), QStringLiteral("上限温度設定"));
  const auto* header = find<QTableView>("ListView1_2")->model();
  EXPECT_EQ(header->headerData(2, Qt::Horizontal).toString(), QStringLiteral("温度 ℃"));
}

TEST_F(MainWindowTest, EnglishCaptionsEverywhere) {
  open(UiText::Language::English);
  EXPECT_EQ(m_window->windowTitle(), QStringLiteral("[Termika] Temperature and Humidity Logger "));
  struct Menu {
    const char* name;
    const char* title;
  };
  for (const Menu& m :
       {Menu{"m1", "File(&F)"}, Menu{"m12", "Save(&S)"}, Menu{"m2", "Display(&V)"},
        Menu{"m21", "Log(&L)"}, Menu{"m22", "RealTime(&R)"}, Menu{"m23", "File(&F)"},
        Menu{"m3", "Tool(&T)"}, Menu{"D_M", "Download Mode(&D)"}, Menu{"m4", "Help(&H)"}}) {
    EXPECT_EQ(find<QMenu>(m.name)->title(), QString::fromUtf8(m.title)) << m.name;
  }
  for (const Menu& m :
       {Menu{"m11", "Open(&O)"}, Menu{"m122", "LogData(&L)"}, Menu{"m121", "RealTimeData(&R)"},
        Menu{"m13", "Print(&P)"}, Menu{"m14", "End(&X)"}, Menu{"m211", "Graph(&G)"},
        Menu{"m232", "Dump(&D)"}, Menu{"m35", "Communication(&C)"},
        Menu{"m33", "Clock_Setting(&T)"}, Menu{"m34", "Ident_name_Setting(&N)"},
        Menu{"D_M_Fast", "High Speed(&H)"}, Menu{"D_M_Slow", "Low Speed(&L)"},
        Menu{"m42", "Verdo Web Page(&W)"}, Menu{"m41", "Version(&A)"}}) {
    EXPECT_EQ(find<QAction>(m.name)->text(), QString::fromUtf8(m.title)) << m.name;
  }
  for (const Menu& b :
       {Menu{"Command11", "Update"}, Menu{"Command5", "Download"}, Menu{"Command4", "Start"},
        Menu{"Command21", "Save"}, Menu{"Command24", "Print"}, Menu{"Command1", "One time"},
        Menu{"Command2", "Continuous"}, Menu{"Command22", "Save"}, Menu{"Command23", "Print"},
        Menu{"Command14", "Open"}, Menu{"Command25", "Print"}, Menu{"Option3", "Sec"},
        Menu{"Option4", "Min"}, Menu{"Option5", "Log"}, Menu{"Option6", "Real"},
        Menu{"Option7", "File"}, Menu{"Option8", "Graph"}, Menu{"Option9", "Dump"}}) {
    EXPECT_EQ(find<QAbstractButton>(b.name)->text(), QString::fromUtf8(b.title)) << b.name;
  }
  for (const Menu& l :
       {Menu{"Label31", "Upper bound temperature setting"},
        Menu{"Label32", "Lower bound temperature setting"}, Menu{"Label49", "Unconnection"},
        Menu{"StatusBar1_1", "Unconnection"}, Menu{"Label3", "Log"},
        Menu{"Caption105", "Record interval"}, Menu{"Caption153", "Setting at intervals"}}) {
    const QLabel* label = find<QLabel>(l.name);
    ASSERT_NE(label, nullptr) << l.name;
    EXPECT_EQ(label->text(), QString::fromUtf8(l.title)) << l.name;
  }
  EXPECT_EQ(find<QGroupBox>("StatusFrame")->title(), QStringLiteral("State"));
  EXPECT_EQ(find<QGroupBox>("MeasureFrame")->title(), QStringLiteral("Measurement"));
  EXPECT_EQ(find<QGroupBox>("Frame8")->title(), QStringLiteral("Display"));
  EXPECT_EQ(find<QTableView>("ListView1_0")->model()->headerData(0, Qt::Horizontal).toString(),
            QStringLiteral("Record No"));
}

TEST_F(MainWindowTest, ListsAreFilled) {
  open();
  const auto items = [](const QComboBox* combo) {
    QStringList list;
    for (int i = 0; i < combo->count(); ++i) list << combo->itemText(i);
    return list;
  };
  EXPECT_EQ(items(find<QComboBox>("Combo1")),
            (QStringList{"9600", "14400", "19200", "38400", "57600", "115200"}));
  EXPECT_EQ(find<QComboBox>("Combo1")->currentText(), QStringLiteral("57600"));
  EXPECT_EQ(items(find<QComboBox>("Combo3")), (QStringList{"QM100-RH", "QM120-RH", "QM200-RHA"}));
  const QComboBox* ports = find<QComboBox>("Combo4");
  ASSERT_EQ(ports->count(), 255);
  EXPECT_EQ(ports->itemText(0), QStringLiteral("1"));
  EXPECT_EQ(ports->itemText(254), QStringLiteral("255"));
  const QComboBox* interval = find<QComboBox>("Combo5");
  ASSERT_EQ(interval->count(), 59);
  EXPECT_EQ(interval->itemText(0), QStringLiteral("2"));
  EXPECT_EQ(interval->itemText(58), QStringLiteral("60"));
  EXPECT_EQ(interval->currentText(), QStringLiteral("5"));
  const QComboBox* range = find<QComboBox>("Combo2");
  ASSERT_EQ(range->count(), 58);
  EXPECT_EQ(range->itemText(57), QStringLiteral("59"));
  EXPECT_EQ(range->currentText(), QStringLiteral("5"));
}

TEST_F(MainWindowTest, NotConnectedLook) {
  open();
  EXPECT_EQ(m_state->ModelName, QStringLiteral("Termika"));
  for (const char* name : {"Label16", "Label7", "Label14"}) {
    EXPECT_EQ(find<QLabel>(name)->text(), QStringLiteral("----")) << name;
  }
  for (const char* name : {"Label19", "Label6", "Label21", "Label26", "Label48", "Label8"}) {
    EXPECT_TRUE(find<QLabel>(name)->text().isEmpty()) << name;
  }
  for (const char* name : {"Combo1", "Combo3", "Combo4", "Option5", "Option9"}) {
    EXPECT_TRUE(find<QWidget>(name)->isEnabled()) << name;
  }
  for (const char* name : {"Command27", "Command1", "Command2", "Command4", "Command5", "Command11",
                           "Command13", "Combo5", "Option3", "Command21", "Command22", "Command25",
                           "VScroll1", "HScroll4", "Command12"}) {
    EXPECT_FALSE(find<QWidget>(name)->isEnabled()) << name;
  }
  EXPECT_TRUE(find<QMenu>("m1")->menuAction()->isEnabled());
  EXPECT_TRUE(find<QAction>("m11")->isEnabled());
  EXPECT_FALSE(find<QAction>("m33")->isEnabled());
  EXPECT_FALSE(find<QAction>("m34")->isEnabled());
  EXPECT_FALSE(find<QAction>("m13")->isEnabled());  // nothing to print
  EXPECT_EQ(find<Lamp>("Shape1")->color(), QColor(Qt::black));
  EXPECT_EQ(find<QLabel>("StatusBar1_1")->text(), QStringLiteral("未接続"));
  // Only the model with alarms shows their fields.
  EXPECT_TRUE(find<QLabel>("Label29")->isHidden());
  EXPECT_TRUE(find<QLabel>("Label31")->isHidden());
  EXPECT_FALSE(find<QLabel>("StatusBar1_3")->text().isEmpty());  // the clock runs from the start
}

TEST_F(MainWindowTest, FirstStartCreatesTheSettingsFile) {
  open();
  EXPECT_EQ(readAll(ini()), iniLine(1, 1));
  EXPECT_EQ(find<QComboBox>("Combo4")->currentText(), QStringLiteral("1"));
}

TEST_F(MainWindowTest, StartsWithTheSavedPortsAndFolder) {
  ASSERT_TRUE(m_dir.isValid());
  {
    QFile file(ini());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("3,9,\"/srv/data\"\r\n");
  }
  open();
  EXPECT_EQ(m_state->PortNumber, 3);
  EXPECT_EQ(m_state->ChosenPort, 9);
  EXPECT_EQ(m_state->WorkingFolder, QStringLiteral("/srv/data"));
  EXPECT_EQ(find<QComboBox>("Combo4")->currentText(), QStringLiteral("9"));
}

TEST_F(MainWindowTest, PickingAPortRewritesTheSettingsAtOnce) {
  open();
  QComboBox* ports = find<QComboBox>("Combo4");
  QTest::keyClick(ports, Qt::Key_7);
  EXPECT_EQ(ports->currentText(), QStringLiteral("7"));
  EXPECT_EQ(m_state->ChosenPort, 7);
  EXPECT_EQ(readAll(ini()), iniLine(1, 7));
  QTest::keyClick(ports, Qt::Key_Down);
  EXPECT_EQ(m_state->ChosenPort, 8);
  EXPECT_EQ(readAll(ini()), iniLine(1, 8));
}

TEST_F(MainWindowTest, ChangesMadeInCodeDoNotRunTheClickHandlers) {
  open();
  const QByteArray before = readAll(ini());
  find<QComboBox>("Combo4")->setCurrentText(QStringLiteral("12"));
  find<QComboBox>("Combo4")->setCurrentIndex(40);
  find<QComboBox>("Combo1")->setCurrentText(QStringLiteral("9600"));
  find<QComboBox>("Combo3")->setCurrentIndex(1);
  EXPECT_EQ(m_state->ChosenPort, 1);
  EXPECT_EQ(readAll(ini()), before);
  EXPECT_EQ(m_state->BaudSetting, QStringLiteral("57600"));
  EXPECT_EQ(m_state->ModelName, QStringLiteral("Termika"));
  EXPECT_EQ(m_window->windowTitle(), QStringLiteral("[Termika] 温湿度ロガー "));
}

TEST_F(MainWindowTest, SpeedAndModelListsSetTheirFieldsWhenPicked) {
  open();
  QTest::keyClick(find<QComboBox>("Combo1"), Qt::Key_Down);
  EXPECT_EQ(m_state->BaudSetting, QStringLiteral("115200"));
  QComboBox* models = find<QComboBox>("Combo3");
  QTest::keyClick(models, Qt::Key_Down);
  EXPECT_EQ(m_state->ModelName, models->currentText());
  EXPECT_EQ(m_window->windowTitle(),
            QStringLiteral("[Termika] 温湿度ロガー ") + models->currentText());
}

TEST_F(MainWindowTest, WindowSizeStaysWithinTheTwipLimits) {
  open();
  const WindowLimits limits = windowLimits(m_window->screen()->logicalDotsPerInch());
  EXPECT_EQ(m_window->minimumSize(), limits.minimum);
  EXPECT_EQ(m_window->maximumSize(), limits.maximum);
  EXPECT_GE(m_window->width(), limits.minimum.width());
  EXPECT_LE(m_window->width(), limits.maximum.width());
  EXPECT_LE(m_window->height(), limits.maximum.height());
}

TEST_F(MainWindowTest, ClosingStopsTheLinkAsksThenCleansUp) {
  open();
  QStringList order;
  m_window->setLinkStopper([&] { order << QStringLiteral("stop"); });
  m_window->setSaveAsker([&](int set, const QString&) {
    order << QStringLiteral("ask %1").arg(set);
    return SaveOutcome::Declined;
  });
  QTest::keyClick(find<QComboBox>("Combo4"), Qt::Key_5);
  order.clear();
  m_window->show();
  m_window->close();
  EXPECT_EQ(order, (QStringList{"stop", "ask 0", "ask 1"}));
  for (const char* name : {"real.rand", "log.rand", "disp.rand", "read.rand"}) {
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QString::fromLatin1(name)))) << name;
  }
  EXPECT_EQ(readAll(ini()), iniLine(1, 5));
  for (int set = 0; set < kSetCount; ++set) EXPECT_FALSE(m_state->file(set).isOpen());
}

}  // namespace
}  // namespace termika
