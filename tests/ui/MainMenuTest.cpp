// The menu items added for the keyboard and for files: shortcuts, recent
// files, the graph as a picture.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTimer>

#include "EventWait.h"
#include "PrintTestSupport.h"
#include "WindowTest.h"
#include "core/base/Says.h"
#include "ui/GraphPicture.h"

namespace termika {
namespace {

// A blank plot has two colours; curves, grid and labels add more.
int colours(const QImage& image) {
  return image.convertToFormat(QImage::Format_Indexed8).colorCount();
}

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
  ui().setRadios[kFileSet]->click();  // the file set has no save item
  EXPECT_FALSE(ui().saveShownItem->isEnabled());
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
  const QString png = m_dir.filePath(QStringLiteral("g.png"));
  const QString svg = m_dir.filePath(QStringLiteral("g.svg"));
  ASSERT_TRUE(saveGraphPicture(png, graphs).ok() && saveGraphPicture(svg, graphs).ok());
  EXPECT_EQ(QImage(png).size(), size);
  EXPECT_GT(colours(QImage(png)), 3);
  QSvgRenderer fromSvg(svg);
  EXPECT_EQ(fromSvg.viewBox().size(), size);
  QImage drawn(size, QImage::Format_RGB32);
  drawn.fill(Qt::white);
  QPainter painter(&drawn);
  fromSvg.render(&painter);
  EXPECT_GT(colours(drawn), 3);
  ui().copyGraphItem->trigger();
  EXPECT_EQ(QApplication::clipboard()->image().size(), size);
  ui().dumpRadio->click();  // no graph on screen
  EXPECT_FALSE(ui().copyGraphItem->isEnabled() || ui().saveGraphItem->isEnabled());
  EXPECT_FALSE(saveGraphPicture(png, shownGraphs(ui())).ok());
}

}  // namespace
}  // namespace termika
