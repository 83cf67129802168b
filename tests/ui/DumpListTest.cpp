// The window's dump list of a log set of 1981 points: header sorting and its arrow, the rows
// handed to printing, and printing the list with the window's own print and file dialogs.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

#include "PrintTestSupport.h"
#include "WindowTest.h"
#include "core/views/DumpModel.h"
#include "ui/DataViews.h"
#include "ui/print/DumpPrintDialog.h"
#include "ui/print/PrintActions.h"

namespace termika {
namespace {

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

// Header clicks reach the model, whose sort the header shows; the rows handed to printing
// follow the list's order and carry its selection.
TEST_F(DumpListTest, HeaderClicksSortAndPrintRowsFollowTheList) {
  QHeaderView* header = m_list->horizontalHeader();
  EXPECT_EQ(std::pair(header->sortIndicatorSection(), header->sortIndicatorOrder()),
            std::pair(0, Qt::AscendingOrder));
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
}

TEST_F(DumpListTest, TheSortColumnShowsItsArrowPointingTheSortsWay) {
  const auto shot = [&](int order) {
    m_model->setSort(DumpModel::kTemperature, order);
    return m_list->horizontalHeader()->grab().toImage();
  };
  const QImage up = shot(0);
  const QImage down = shot(1);
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

TEST_F(DumpListTest, NothingSelectedPrintsEveryRowAndASelectionOnlyItsRows) {
  const auto [everyRow, allText] = printToPdf();
  EXPECT_TRUE(everyRow);
  EXPECT_TRUE(allText.contains(QStringLiteral("00001")) &&
              allText.contains(QStringLiteral("01981")));
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
