#pragma once

// What every widget test includes (the Qt modules whole, the program's headers more than one test
// file uses) and their helpers: the scripted prompts every form is given, the messages they
// showed, captions read many at once, a scroll bar's parts, a log set in record files, PDF text
// and the main window over its program files.

#include <gtest/gtest.h>

#include <QtPrintSupport>
#include <QtSvg>
#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "CsvFixture.h"
#include "EventWait.h"
#include "ScriptedPrompts.h"
#include "core/app/ProgramFiles.h"
#include "core/app/StateRules.h"
#include "core/base/Translations.h"
#include "core/data/Csv.h"
#include "core/data/DayTime.h"
#include "core/data/ExtremesUpdate.h"
#include "core/data/OutputFile.h"
#include "core/model/AppState.h"
#include "ui/DataViews.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxPrompts.h"
#include "ui/dialogs/DownloadProgressDialog.h"
#include "ui/graph/GraphScrollBar.h"
#include "ui/graph/GraphView.h"
#include "ui/print/DumpPrintDialog.h"
#include "ui/print/PrintActions.h"
#include "ui/print/ReportPreviewDialog.h"

// Readable failure output for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace termika {

using testing::ScriptedPrompts;

// Every message shown so far, each as "title|text".
inline QStringList messagesShown(const ScriptedPrompts& prompts) {
  QStringList out;
  for (const auto& c : prompts.callsOf(ScriptedPrompts::Kind::Info))
    out << c.title + '|' + c.message;
  return out;
}

// Whether `text` holds kana, CJK ideographs, full-width forms or half-width katakana.
inline bool hasJapanese(const QString& text) {
  return text.contains(
      QRegularExpression(QStringLiteral("[\\x{3000}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]")));
}

// Answers the next modal box with the button `pick` returns (none: closes it), noting title, text
// and buttons.
inline void answerNextBox(QString* seen, std::function<QAbstractButton*(QMessageBox&)> pick) {
  QTimer::singleShot(0, [seen, pick] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    QStringList buttons;
    for (const QAbstractButton* b : box->buttons()) buttons << b->text();
    *seen = box->windowTitle() + u'|' + box->text() + u'|' + buttons.join(u',');
    if (QAbstractButton* button = pick(*box))
      button->click();
    else
      box->reject();
  });
}

// The caption of `o` as the user sees it (a label's, button's, field's or item's text, a box's
// or menu's title, a list's choice, a window's title); "<none>" without one.
inline QString captionOf(const QObject* o) {
  for (const char* name : {"text", "title", "currentText", "windowTitle"}) {
    if (const QVariant caption = o->property(name); caption.isValid()) return caption.toString();
  }
  return QStringLiteral("<none>");
}

// The captions of `objects`, joined by "|".
inline QString captions(const std::vector<const QObject*>& objects) {
  QStringList out;
  for (const QObject* o : objects) out << captionOf(o);
  return out.join(u'|');
}

// Where the style draws `part` (an arrow, the thumb) of `bar` as it stands, from the options the
// bar itself paints with.
struct ScrollBarOptions : QScrollBar {
  using QScrollBar::initStyleOption;
};
inline QRect scrollBarPart(const QScrollBar& bar, QStyle::SubControl part) {
  QStyleOptionSlider option;
  (bar.*&ScrollBarOptions::initStyleOption)(&option);
  return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar);
}

// A log set of `count` points a minute apart from 2010/01/02 03:00:00:
// temperature 20 + (n mod 7), humidity 40 + (n mod 11), all in one segment,
// point 2 carrying a padded remark.
inline void fillLogSet(AppState& state, const QTemporaryDir& dir, int count,
                       const QString& model = QStringLiteral("QM100-RH")) {
  RecordFile& file = state.file(kLogSet);
  ASSERT_TRUE(file.isOpen() || file.open(dir.filePath(QStringLiteral("log.rand"))).ok());
  DataSet& set = state.set(kLogSet);
  set.allExtremes.reset();
  const double start = *toDaySerial(CivilTime{2010, 1, 2, 3, 0, 0});
  std::vector<DataRecord> records;
  for (int n = 1; n <= count; ++n) {
    records.push_back({20.0f + static_cast<float>(n % 7),
                       40.0f + static_cast<float>(n % 11),
                       {},
                       start + (n - 1) / 1440.0,
                       1.0f,
                       fitRemarks(n == 2 ? QStringLiteral("上限越 ") : QString()),
                       static_cast<std::int16_t>(n)});
    updateExtremes(records.back(), set.allExtremes);
  }
  ASSERT_TRUE(file.writeRange(1, records).ok());
  set.count = count;
  set.interval = 60;
  set.model = model;
  set.loggerName = QStringLiteral("T001");
  set.upperAlarm = AlarmSetting{30, 0, 128};
  state.currentSet = kLogSet;
}

