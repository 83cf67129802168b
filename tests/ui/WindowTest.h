#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "CsvFixture.h"
#include "DialogTestSupport.h"
#include "core/app/ProgramFiles.h"
#include "core/app/StateRules.h"
#include "core/data/OutputFile.h"
#include "core/model/AppState.h"
#include "sim/SimulatedPort.h"
#include "ui/MainWindow.h"

namespace termika {

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
  // The window linked to `port` behind port 1, every timing `scale` times shorter.
  void openOnSimulator(SimulatedPort& port, int scale, UiText::Language language,
                       const std::function<void(MainWindow&)>& beforeShow = {}) {
    open(language, [&](MainWindow& window) {
      LoggerLinkParts link;
      link.pins = std::make_unique<NoAdapterPins>();
      link.map = *PortMap::fromTemplate(QStringLiteral("/nonexistent/tty%1"));
      link.factory = [&port](int n) { return n == 1 ? port.makeTransport() : nullptr; };
      link.timings = Timings{}.scaled(scale);
      window.attachLink(std::move(link));
      if (beforeShow) beforeShow(window);
    });
  }
  void TearDown() override {
    m_window.reset();
    if (m_files) m_files->close(*m_state);
    m_files.reset();
  }

  const MainWindowControls& ui() const { return m_window->controls(); }
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
