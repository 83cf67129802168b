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

#include "DialogTestSupport.h"
#include "core/app/ProgramFiles.h"
#include "core/app/StateRules.h"
#include "core/model/AppState.h"
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