// Text of a PDF page by page (pdftotext separates pages with form feeds).
inline QString pdfText(const QString& path) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Text extraction guesses at blanks and maps a few shared CJK glyphs to their
// radicals; comparisons drop every blank and map those back.
inline QString squeezed(QString text) {
  text.replace(QChar(0x2FBC), QChar(0x9AD8));  // KANGXI RADICAL TALL -> 高
  text.remove(QRegularExpression(QStringLiteral("[\\s\\x{3000}]")));
  return text;
}

// pdftotext ends every page with a form feed.
inline int pdfPages(const QString& path) { return static_cast<int>(pdfText(path).count(u'\f')); }

// The main window over its program files in a temporary folder, shown at
// m_size (none: the size it chooses itself); `beforeShow` may attach a link.
class WindowTest : public ::testing::Test {
 protected:
  void open(UiText::Language language = UiText::Language::Japanese,
            const std::function<void(MainWindow&)>& beforeShow = {}) {
    ASSERT_TRUE(m_dir.isValid());
    TearDown();  // a second window in one test: the first goes first
    m_state = std::make_unique<AppState>();
    m_state->texts = UiText::load(language);
    m_files = std::make_unique<ProgramFiles>(m_dir.path());
    ASSERT_TRUE(m_files->open(*m_state).ok());
    m_window =
        std::make_unique<MainWindow>(*m_state, Settings(m_dir.path(), m_dir.path()), *m_files);
    if (beforeShow) beforeShow(*m_window);
    if (m_size.isValid()) {
      m_window->setWindowState(Qt::WindowNoState);
      m_window->resize(m_size);
    }
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
  }
  void TearDown() override {
    m_window.reset();
    if (m_files) m_files->close(*m_state);
    m_files.reset();
  }

  const MainWindowControls& ui() const { return m_window->controls(); }
  int bar(Bar b) const { return m_window->views().navigation().bar(b).value; }
  template <typename T>
  T* find(Control control) const {
    T* found = qobject_cast<T*>(ui().object(control));
    EXPECT_NE(found, nullptr) << int(control);
    return found;
  }
  void click(Control control) const {
    QTest::mouseClick(find<QAbstractButton>(control), Qt::LeftButton);
  }
  // Shortcuts reach only the active window.
  void press(const QKeySequence& keys) const {
    m_window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keySequence(m_window.get(), keys);
  }
  // A Japanese file of three points over five minutes (20.00/50.00, 22.50/45.00, -1.25/60.00)
  // whose header announces a lower alarm of 5 °C, so it comes from the model with alarms.
  QString writeThreePointCsv(const char* name = "in.csv") const {
    const QString path = m_dir.filePath(QString::fromLatin1(name));
    EXPECT_TRUE(commitFile(path, testing::japaneseFile(
                                     "1,\"2013/05/01 10:00:00\",\"20.00\",\"50.00\",\"\"\r\n"
                                     "2,\"2013/05/01 10:01:00\",\"22.50\",\"45.00\",\"\"\r\n"
                                     "3,\"2013/05/01 10:05:00\",\"-1.25\",\"60.00\",\"\"\r\n"))
                    .ok());
    return path;
  }
  // "1" or "0" per control: checked items and buttons.
  QString checks(const ControlList& controls) const {
    QString out;
    for (Control c : controls) out += ui().object(c)->property("checked").toBool() ? u'1' : u'0';
    return out;
  }
  // The controls, menus or items that are not in the `enabled` state (a missing one too).
  ControlList notEnabled(const ControlList& controls, bool enabled) const {
    ControlList out;
    for (Control c : controls) {
      const QObject* o = ui().object(c);
      if (o == nullptr || o->property("enabled").toBool() != enabled) out.push_back(c);
    }
    return out;
  }
  // The captions of `controls`, joined by "|".
  QString text(std::initializer_list<Control> controls) const {
    std::vector<const QObject*> objects;
    for (Control control : controls) objects.push_back(ui().object(control));
    return captions(objects);
  }

  QSize m_size{1200, 900};
  QTemporaryDir m_dir;
  std::unique_ptr<AppState> m_state;
  std::unique_ptr<ProgramFiles> m_files;
  std::unique_ptr<MainWindow> m_window;
};

}  // namespace termika
