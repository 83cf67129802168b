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

#include "FormPrompts.h"
#include "core/app/AppState.h"
#include "core/app/ProgramFiles.h"
#include "core/app/WindowLimits.h"
#include "ui/Lamp.h"
#include "ui/MainWindow.h"

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
  void closeWindow() {
    m_window.reset();
    if (m_files) m_files->close(*m_state);
  }
  void TearDown() override { closeWindow(); }

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
  const QObject& w = *m_window;
  EXPECT_EQ(m_window->objectName(), QStringLiteral("Form1"));
  EXPECT_EQ(missing<QMenu>(w, "m1 m12 m2 m21 m22 m23 m3 D_M m4"), QStringList());
  EXPECT_EQ(missing<QAction>(w,
                             "m11 m121 m122 m13 m14 m211 m212 m221 m222 m231 m232 m31 m32 m33 "
                             "m331 m332 m34 m35 D_M_Fast D_M_Slow m41 m42"),
            QStringList());
  EXPECT_EQ(missing<QLabel>(w,
                            "Label14 Label16 Label26 Label21 Label6 Label19 Label48 Label29 "
                            "Label46 Label31 Label32 Label7 Label8 Label3 Label49 Label39 "
                            "Label24 Label2 Label4 Label10 StatusBar1_1 StatusBar1_2 "
                            "StatusBar1_3"),
            QStringList());
  EXPECT_EQ(missing<QComboBox>(w, "Combo1 Combo2 Combo3 Combo4 Combo5"), QStringList());
  EXPECT_EQ(missing<QRadioButton>(w,
                                  "Option1 Option2 Option3 Option4 Option5 Option6 Option7 Option8 "
                                  "Option9"),
            QStringList());
  EXPECT_EQ(missing<QAbstractButton>(
                w,
                "Command1 Command2 Command3 Command4 Command5 Command10 Command11 Command12 "
                "Command13 Command14 Command15 Command16 Command17 Command18 Command20 "
                "Command21 Command22 Command23 Command24 Command25 Command26 Command27 "
                "Command28"),
            QStringList());
  EXPECT_EQ(missing<QGroupBox>(w, "Frame5 Frame8 Frame11"), QStringList());
  EXPECT_EQ(missing<QScrollBar>(
                w, "VScroll1 VScroll2 VScroll3 VScroll4 HScroll1 HScroll2 HScroll3 HScroll4"),
            QStringList());
  EXPECT_EQ(missing<QFrame>(w, "ondo situdo"), QStringList());
  EXPECT_EQ(missing<QTableView>(w, "ListView1_0 ListView1_1 ListView1_2"), QStringList());
  EXPECT_EQ(missing<Lamp>(w, "Shape1"), QStringList());
  EXPECT_EQ(missing<QStatusBar>(w, "StatusBar1"), QStringList());
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
  EXPECT_EQ(
      captions(*m_window, "Form1 m1 D_M Command5 Command2 Label49 Label31"),
      QStringLiteral("[Termika] 温湿度ロガー |ﾌｧｲﾙ(&F)|ﾀﾞｳﾝﾛｰﾄﾞ ﾓｰﾄﾞ(&D)|ダウンロード|連続測定|"
                     "未接続|上限温度設定"));
  const auto* header = find<QTableView>("ListView1_2")->model();
  EXPECT_EQ(header->headerData(2, Qt::Horizontal).toString(), QStringLiteral("温度 ℃"));
}

