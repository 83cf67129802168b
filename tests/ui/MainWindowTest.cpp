// The main window on real widgets: lists, the settings file, the views, the questions it asks,
// the state table, the menus and shortcuts, and the dump list with its sorting and printing.

#include "UiTestSupport.h"
#include "core/app/WindowLimits.h"
#include "core/base/Says.h"
#include "core/views/DumpModel.h"
#include "ui/GraphPicture.h"
#include "ui/HelpPage.h"
#include "ui/Lamp.h"

namespace termika {
namespace {

class MainWindowTest : public WindowTest {
 protected:
  QByteArray ini() const { return testing::readAll(iniPath()); }
  QString iniPath() const { return m_dir.filePath(QStringLiteral("Logger.ini")); }
  QByteArray iniLine(int port, int chosen) const {
    return QStringLiteral("%1,%2,\"/srv/data\"\r\n").arg(port).arg(chosen).toUtf8();
  }
  // The value the user sees on the widget, in the bar's own direction.
  int widgetBar(Control control) const {
    const QScrollBar* w = find<QScrollBar>(control);
    return stateValueOf(*w, w->value());
  }
};

// The window starts with the saved ports and folder, above its minimum size; the download speed
// items tick each other off; only the user's picks in the lists set the state and the settings
// file (which a first start writes: Settings.FileIsCreatedWithDefaults...).
TEST_F(MainWindowTest, StartsWithTheSavedSettingsAndOnlyTheUsersPicksChangeThem) {
  ASSERT_TRUE(m_dir.isValid() && commitFile(iniPath(), "3,5,\"/srv/data\"\r\n").ok());
  open();
  EXPECT_EQ(QStringLiteral("%1 %2 ").arg(m_state->portNumber).arg(m_state->chosenPort) +
                m_state->workingFolder + ' ' + find<QComboBox>(Control::PortCombo)->currentText(),
            QStringLiteral("3 5 /srv/data 5"));
  EXPECT_EQ(m_window->minimumSize(),
            windowLimits(m_window->screen()->logicalDotsPerInch()).minimum);
  EXPECT_EQ(checks({Control::FastDownloadItem, Control::SlowDownloadItem, Control::LogSetRadio,
                    Control::GraphRadio}),
            QStringLiteral("1011"));
  find<QAction>(Control::SlowDownloadItem)->trigger();
  EXPECT_EQ(checks({Control::FastDownloadItem, Control::SlowDownloadItem}), QStringLiteral("01"));
  EXPECT_TRUE(m_state->downloadSlow);
  find<QAction>(Control::FastDownloadItem)->trigger();
  EXPECT_FALSE(m_state->downloadSlow);

  QComboBox* ports = find<QComboBox>(Control::PortCombo);
  QTest::keyClick(ports, Qt::Key_7);
  EXPECT_EQ(ini(), iniLine(3, 7));
  QTest::keyClick(ports, Qt::Key_Down);
  QTest::keyClick(find<QComboBox>(Control::BaudCombo), Qt::Key_Down);
  EXPECT_EQ(ini(), iniLine(3, 8));

  // Changes made in code run no click handler: the user's picks (port 8, 115200 baud) stay.
  ports->setCurrentIndex(40);
  find<QComboBox>(Control::BaudCombo)->setCurrentText(QStringLiteral("9600"));
  QComboBox* models = find<QComboBox>(Control::ModelCombo);
  models->setCurrentIndex(1);
  EXPECT_EQ(ini(), iniLine(3, 8));
  EXPECT_EQ(QStringLiteral("%1 %2 ").arg(m_state->chosenPort).arg(m_state->baudSetting) +
                m_window->windowTitle(),
            QStringLiteral("8 115200 [Termika] 温湿度ロガー "));
  QTest::keyClick(models, Qt::Key_Down);
  EXPECT_EQ(m_window->windowTitle(), QStringLiteral("[Termika] 温湿度ロガー QM200-RHA"));
}

// Nothing is stopped before the question; Cancel keeps program, link and files running, Discard
// stops the link and closes the files (which ProgramFiles then deletes).
TEST_F(MainWindowTest, ClosingAsksSaveDiscardOrCancelFirst) {
  const Translations japanese(UiText::Language::Japanese);
  open();
  QStringList order;
  m_window->setLinkStopper([&] { order << QStringLiteral("stop"); });
  m_state->modelName = QStringLiteral("QM120-RH");
  m_state->set(kLogSet).count = 1;
  m_state->set(kLogSet).unsaved = true;
  QString seen;
  answerNextBox(&seen, [](QMessageBox& box) { return box.button(QMessageBox::Cancel); });
  EXPECT_FALSE(m_window->close());
  EXPECT_TRUE(m_window->isVisible() && order.isEmpty() && m_state->file(kLogSet).isOpen());
  EXPECT_TRUE(seen.startsWith(QStringLiteral("QM120-RH|ログ記録のデータを保存しますか？|")));
  const QString buttons = seen.section(u'|', 2);  // Qt's own, in Japanese
  EXPECT_TRUE(hasJapanese(buttons) && buttons.count(u',') == 2) << seen.toStdString();

  answerNextBox(&seen, [](QMessageBox& box) { return box.button(QMessageBox::Discard); });
  EXPECT_TRUE(m_window->close());
  EXPECT_EQ(order, QStringList{QStringLiteral("stop")});
  for (int set = 0; set < kSetCount; ++set) EXPECT_FALSE(m_state->file(set).isOpen());
}

// The clock shows seconds; the help page that no launcher opens is named; print buttons leave
// the shown set; an opened file is named in the title and the file panel; a save says where
// it went, and the file dialogs start in the documents folder until the user picks one.
TEST_F(MainWindowTest, ClockHelpPrintAndFilesTellTheUser) {
  open();
  m_window->setClock([] { return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)); });
  QTest::qWait(300);
  EXPECT_EQ(ui().clockPanel->text(), QStringLiteral("2026/01/02 03:04:05"));

