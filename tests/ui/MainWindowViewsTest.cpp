// The main window's views, menus and state table on real widgets.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/app/AppState.h"
#include "core/app/ProgramFiles.h"
#include "ui/DataViews.h"
#include "ui/HelpPage.h"
#include "ui/Lamp.h"
#include "ui/MainWindow.h"
#include "ui/graph/GraphScrollBar.h"
#include "ui/graph/GraphView.h"

namespace termika {
namespace {

// Three points over five minutes; the header announces a lower alarm of 5 °C,
// so the file comes from the model with alarms.
QByteArray threePointFile() {
  return QStringEncoder("windows-31j")
      .encode(QStringLiteral("\"認識名称\",\"開始時刻\",\"記録点数\",\"記録間隔\","
                             "\"上限温度設定\",\"下限温度設定\"\r\n"
                             "\"ﾛｶﾞｰ\",\"2013/05/01 10:00:00\",\"3\",\"60\",\"OFF\",\"5\"\r\n"
                             "\"記録番号\",\"日時\",\"温度\",\"湿度\",\"備考\"\r\n"
                             "1,\"2013/05/01 10:00:00\",\"20.00\",\"50.00\",\"\"\r\n"
                             "2,\"2013/05/01 10:01:00\",\"22.50\",\"45.00\",\"\"\r\n"
                             "3,\"2013/05/01 10:05:00\",\"-1.25\",\"60.00\",\"\"\r\n"));
}

// The same file as an English run writes it.
QByteArray threePointFileInEnglish() {
  return "\"Recognition name\",\"Start time\",\"Recording points\",\"Record interval\","
         "\"Upper bound temperature setting\",\"Lower bound temperature setting\"\r\n"
         "\"LOG1\",\"2013/05/01 10:00:00\",\"3\",\"60\",\"OFF\",\"5\"\r\n"
         "\"Record number\",\"Date\",\"Temperature\",\"Humidity\",\"Remarks\"\r\n"
         "1,\"2013/05/01 10:00:00\",\"20.00\",\"50.00\",\"\"\r\n"
         "2,\"2013/05/01 10:01:00\",\"22.50\",\"45.00\",\"\"\r\n"
         "3,\"2013/05/01 10:05:00\",\"-1.25\",\"60.00\",\"\"\r\n";
}

class MainWindowViewsTest : public ::testing::Test {
 protected:
  void open(UiText::Language language = UiText::Language::Japanese) {
    ASSERT_TRUE(m_dir.isValid());
    m_state = std::make_unique<AppState>();
    m_state->Texts = UiText::load(language);
    m_files = std::make_unique<ProgramFiles>(m_dir.path());
    ASSERT_TRUE(m_files->open(*m_state).ok());
    m_window =
        std::make_unique<MainWindow>(*m_state, Settings(m_dir.path(), m_dir.path()), *m_files);
    m_window->resize(1200, 900);
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
  }
  void TearDown() override {
    m_window.reset();
    if (m_files) m_files->close(*m_state);
  }
  QString writeCsv() {
    const QString path = m_dir.filePath(QStringLiteral("in.csv"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(m_state->Texts.language() == UiText::Language::English ? threePointFileInEnglish()
                                                                   : threePointFile());
    return path;
  }
  template <typename T>
  T* find(const char* name) const {
    T* found = m_window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  int bar(Bar b) const { return m_window->views().navigation().bar(b).value; }
  // The value the user sees on the widget, in the bar's own direction.
  int widgetBar(const char* name) const {
    const QScrollBar* w = find<QScrollBar>(name);
    return StateValueOf(*w, w->value());
  }
  QString panel2() const { return find<QLabel>("StatusBar1_2")->text(); }

  QTemporaryDir m_dir;
  std::unique_ptr<AppState> m_state;
  std::unique_ptr<ProgramFiles> m_files;
  std::unique_ptr<MainWindow> m_window;
};

TEST_F(MainWindowViewsTest, GraphsAndListsReplaceThePlaceholders) {
  open();
  EXPECT_NE(find<GraphView>("ondo"), nullptr);
  EXPECT_NE(find<GraphView>("situdo"), nullptr);
  for (const char* name : {"ListView1_0", "ListView1_1", "ListView1_2"}) {
    const QTableView* list = find<QTableView>(name);
    EXPECT_NE(qobject_cast<const DumpModel*>(list->model()), nullptr) << name;
  }
  // Graph bars redraw on release only.
  for (const char* name : {"HScroll1", "HScroll4", "VScroll1", "VScroll4"})
    EXPECT_FALSE(find<QScrollBar>(name)->hasTracking()) << name;
}

TEST_F(MainWindowViewsTest, EverySetStartsWithTheDefaultBarsSaved) {
  open();
  // Half-spans 10.0 °C and 10.0 %RH, centres 25.0 °C and 50.0 %RH.
  for (int set = 0; set < kSetCount; ++set) {
    const DataSet& s = m_state->set(set);
    EXPECT_EQ(s.View[VScroll1].value, 100) << set;
    EXPECT_EQ(s.View[VScroll2].value, 250) << set;
    EXPECT_EQ(s.View[VScroll4].value, 500) << set;
  }
  EXPECT_EQ(widgetBar("VScroll2"), 250);
}

TEST_F(MainWindowViewsTest, OpeningACsvShowsTheFileSetFittedToItsPoints) {
  open();
  ASSERT_TRUE(m_window->m11_Click(writeCsv()));
  EXPECT_EQ(m_state->CurrentSet, kFileSet);
  EXPECT_TRUE(find<QRadioButton>("Option7")->isChecked());
  EXPECT_EQ(find<QLabel>("Label3")->text(), QStringLiteral("ファイル"));
  EXPECT_EQ(find<QTableView>("ListView1_2")->model()->rowCount(), 3);
  EXPECT_TRUE(find<QAbstractButton>("Command25")->isEnabled());
  EXPECT_TRUE(find<QScrollBar>("VScroll1")->isEnabled());
  EXPECT_TRUE(find<QAction>("m13")->isEnabled());

  // 300 s of data: one second per step, the widest window is the whole set.
  EXPECT_EQ(bar(HScroll1), 300);
  EXPECT_EQ(bar(HScroll2), 0);
  EXPECT_EQ(bar(HScroll3), 300);
  // Centres halfway between the extremes: (22.50 + -1.25) / 2 and (60 + 45) / 2.
  EXPECT_EQ(bar(VScroll2), 106);
  EXPECT_EQ(bar(VScroll4), 525);
  EXPECT_EQ(widgetBar("VScroll2"), 106);
  EXPECT_EQ(widgetBar("HScroll1"), 300);

  EXPECT_EQ(find<QLabel>("FileSetName")->text(), QStringLiteral("ﾛｶﾞｰ"));
  EXPECT_EQ(find<QLabel>("FileSetStart")->text(), QStringLiteral("2013/05/01 10:00:00"));
  EXPECT_EQ(find<QLabel>("FileSetPoints")->text(), QStringLiteral("3 点"));
  EXPECT_EQ(find<QLabel>("FileSetInterval")->text(), QStringLiteral("1 分"));
  EXPECT_EQ(find<QLabel>("FileSetUpper")->text(), QStringLiteral("OFF"));
  EXPECT_EQ(find<QLabel>("FileSetLower")->text(), QStringLiteral("5 ℃"));
}

TEST_F(MainWindowViewsTest, AFileThatCannotBeReadLeavesTheViewsAlone) {
  open();
  const QString path = m_dir.filePath(QStringLiteral("bad.csv"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("not,a,logger,file\r\n");
  f.close();
  // The message box would block: answer it as soon as it shows.
  QTimer::singleShot(0, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  EXPECT_FALSE(m_window->m11_Click(path));
  EXPECT_EQ(m_state->CurrentSet, kLogSet);
  EXPECT_EQ(m_state->set(kFileSet).Count, 0);
  EXPECT_TRUE(find<QRadioButton>("Option5")->isChecked());
}

TEST_F(MainWindowViewsTest, ZoomButtonsHalveAndDoubleWithinTheBars) {
  open();
  ASSERT_TRUE(m_window->m11_Click(writeCsv()));
  const int span = bar(VScroll1);
  QTest::mouseClick(find<QAbstractButton>("Command3"), Qt::LeftButton);
  EXPECT_EQ(bar(VScroll1), span / 2);
  QTest::mouseClick(find<QAbstractButton>("Command10"), Qt::LeftButton);
  EXPECT_EQ(bar(VScroll1), span / 2 * 2);
  EXPECT_EQ(widgetBar("VScroll1"), span / 2 * 2);

  // Halving the time width: the humidity graph follows.
  QTest::mouseClick(find<QAbstractButton>("Command17"), Qt::LeftButton);
  EXPECT_EQ(bar(HScroll1), 150);
  EXPECT_EQ(bar(HScroll3), 150);
  // Doubling past the widest window stops at it.
  QTest::mouseClick(find<QAbstractButton>("Command18"), Qt::LeftButton);
  QTest::mouseClick(find<QAbstractButton>("Command18"), Qt::LeftButton);
  EXPECT_EQ(bar(HScroll1), 300);

  QTest::mouseClick(find<QAbstractButton>("Command17"), Qt::LeftButton);
  QTest::mouseClick(find<QAbstractButton>("Command12"), Qt::LeftButton);
  EXPECT_EQ(bar(HScroll1), 300);  // fit: widest window again
}

TEST_F(MainWindowViewsTest, SwitchingSetsKeepsEachSetsBars) {
  open();
  ASSERT_TRUE(m_window->m11_Click(writeCsv()));
  QTest::mouseClick(find<QAbstractButton>("Command17"), Qt::LeftButton);
  QTest::mouseClick(find<QAbstractButton>("Command3"), Qt::LeftButton);
  const int fileSpan = bar(VScroll1);

  QTest::mouseClick(find<QRadioButton>("Option5"), Qt::LeftButton);
  EXPECT_EQ(m_state->CurrentSet, kLogSet);
  EXPECT_EQ(bar(VScroll1), 100);  // the log set's untouched default
  EXPECT_EQ(find<QLabel>("Label3")->text(), QStringLiteral("ログ"));
  EXPECT_FALSE(find<QScrollBar>("VScroll1")->isEnabled());  // nothing to navigate

  QTest::mouseClick(find<QRadioButton>("Option7"), Qt::LeftButton);
  EXPECT_EQ(m_state->CurrentSet, kFileSet);
  EXPECT_EQ(bar(VScroll1), fileSpan);
  EXPECT_EQ(bar(HScroll1), 150);
  EXPECT_EQ(widgetBar("HScroll1"), 150);
}

TEST_F(MainWindowViewsTest, DisplayItemsChooseSetAndView) {
  open();
  ASSERT_TRUE(m_window->m11_Click(writeCsv()));
  find<QAction>("m232")->trigger();
  EXPECT_EQ(m_state->ViewMode, 1);
  EXPECT_TRUE(find<QRadioButton>("Option9")->isChecked());
  EXPECT_TRUE(find<QTableView>("ListView1_2")->isVisible());
  EXPECT_FALSE(find<QTableView>("ListView1_0")->isVisible());

  find<QAction>("m211")->trigger();
  EXPECT_EQ(m_state->CurrentSet, kLogSet);
  EXPECT_EQ(m_state->ViewMode, 0);
  EXPECT_TRUE(find<QRadioButton>("Option5")->isChecked());
  EXPECT_TRUE(find<QRadioButton>("Option8")->isChecked());
  EXPECT_TRUE(find<GraphView>("ondo")->isVisible());
}

TEST_F(MainWindowViewsTest, ClickingTheShownSetChangesNothing) {
  open();
  ASSERT_TRUE(m_window->m11_Click(writeCsv()));
  QTest::mouseClick(find<QAbstractButton>("Command3"), Qt::LeftButton);
  const int span = bar(VScroll1);
  find<QLabel>("StatusBar1_2")->setText(QStringLiteral("kept"));
  QTest::mouseClick(find<QRadioButton>("Option7"), Qt::LeftButton);
  EXPECT_EQ(bar(VScroll1), span);
  EXPECT_EQ(panel2(), QStringLiteral("kept"));
}

TEST_F(MainWindowViewsTest, DumpRowClickAndCursorReadoutFillThePanel) {
  open();
  ASSERT_TRUE(m_window->m11_Click(writeCsv()));
  find<QAction>("m232")->trigger();
  QTableView* list = find<QTableView>("ListView1_2");
  const QRect row0 = list->visualRect(list->model()->index(0, 1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row0.center());
  EXPECT_EQ(panel2(), QStringLiteral("日時 2013/05/01 10:00:00   温度 20.00 ℃   湿度 50.00 %RH"));

  find<QAction>("m231")->trigger();
  EXPECT_TRUE(panel2().isEmpty());  // a set or view change clears it
  // Right of the newest point the newest record is read out.
  GraphView* ondo = find<GraphView>("ondo");
  QTest::mouseMove(ondo, QPoint(ondo->width() - 2, ondo->height() / 2));
  EXPECT_EQ(panel2(), QStringLiteral("日時 2013/05/01 10:05:00   温度 -1.25 ℃   湿度 60.00 %RH"));
}

TEST_F(MainWindowViewsTest, BarsSetInCodeDoNotRedrawButReleasedOnesDo) {
  open();
  ASSERT_TRUE(m_window->m11_Click(writeCsv()));
  const QImage before = find<GraphView>("ondo")->image();
  ASSERT_FALSE(before.isNull());
  // The centre bar moved by the user (a release with tracking off).
  QScrollBar* centre = find<QScrollBar>("VScroll2");
  centre->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_NE(bar(VScroll2), 106);
  EXPECT_NE(find<GraphView>("ondo")->image(), before);
}

struct PanelCase {
  const char* runState;
  const char* command4;
  const char* label16;
  const char* command2;
  std::vector<const char*> enabled;
  std::vector<const char*> disabled;
};

TEST_F(MainWindowViewsTest, TheStateTableReachesTheWidgets) {
  open();
  const std::vector<PanelCase> cases = {
      {"",
       "記録開始",
       "記録停止",
       "連続測定",
       {"Command5", "Command11", "Command27", "Command1", "Command4", "Option6"},
       {"Combo1", "Combo3", "Combo4"}},
      {"kirokucyu",
       "記録停止",
       "記録中",
       "連続測定",
       {"Command4", "Command11", "Option5"},
       {"Command5", "Command1", "Command2", "Option6", "Combo4"}},
      {"renzoku",
       "記録開始",
       "記録停止",
       "停止",
       {"Command2", "Option6", "Option8"},
       {"Command1", "Command4", "Command5", "Option5", "Option7", "Command22"}},
  };
  for (const PanelCase& c : cases) {
    m_state->Connected = true;
    m_state->PortNumber = 3;
    m_state->ModelName = QStringLiteral("QM120-RH");
    m_state->Status.LoggerName = QStringLiteral("AB12");
    m_state->RunState = QString::fromUtf8(c.runState);
    m_window->RefreshMainWindowState();
    EXPECT_EQ(find<QAbstractButton>("Command4")->text(), QString::fromUtf8(c.command4))
        << c.runState;
    EXPECT_EQ(find<QLabel>("Label16")->text(), QString::fromUtf8(c.label16)) << c.runState;
    EXPECT_EQ(find<QAbstractButton>("Command2")->text(), QString::fromUtf8(c.command2))
        << c.runState;
    for (const char* name : c.enabled)
      EXPECT_TRUE(find<QWidget>(name)->isEnabled()) << c.runState << " " << name;
    for (const char* name : c.disabled)
      EXPECT_FALSE(find<QWidget>(name)->isEnabled()) << c.runState << " " << name;
    EXPECT_EQ(find<QLabel>("StatusBar1_1")->text(), QStringLiteral("通信中　ポート3"));
    EXPECT_EQ(find<QLabel>("Label49")->text(), QStringLiteral("通信中"));
    EXPECT_EQ(find<QLabel>("Label14")->text(), QStringLiteral("AB12"));
    EXPECT_EQ(find<Lamp>("Shape1")->color(), QColor(0x80, 0xFF, 0x80));
    EXPECT_FALSE(find<QLabel>("Label29")->isHidden());  // the model with alarms
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("[Termika] 温湿度ロガー QM120-RH"));
  }
  // Back to not connected: the lists come back and the lamp goes dark.
  m_state->Connected = false;
  m_state->RunState.clear();
  m_window->RefreshMainWindowState();
  EXPECT_TRUE(find<QWidget>("Combo4")->isEnabled());
  EXPECT_FALSE(find<QWidget>("Command5")->isEnabled());
  EXPECT_EQ(find<Lamp>("Shape1")->color(), QColor(Qt::black));
  EXPECT_EQ(find<QLabel>("Label14")->text(), QStringLiteral("----"));
  EXPECT_EQ(m_state->ModelName, QStringLiteral("Termika"));
}

TEST_F(MainWindowViewsTest, DisconnectingForgetsTheHardwareVersion) {
  open();
  m_state->Connected = true;
  m_state->ModelName = QStringLiteral("QM100-RH");
  m_state->Status.FirmwareVersion = QStringLiteral("1.05");
  m_window->RefreshMainWindowState();
  EXPECT_EQ(m_state->Status.FirmwareVersion, QStringLiteral("1.05"));
  m_state->Connected = false;
  m_window->RefreshMainWindowState();
  EXPECT_TRUE(m_state->Status.FirmwareVersion.isEmpty());
}

TEST_F(MainWindowViewsTest, ARefreshKeepsTheFileSetsDescription) {
  open();
  ASSERT_TRUE(m_window->m11_Click(writeCsv()));
  m_state->Connected = false;
  m_window->RefreshMainWindowState();
  EXPECT_EQ(m_state->set(kFileSet).Model, QStringLiteral("QM120-RH"));
  EXPECT_EQ(m_state->set(kFileSet).LoggerName, QStringLiteral("ﾛｶﾞｰ"));
}

TEST_F(MainWindowViewsTest, TheBusyPointerIsRestoredExactlyOnce) {
  open();
  QApplication::setOverrideCursor(Qt::CrossCursor);  // someone else's, kept
  m_window->setBusyPointer(true);
  m_window->setBusyPointer(true);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  m_window->setBusyPointer(false);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
  m_window->setBusyPointer(false);  // already off: the other cursor stays
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
  QApplication::restoreOverrideCursor();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowViewsTest, DownloadSpeedItemsSetTheMode) {
  open();
  find<QAction>("D_M_Slow")->trigger();
  EXPECT_TRUE(m_state->DownloadSlow);
  EXPECT_FALSE(find<QAction>("D_M_Fast")->isChecked());
  find<QAction>("D_M_Fast")->trigger();
  EXPECT_FALSE(m_state->DownloadSlow);
}

bool hasJapanese(const QString& text) {
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    // Kana, CJK ideographs, full-width forms and half-width katakana.
    if ((u >= 0x3000 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF)) return true;
  }
  return false;
}

TEST_F(MainWindowViewsTest, EnglishRunShowsNoJapaneseText) {
  open(UiText::Language::English);
  ASSERT_TRUE(m_window->m11_Click(writeCsv()));
  for (const QAction* a : m_window->findChildren<QAction*>())
    EXPECT_FALSE(hasJapanese(a->text())) << a->objectName().toStdString();
  for (const QMenu* m : m_window->findChildren<QMenu*>())
    EXPECT_FALSE(hasJapanese(m->title())) << m->objectName().toStdString();
  for (const QAbstractButton* b : m_window->findChildren<QAbstractButton*>())
    EXPECT_FALSE(hasJapanese(b->text())) << b->objectName().toStdString();
  for (const QGroupBox* g : m_window->findChildren<QGroupBox*>())
    EXPECT_FALSE(hasJapanese(g->title())) << g->objectName().toStdString();
  for (const QLabel* l : m_window->findChildren<QLabel*>()) {
    EXPECT_FALSE(hasJapanese(l->text())) << l->objectName().toStdString();
  }
  for (const QTableView* list : m_window->findChildren<QTableView*>()) {
    for (int c = 0; c < list->model()->columnCount(); ++c)
      EXPECT_FALSE(hasJapanese(list->model()->headerData(c, Qt::Horizontal).toString()));
  }
  EXPECT_EQ(find<QLabel>("FileSetPoints")->text(), QStringLiteral("3 Point"));
  EXPECT_EQ(find<QLabel>("FileSetInterval")->text(), QStringLiteral("1 Min"));
  EXPECT_EQ(find<QLabel>("FileSetLower")->text(), QStringLiteral("5 C"));
}

TEST(HelpPage, FirstFolderHoldingThePageWins) {
  QTemporaryDir a;
  QTemporaryDir b;
  ASSERT_TRUE(QDir(b.path()).mkpath(QStringLiteral("help")));
  QFile page(b.filePath(QStringLiteral("help/index.html")));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.close();
  EXPECT_EQ(FindHelpPage({QString(), a.path(), b.path()}, QStringLiteral("help/index.html")),
            QFileInfo(page).absoluteFilePath());
  EXPECT_TRUE(FindHelpPage({a.path()}, QStringLiteral("help/index.html")).isEmpty());
}

TEST(HelpPage, TheSourceTreeCarriesThePage) {
  // This file lives in tests/ui of the source tree.
  const QString source =
      QFileInfo(QStringLiteral(__FILE__)).absoluteDir().filePath(QStringLiteral("../.."));
  const QString found = FindHelpPage(HelpFolders(QStringLiteral("/nonexistent/bin"), source),
                                     QStringLiteral("help/index.html"));
  EXPECT_TRUE(found.endsWith(QStringLiteral("docs/help/index.html"))) << found.toStdString();
}

}  // namespace
}  // namespace termika