TEST_F(MainWindowTest, EnglishCaptionsEverywhere) {
  open(UiText::Language::English);
  const struct {
    const char* names;
    const char* texts;
  } cases[] = {
      {"Form1", "[Termika] Temperature and Humidity Logger "},
      {"m1 m12 m2 m21 m22 m23 m3 D_M m4",
       "File(&F)|Save(&S)|Display(&V)|Log(&L)|RealTime(&R)|File(&F)|Tool(&T)|Download Mode(&D)|"
       "Help(&H)"},
      {"m11 m122 m121 m13 m14 m211 m232 m35 m33 m34 D_M_Fast D_M_Slow m42 m41",
       "Open(&O)|LogData(&L)|RealTimeData(&R)|Print(&P)|End(&X)|Graph(&G)|Dump(&D)|"
       "Communication(&C)|Clock_Setting(&T)|Ident_name_Setting(&N)|High Speed(&H)|"
       "Low Speed(&L)|Verdo Web Page(&W)|Version(&A)"},
      {"Command11 Command5 Command4 Command21 Command24 Command1 Command2 Command22 Command23 "
       "Command14 Command25",
       "Update|Download|Start|Save|Print|One time|Continuous|Save|Print|Open|Print"},
      {"Option3 Option4 Option5 Option6 Option7 Option8 Option9",
       "Sec|Min|Log|Real|File|Graph|Dump"},
      {"Label31 Label32 Label49 StatusBar1_1 Label3 Caption105 Caption153",
       "Upper bound temperature setting|Lower bound temperature setting|Unconnection|"
       "Unconnection|Log|Record interval|Setting at intervals"},
      {"StatusFrame MeasureFrame Frame8", "State|Measurement|Display"},
  };
  for (const auto& c : cases) EXPECT_EQ(captions(*m_window, c.names), QString::fromUtf8(c.texts));
  EXPECT_EQ(find<QTableView>("ListView1_0")->model()->headerData(0, Qt::Horizontal).toString(),
            QStringLiteral("Record No"));
}

TEST_F(MainWindowTest, ListsAreFilled) {
  open();
  // count: first..last (current) of each list.
  const auto summary = [this](const char* name) {
    const QComboBox* c = find<QComboBox>(name);
    return QStringLiteral("%1: %2..%3 (%4)")
        .arg(c->count())
        .arg(c->itemText(0), c->itemText(c->count() - 1), c->currentText());
  };
  const auto items = [this](const char* name) {
    QStringList list;
    for (int i = 0; i < find<QComboBox>(name)->count(); ++i)
      list << find<QComboBox>(name)->itemText(i);
    return list.join(u' ');
  };
  EXPECT_EQ(items("Combo1"), "9600 14400 19200 38400 57600 115200");
  EXPECT_EQ(summary("Combo1"), "6: 9600..115200 (57600)");
  EXPECT_EQ(items("Combo3"), "QM100-RH QM120-RH QM200-RHA");
  EXPECT_EQ(summary("Combo4"), "255: 1..255 (1)");
  EXPECT_EQ(summary("Combo5"), "59: 2..60 (5)");
  EXPECT_EQ(summary("Combo2"), "58: 2..59 (5)");
}

TEST_F(MainWindowTest, NotConnectedLook) {
  open();
  EXPECT_EQ(m_state->ModelName, QStringLiteral("Termika"));
  EXPECT_EQ(captions(*m_window,
                     "Label16 Label7 Label14 Label19 Label6 Label21 Label26 Label48 "
                     "Label8 StatusBar1_1"),
            QStringLiteral("----|----|----|||||||未接続"));
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
  // Only the model with alarms shows their fields.
  EXPECT_TRUE(find<QLabel>("Label29")->isHidden());
  EXPECT_TRUE(find<QLabel>("Label31")->isHidden());
  EXPECT_FALSE(find<QLabel>("StatusBar1_3")->text().isEmpty());  // the clock runs from the start
}

TEST_F(MainWindowTest, FirstStartCreatesTheSettingsFileLaterOnesReadIt) {
  open();
  EXPECT_EQ(readAll(ini()), iniLine(1, 1));
  EXPECT_EQ(find<QComboBox>("Combo4")->currentText(), QStringLiteral("1"));
  closeWindow();
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

TEST_F(MainWindowTest, PickedPortSpeedAndModelTakeEffectAtOnce) {
  open();
  QComboBox* ports = find<QComboBox>("Combo4");
  QTest::keyClick(ports, Qt::Key_7);
  EXPECT_EQ(ports->currentText(), QStringLiteral("7"));
  EXPECT_EQ(m_state->ChosenPort, 7);
  EXPECT_EQ(readAll(ini()), iniLine(1, 7));
  QTest::keyClick(ports, Qt::Key_Down);
  EXPECT_EQ(m_state->ChosenPort, 8);
  EXPECT_EQ(readAll(ini()), iniLine(1, 8));
  QTest::keyClick(find<QComboBox>("Combo1"), Qt::Key_Down);
  EXPECT_EQ(m_state->BaudSetting, QStringLiteral("115200"));
  QComboBox* models = find<QComboBox>("Combo3");
  QTest::keyClick(models, Qt::Key_Down);
  EXPECT_EQ(m_state->ModelName, models->currentText());
  EXPECT_EQ(m_window->windowTitle(),
            QStringLiteral("[Termika] 温湿度ロガー ") + models->currentText());
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