  m_window->setHelpPage(QStringLiteral("/opt/termika/help/index.html"));
  m_window->setUrlOpener([](const QUrl&) { return false; });
  QString seen;
  answerNextBox(&seen, [](QMessageBox& box) { return box.button(QMessageBox::Ok); });
  m_window->openHelpPage();
  EXPECT_TRUE(seen.contains(QStringLiteral("/opt/termika/help/index.html"))) << seen.toStdString();

  ASSERT_TRUE(m_window->openCsvFile(writeThreePointCsv()));
  EXPECT_EQ(m_window->windowTitle() + '|' + ui().fileNameLabel->text(),
            QStringLiteral("[Termika] 温湿度ロガー - in.csv|in.csv"));
  click(Control::LogSetRadio);
  QTimer::singleShot(0, [] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      EXPECT_TRUE(dialog->objectName().startsWith(QStringLiteral("GraphPrintDialog")));
      dialog->close();
    }
  });
  click(Control::PrintFileButton);
  EXPECT_EQ(m_state->currentSet, kLogSet);

  auto& prompts = static_cast<MessageBoxPrompts&>(m_window->prompts());
  // The user's documents, or home where the desktop has none; never the program's folder.
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  EXPECT_EQ(prompts.startFolder(), QFileInfo(documents).isDir() ? documents : QDir::homePath());
  DataRecord r;
  r.dateTime = 41395.5;
  ASSERT_TRUE(m_state->file(kRealTimeSet).write(1, r).ok());
  m_state->set(kRealTimeSet).count = 1;
  ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("data")));
  const QString saved = m_dir.filePath(QStringLiteral("data/live.csv"));
  QTimer::singleShot(0, [saved] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->selectFile(saved);
    QMetaObject::invokeMethod(dialog, "accept");
  });
  m_window->saveRealTimeSet();
  EXPECT_EQ(ui().noticePanel->text(),
            QStringLiteral("1 points saved to %1").arg(QDir::toNativeSeparators(saved)));
  EXPECT_EQ(prompts.startFolder(), m_dir.filePath(QStringLiteral("data")));
}

// A file that cannot be read leaves the views alone; a good one shows the file set.
TEST_F(MainWindowTest, OpeningACsvShowsTheFileSetFittedToItsPoints) {
  open();
  const QString bad = m_dir.filePath(QStringLiteral("bad.csv"));
  ASSERT_TRUE(commitFile(bad, "not,a,logger,file\r\n").ok());
  QString said;  // the message, closed
  answerNextBox(&said, [](QMessageBox&) -> QAbstractButton* { return nullptr; });
  EXPECT_FALSE(m_window->openCsvFile(bad));
  EXPECT_EQ(checks({Control::LogSetRadio}), QStringLiteral("1"));
  ASSERT_TRUE(m_window->openCsvFile(writeThreePointCsv()));
  EXPECT_EQ(QStringLiteral("%1 ").arg(m_state->currentSet) + checks({Control::FileSetRadio}),
            QStringLiteral("%1 1").arg(kFileSet));
  // The shown set's report opens as a preview of its pages: summary and graph.
  int pages = 0;
  QTimer::singleShot(0, [&pages] {
    auto* preview = dynamic_cast<ReportPreviewDialog*>(QApplication::activeModalWidget());
    if (preview == nullptr) return;
    pages = preview->pageCount();
    preview->close();
  });
  ui().reportItem->trigger();
  EXPECT_EQ(pages, 2);
  // Fitted: the whole 300 s, centred halfway between the extremes (22.50 + -1.25) / 2.
  EXPECT_EQ(
      std::pair(widgetBar(Control::TemperatureWidthBar), widgetBar(Control::TemperatureCentreBar)),
      std::pair(300, 106));
}

