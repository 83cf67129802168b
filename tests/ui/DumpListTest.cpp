// The dump lists: set-up, header sorting and its arrow, row selection and
// printing the list from the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include "PrintTestSupport.h"
#include "WindowTest.h"
#include "ui/DataViews.h"
#include "ui/dump/DumpTableView.h"
#include "ui/print/DumpPrintDialog.h"

namespace termika {
namespace {

class DumpListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    fillLogSet(m_state, m_dir, 3);
    m_model.fill(3);
    m_table.resize(1000, 400);
    setUpDumpTable(m_table, m_model);
  }

  QTemporaryDir m_dir;
  AppState m_state;
  DumpModel m_model{&m_state.file(kLogSet), UiText::load(UiText::Language::English)};
  QTableView m_table;
};

TEST_F(DumpListTest, ListSetUpAndHeaderClicksSort) {
  EXPECT_EQ(m_table.editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(m_table.selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(m_table.selectionMode(), QAbstractItemView::ExtendedSelection);
  // Header clicks reach the model, whose sort the header shows.
  QHeaderView* header = m_table.horizontalHeader();
  EXPECT_EQ(std::pair(header->sortIndicatorSection(), header->sortIndicatorOrder()),
            std::pair(0, Qt::AscendingOrder));
  Q_EMIT header->sectionClicked(2);
  Q_EMIT header->sectionClicked(2);
  EXPECT_EQ(std::pair(m_model.sortKey(), m_model.sortOrder()), std::pair(2, 1));
  EXPECT_EQ(std::pair(header->sortIndicatorSection(), header->sortIndicatorOrder()),
            std::pair(2, Qt::DescendingOrder));
}

TEST_F(DumpListTest, TheSortColumnShowsItsArrowPointingTheSortsWay) {
  const auto shot = [&](int order) {
    m_model.setSort(DumpModel::kTemperature, order);
    return m_table.horizontalHeader()->grab().toImage();
  };
  const QImage up = shot(0);
  const QImage down = shot(1);
  const int left = m_table.horizontalHeader()->sectionViewportPosition(DumpModel::kTemperature);
  const int right = left + m_table.columnWidth(DumpModel::kTemperature);
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

// A log set of 1981 points in the window's dump view, printed to PDF with
// the window's own print dialog and file dialog.
class DumpPrintWindowTest : public WindowTest {
 protected:
  struct DialogSeen {
    bool rangeShown = false;
    bool allRowsChosen = false;
    QString pdf;  // the name the file dialog proposed
  };

  void SetUp() override {
    open();
    fillLogSet(*m_state, m_dir, 1981);
    m_window->views().setReplaced(kLogSet);
    click(Control::DumpRadio);
  }
  // Prints from the menu; answers the print dialog with "Save as PDF" and
  // takes the name the file dialog proposes. Returns what the dialogs showed
  // and the text of the PDF, which is removed again.
  std::pair<DialogSeen, QString> printToPdf() {
    DialogSeen seen;
    QTimer answer;
    answer.setInterval(10);
    QObject::connect(&answer, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* files = qobject_cast<QFileDialog*>(modal)) {
        seen.pdf = files->selectedFiles().value(0);
        QMetaObject::invokeMethod(files, "accept");
      } else if (auto* dump = qobject_cast<DumpPrintDialog*>(modal)) {
        const PrintDialogBase::Controls& controls = dump->controls();
        seen.rangeShown = controls.rangeFrame->isVisible();
        seen.allRowsChosen = controls.allRowsRadio->isChecked();
        QTimer::singleShot(0, controls.pdfButton, &QAbstractButton::click);
        answer.stop();
        answer.start(50);
      }
    });
    answer.start();
    ui().printItem->trigger();
    const QString text = pdfText(seen.pdf);
    QFile::remove(seen.pdf);
    return {seen, text};
  }
};

TEST_F(DumpPrintWindowTest, NothingSelectedPrintsEveryRowAndASelectionOnlyItsRows) {
  QTableView* list = ui().dumpLists[kLogSet];
  const auto [nothingSelected, allText] = printToPdf();
  EXPECT_TRUE(nothingSelected.rangeShown);
  EXPECT_TRUE(nothingSelected.allRowsChosen);
  EXPECT_TRUE(allText.contains(QStringLiteral("00001")));
  EXPECT_TRUE(allText.contains(QStringLiteral("01981")));

  // Rows 1 and 3 picked with a click and a Ctrl+click.
  const auto rowCentre = [list](int row) {
    return list->visualRect(list->model()->index(row, 1)).center();
  };
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(2));
  const auto [twoSelected, pickedText] = printToPdf();
  EXPECT_FALSE(twoSelected.allRowsChosen);
  EXPECT_TRUE(pickedText.contains(QStringLiteral("00001")));
  EXPECT_TRUE(pickedText.contains(QStringLiteral("00003")));
  EXPECT_FALSE(pickedText.contains(QStringLiteral("00002")));
  EXPECT_FALSE(pickedText.contains(QStringLiteral("01981")));
}

}  // namespace
}  // namespace termika
