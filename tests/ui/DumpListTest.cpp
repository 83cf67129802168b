// The dump lists: set-up, header sorting and its arrow, row selection and
// printing the list from the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include "PrintTestSupport.h"
#include "WindowTest.h"
#include "core/data/DayTime.h"
#include "ui/DataViews.h"
#include "ui/dump/DumpTableView.h"

namespace termika {
namespace {

class DumpListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(m_file.open(m_dir.filePath(QStringLiteral("log.rand"))).ok());
    const float temps[] = {25.0f, 9.0f, -5.5f};
    for (int n = 1; n <= 3; ++n) {
      DataRecord r;
      r.RecordNo = static_cast<std::int16_t>(n);
      r.Temperature = temps[n - 1];
      r.DateTime = *toDaySerial(CivilTime{2010, 1, 2, 3, 4, n});
      ASSERT_TRUE(m_file.write(n, r).ok());
    }
    m_model.FillDumpList(3);
    m_table.resize(1000, 400);
    SetUpDumpTable(m_table, m_model, 1);
  }

  QTemporaryDir m_dir;
  RecordFile m_file;
  DumpModel m_model{&m_file, UiText::load(UiText::Language::English)};
  QTableView m_table;
};

TEST_F(DumpListTest, ListSetUpAndHeaderClicksSort) {
  EXPECT_EQ(m_table.objectName(), "ListView1_1");
  EXPECT_EQ(m_table.editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(m_table.selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(m_table.selectionMode(), QAbstractItemView::ExtendedSelection);

  const int width = m_table.viewport()->width();
  SizeDumpColumns(m_table);
  const int shares[] = {13, 19, 13, 13, 42};
  for (int c = 0; c < 5; ++c) EXPECT_EQ(m_table.columnWidth(c), width * shares[c] / 100);

  QHeaderView* header = m_table.horizontalHeader();
  EXPECT_EQ(header->sortIndicatorSection(), 0);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
  Q_EMIT header->sectionClicked(2);
  EXPECT_EQ(header->sortIndicatorSection(), 2);
  EXPECT_EQ(m_model.recordNoAt(0), 3);
  Q_EMIT header->sectionClicked(2);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
  EXPECT_EQ(m_model.recordNoAt(0), 1);
  EXPECT_EQ(m_table.model()->data(m_table.model()->index(0, 2)).toString(), "25.00");
}

TEST_F(DumpListTest, TheSortColumnShowsItsArrowPointingTheSortsWay) {
  QHeaderView* header = m_table.horizontalHeader();
  const auto shot = [&](int order) {
    m_model.SetSort(DumpModel::kTemperature, order);
    return header->grab().toImage();
  };
  const QImage up = shot(0);
  const QImage down = shot(1);
  ASSERT_EQ(up.size(), down.size());
  const int left = header->sectionViewportPosition(DumpModel::kTemperature);
  const int right = left + header->sectionSize(DumpModel::kTemperature);
  // Where the two pictures differ, the dark pixels of the ascending arrow lie
  // lower than those of the descending one (a ▲ is wide at the bottom).
  double upRows = 0;
  double downRows = 0;
  int upCount = 0;
  int downCount = 0;
  for (int y = 0; y < up.height(); ++y) {
    for (int x = 0; x < up.width(); ++x) {
      if (up.pixel(x, y) == down.pixel(x, y)) continue;
      EXPECT_TRUE(x >= left && x < right) << x;  // only the sort column changes
      if (qGray(up.pixel(x, y)) < qGray(down.pixel(x, y))) {
        upRows += y;
        ++upCount;
      } else {
        downRows += y;
        ++downCount;
      }
    }
  }
  ASSERT_GT(upCount, 0);
  ASSERT_GT(downCount, 0);
  EXPECT_GT(upRows / upCount, downRows / downCount);
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
    FillLogSet(*m_state, m_dir, 1981);
    m_window->views().SetReplaced(kLogSet);
    click("Option9");
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
      } else if (modal != nullptr && modal->objectName() == QStringLiteral("Form10")) {
        seen.rangeShown = modal->findChild<QWidget*>(QStringLiteral("Frame2"))->isVisible();
        seen.allRowsChosen =
            modal->findChild<QRadioButton*>(QStringLiteral("Option1"))->isChecked();
        QTimer::singleShot(0, modal->findChild<QAbstractButton*>(QStringLiteral("CommandPdf")),
                           &QAbstractButton::click);
        answer.stop();
        answer.start(50);
      }
    });
    answer.start();
    find<QAction>("m13")->trigger();
    const QString text = PdfText(seen.pdf);
    QFile::remove(seen.pdf);
    return {seen, text};
  }
};

TEST_F(DumpPrintWindowTest, NothingSelectedPrintsEveryRowAndASelectionOnlyItsRows) {
  QTableView* list = find<QTableView>("ListView1_0");
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