// A bar redraws the graph once released (it does not track); the zoom buttons work within the
// bars and switching sets keeps each set's bars; a dump row read out stays until the view changes.
TEST_F(MainWindowTest, BarsZoomButtonsAndDumpRowsReachTheFileSetsViews) {
  open();
  ASSERT_TRUE(m_window->openCsvFile(writeThreePointCsv()));
  for (const QScrollBar* b : ui().bars) EXPECT_FALSE(b->hasTracking());
  const QImage before = find<GraphView>(Control::TemperatureGraph)->image();
  find<QScrollBar>(Control::TemperatureCentreBar)
      ->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_NE(bar(TemperatureCentre), 106);
  EXPECT_NE(find<GraphView>(Control::TemperatureGraph)->image(), before);
  click(Control::TimeZoomIn);
  click(Control::TemperatureSpanNarrower);
  const int fileSpan = bar(TemperatureHalfSpan);
  click(Control::LogSetRadio);
  EXPECT_EQ(bar(TemperatureHalfSpan), 100);  // the log set's untouched default
  click(Control::FileSetRadio);
  EXPECT_EQ(std::tuple(bar(TemperatureHalfSpan), widgetBar(Control::TemperatureWidthBar)),
            std::tuple(fileSpan, 150));
  // Clicking the set already shown changes nothing.
  ui().noticePanel->setText(QStringLiteral("kept"));
  click(Control::FileSetRadio);
  EXPECT_EQ(bar(TemperatureHalfSpan), fileSpan);
  EXPECT_EQ(ui().noticePanel->text(), QStringLiteral("kept"));

  // A clicked row of the dump list fills the panel; a view change clears it.
  find<QAction>(Control::FileDumpItem)->trigger();
  QTableView* list = find<QTableView>(Control::FileDumpList);
  const QRect row0 = list->visualRect(list->model()->index(0, 1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row0.center());
  EXPECT_EQ(ui().noticePanel->text(),
            QStringLiteral("日時 2013/05/01 10:00:00   温度 20.00 ℃   湿度 50.00 %RH"));
  find<QAction>(Control::FileGraphItem)->trigger();
  EXPECT_TRUE(ui().noticePanel->text().isEmpty());
}

TEST_F(MainWindowTest, TheStateTableReachesTheWidgets) {
  open();
  EXPECT_TRUE(find<QLabel>(Control::UpperAlarm)->isHidden());  // only the model with alarms
  ASSERT_TRUE(m_window->openCsvFile(writeThreePointCsv()));    // a file set to describe
  // Recording, for the wiring; StateRulesTest holds the whole table.
  m_state->connected = true;
  m_state->portNumber = 3;
  m_state->modelName = QStringLiteral("QM120-RH");
  m_state->status.loggerName = QStringLiteral("AB12");
  m_state->status.batteryVoltage = 2.2;
  m_state->status.firmwareVersion = QStringLiteral("1.05");
  m_state->runState = RunState::Recording;
  m_window->refreshState();
  EXPECT_EQ(text({Control::RecordButton, Control::LoggerName, Control::BatteryVoltage}) + u'|' +
                ui().connectionPanel->text() + u'|' + m_window->windowTitle(),
            QStringLiteral("記録停止|AB12|ＮＧ 2.20 V|通信中　ポート3|"
                           "[Termika] 温湿度ロガー QM120-RH - in.csv"));
  EXPECT_EQ(notEnabled({Control::RecordButton}, true), ControlList());
  EXPECT_EQ(notEnabled({Control::DownloadButton, Control::ClockItem}, false), ControlList());
  const QLabel* battery = find<QLabel>(Control::BatteryVoltage);
  EXPECT_EQ(std::tuple(find<Lamp>(Control::Lamp)->color(), battery->autoFillBackground(),
                       battery->palette().color(QPalette::Window),
                       find<QLabel>(Control::UpperAlarm)->isHidden()),
            std::tuple(QColor(0x80, 0xFF, 0x80), true, QColor(255, 0, 0), false));

  // Back to not connected: the lists come back, the lamp goes dark, the
  // logger's version is forgotten and the file set keeps its description.
  m_state->connected = false;
  m_state->runState = RunState::Idle;
  m_window->refreshState();
  EXPECT_EQ(notEnabled({Control::PortCombo}, true), ControlList());
  EXPECT_EQ(find<Lamp>(Control::Lamp)->color(), QColor(Qt::black));
  const DataSet& file = m_state->set(kFileSet);
  EXPECT_EQ(QStringList({text({Control::LoggerName}), m_state->modelName,
                         m_state->status.firmwareVersion, file.model, file.loggerName}),
            QStringList({"----", "Termika", "", "QM120-RH", "ﾛｶﾞｰ"}));
}

TEST_F(MainWindowTest, TheBusyPointerIsRestoredExactlyOnce) {
  open();
  QApplication::setOverrideCursor(Qt::CrossCursor);  // someone else's, kept
  m_window->setBusyPointer(true);
  m_window->setBusyPointer(true);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  m_window->setBusyPointer(false);
  m_window->setBusyPointer(false);  // already off
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
  QApplication::restoreOverrideCursor();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(HelpPage, FirstFolderHoldingThePageWinsAndTheSourceTreeHasOne) {
  QTemporaryDir a, b;
  const QString name = QStringLiteral("help/index.html");
  ASSERT_TRUE(QDir(b.path()).mkpath(QStringLiteral("help")) &&
              commitFile(b.filePath(name), "").ok());
  EXPECT_EQ(findHelpPage({QString(), a.path(), b.path()}, name),
            QFileInfo(b.filePath(name)).absoluteFilePath());
  EXPECT_TRUE(findHelpPage({a.path()}, name).isEmpty());
  // Not from __FILE__: a compiler cache may make that path relative to the build.
  const QString source = QStringLiteral(TERMIKA_SOURCE_DIR);
  const QString found = findHelpPage(helpFolders(QStringLiteral("/nonexistent/bin"), source), name);
  EXPECT_TRUE(found.endsWith(QStringLiteral("docs/help/index.html"))) << found.toStdString();
}

// The menu items added for the keyboard and for files: shortcuts, recent
// files, the graph as a picture.
class MainMenuTest : public WindowTest {
 protected:
  void SetUp() override {
    open();
    // Every dialog an item opens is closed again and its class noted.
    QObject::connect(&m_closer, &QTimer::timeout, [this] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        m_dialogs << QString::fromLatin1(dialog->metaObject()->className());
        dialog->reject();
      }
    });
    m_closer.start(10);
  }
  QString recent() const {
    QStringList out;
    for (const QAction* a : ui().recentMenu->actions()) out << a->text();
    return out.join(u'|');
  }

  QTimer m_closer;
  QStringList m_dialogs;
};

TEST_F(MainMenuTest, ShortcutsDoWhatTheirItemsDoAndNothingWhileTheyAreDisabled) {
  ASSERT_TRUE(m_window->openCsvFile(writeThreePointCsv("a.csv")));
  fillLogSet(*m_state, m_dir, 12);  // the log set current, with points to save
  m_window->refreshState();
  const struct {
    QKeySequence keys;
    QAction* item;
    const char* dialog;  // what the item opened; "" when it is disabled
  } cases[] = {{Qt::CTRL | Qt::Key_O, ui().openCsvItem, "QFileDialog"},
               {Qt::CTRL | Qt::Key_S, ui().saveShownItem, "QFileDialog"},
               {Qt::CTRL | Qt::Key_P, ui().printItem, "termika::GraphPrintDialog"},
               {Qt::Key_F5, ui().statusReadItem, ""},  // not connected
               {Qt::CTRL | Qt::Key_D, ui().downloadItem, ""}};
  for (const auto& c : cases) {
    m_dialogs.clear();
    QSignalSpy triggered(c.item, &QAction::triggered);
    press(c.keys);
    EXPECT_EQ(triggered.count(), *c.dialog ? 1 : 0) << c.keys.toString().toStdString();
    EXPECT_EQ(m_dialogs.join(u' '), QString::fromLatin1(c.dialog));
  }
  press(Qt::CTRL | Qt::Key_Q);
  EXPECT_TRUE(testing::waitUntil([this] { return !m_window->isVisible(); }, 2000));
}

TEST_F(MainMenuTest, RecentFilesNewestFirstMissingOnesDroppedKeptAcrossARestart) {
  EXPECT_EQ(recent(), says("No recent files"));
  for (const char* name : {"a.csv", "b.csv", "a.csv"})
    ASSERT_TRUE(m_window->openCsvFile(writeThreePointCsv(name)));
  EXPECT_EQ(recent(), QStringLiteral("&1 a.csv|&2 b.csv"));
  ASSERT_TRUE(QFile::remove(m_dir.filePath(QStringLiteral("b.csv"))));
  ui().recentMenu->actions().at(1)->trigger();
  EXPECT_TRUE(ui().noticePanel->text().contains(QStringLiteral("b.csv")));
  EXPECT_EQ(recent(), QStringLiteral("&1 a.csv"));
  TearDown();
  open();
  EXPECT_EQ(recent(), QStringLiteral("&1 a.csv"));
  ui().recentMenu->actions().at(0)->trigger();
  EXPECT_EQ(m_state->set(kFileSet).count, 3);
}

TEST_F(MainMenuTest, TheShownGraphsGoToPngSvgAndTheClipboard) {
  ASSERT_TRUE(m_window->openCsvFile(writeThreePointCsv("a.csv")));
  const std::vector<GraphGeometry> graphs = shownGraphs(ui());
  ASSERT_EQ(graphs.size(), 2U);
  const QSize size(graphs[0].size.width(), graphs[0].size.height() + graphs[1].size.height());
  const QString png = m_dir.filePath(QStringLiteral("g.png")),
                svg = m_dir.filePath(QStringLiteral("g.svg"));
  ASSERT_TRUE(saveGraphPicture(png, graphs).ok() && saveGraphPicture(svg, graphs).ok());
  EXPECT_EQ(QSvgRenderer(svg).viewBox().size(), size);
  QImageReader fromSvg(svg);  // drawn at the size of its view box
  fromSvg.setScaledSize(size);
  for (const QImage& saved : {QImage(png), fromSvg.read()}) {
    EXPECT_EQ(saved.size(), size);
    EXPECT_GT(saved.convertToFormat(QImage::Format_Indexed8).colorCount(), 3);  // curves, grid
  }
  ui().copyGraphItem->trigger();
  EXPECT_EQ(QApplication::clipboard()->image().size(), size);
  ui().dumpRadio->click();  // no graph on screen
  EXPECT_FALSE(ui().copyGraphItem->isEnabled() || ui().saveGraphItem->isEnabled());
  EXPECT_FALSE(saveGraphPicture(png, shownGraphs(ui())).ok());
}

// The window's dump list of a log set of 1981 points: header sorting and its arrow, the rows
// handed to printing, and printing the list with the window's own print and file dialogs.
class DumpListTest : public WindowTest {
 protected:
  void SetUp() override {
    open();
    fillLogSet(*m_state, m_dir, 1981);
    m_window->views().setReplaced(kLogSet);
    click(Control::DumpRadio);
    m_list = ui().dumpLists[kLogSet];
    m_model = qobject_cast<DumpModel*>(m_list->model());
    ASSERT_NE(m_model, nullptr);
  }

  // Prints from the menu, answering the print dialog with "Save as PDF" and the file dialog
  // with the name it proposes. Returns whether the dialog showed its range with every row
  // chosen, and the text of the PDF, which is removed again.
  std::pair<bool, QString> printToPdf() {
    bool everyRow = false;
    QString pdf;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* files = qobject_cast<QFileDialog*>(modal)) {
        pdf = files->selectedFiles().value(0);
        QMetaObject::invokeMethod(files, "accept");
      } else if (auto* dump = qobject_cast<DumpPrintDialog*>(modal)) {
        const PrintDialogBase::Controls& controls = dump->controls();
        everyRow = controls.rangeFrame->isVisible() && controls.allRowsRadio->isChecked();
        QTimer::singleShot(0, controls.pdfButton, &QAbstractButton::click);
        answer.start(50);
      }
    });
    answer.start(10);
    ui().printItem->trigger();
    const QString text = pdfText(pdf);
    QFile::remove(pdf);
    return {everyRow, text};
  }

  QTableView* m_list = nullptr;
  DumpModel* m_model = nullptr;
};

// Header clicks reach the model, whose sort the header shows with an arrow pointing the sort's
// way; the rows handed to printing follow the list's order and carry its selection.
TEST_F(DumpListTest, HeaderClicksSortAndPrintRowsFollowTheList) {
  QHeaderView* header = m_list->horizontalHeader();
  Q_EMIT header->sectionClicked(DumpModel::kTemperature);
  Q_EMIT header->sectionClicked(DumpModel::kTemperature);
  EXPECT_EQ(std::pair(m_model->sortKey(), m_model->sortOrder()), std::pair(2, 1));
  EXPECT_EQ(std::pair(header->sortIndicatorSection(), header->sortIndicatorOrder()),
            std::pair(2, Qt::DescendingOrder));
  m_model->setSort(DumpModel::kNumber, 1);
  m_list->selectRow(1);
  QString rows;
  for (const DumpListRow& r : dumpListRows(*m_list))
    rows += QStringLiteral("%1%2 ").arg(r.recordNo).arg(r.selected ? "*" : "");
  EXPECT_TRUE(rows.startsWith(QStringLiteral("1981 1980* 1979 1978 ")))
      << rows.left(60).toStdString();
  EXPECT_TRUE(rows.endsWith(QStringLiteral(" 2 1 ")) && rows.count(u'*') == 1);

  const auto shot = [&](int order) {
    m_model->setSort(DumpModel::kTemperature, order);
    return m_list->horizontalHeader()->grab().toImage();
  };
  const QImage up = shot(0), down = shot(1);
  const int left = m_list->horizontalHeader()->sectionViewportPosition(DumpModel::kTemperature);
  const int right = left + m_list->columnWidth(DumpModel::kTemperature);
  // Where the pictures differ, the ascending arrow's dark pixels lie lower
  // than the descending one's (a ▲ is wide at the bottom), all in the column.
  std::array<std::pair<double, int>, 2> darker{};  // sum of rows, count: up, down
  for (int y = 0; y < up.height(); ++y) {
    for (int x = 0; x < up.width(); ++x) {
      if (up.pixel(x, y) == down.pixel(x, y)) continue;
      EXPECT_TRUE(x >= left && x < right) << x;
      auto& side = darker[qGray(up.pixel(x, y)) < qGray(down.pixel(x, y)) ? 0 : 1];
      side.first += y;
      ++side.second;
    }
  }
  ASSERT_TRUE(darker[0].second > 0 && darker[1].second > 0);
  EXPECT_GT(darker[0].first / darker[0].second, darker[1].first / darker[1].second);
}

// Nothing selected prints every row: the header with the set's extremes, then the rows over as
// many pages as it takes (where they break: DumpPagination), each page's footer the name and the
// page number; a selection prints only its rows.
TEST_F(DumpListTest, NothingSelectedPrintsEveryRowAndASelectionOnlyItsRows) {
  const auto [everyRow, allText] = printToPdf();
  EXPECT_TRUE(everyRow);
  const QStringList pages = allText.split(u'\f');  // a form feed ends each page
  const QString first = squeezed(pages.front()), last = squeezed(pages.at(pages.size() - 2));
  // Point 6 is the hottest (20 + 6), and at 03:05:00; point 2 has a remark.
  for (const char* line :
       {"最高温度000062010/01/0203:05:0026.00℃", "000012010/01/0203:00:0021.0041.00", "上限越"})
    EXPECT_TRUE(first.contains(QString::fromUtf8(line))) << line;
  EXPECT_TRUE(first.endsWith(QStringLiteral("T0011")) && last.contains(QStringLiteral("01981")) &&
              last.endsWith(QStringLiteral("T001%1").arg(pages.size() - 1)))
      << last.right(80).toStdString();
  // Rows 1 and 3 picked with a click and a Ctrl+click.
  const auto rowCentre = [this](int row) {
    return m_list->visualRect(m_model->index(row, 1)).center();
  };
  QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, rowCentre(0));
  QTest::mouseClick(m_list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(2));
  const auto [everyRowAgain, pickedText] = printToPdf();
  EXPECT_FALSE(everyRowAgain);
  QString printed;
  for (const char* row : {"00001", "00002", "00003", "01981"})
    printed += pickedText.contains(QString::fromLatin1(row)) ? '+' : '-';
  EXPECT_EQ(printed, QStringLiteral("+-+-"));
}

}  // namespace
}  // namespace termika
