#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTableView>

#include "PrintTestSupport.h"
#include "core/views/DumpModel.h"
#include "ui/print/DumpPrint.h"
#include "ui/print/Form10.h"
#include "ui/print/Form9.h"
#include "ui/print/GraphPrint.h"
#include "ui/print/PrintActions.h"

namespace termika {
namespace {

class PrintFormsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    FillLogSet(m_state, m_dir, 12);
  }

  PrintForm::Setup setup(bool dump) {
    PrintForm::Setup s;
    s.texts = &m_state.Texts;
    s.prompts = &m_prompts;
    s.prepare = [this, dump](bool allRows) -> Result<PagePainter> {
      m_allRows.push_back(allRows);
      if (dump) {
        const std::vector<DumpListRow> rows = {{3, true}, {1, false}};
        return PrepareDumpPrint(m_state, kLogSet, rows, allRows);
      }
      return PrepareGraphPrint(m_state, kLogSet, std::nullopt);
    };
    s.proposedPdfName = QStringLiteral("T001_100102_030000.pdf");
    return s;
  }

  template <typename T>
  static T* child(QWidget& form, const char* name) {
    return form.findChild<T*>(QString::fromLatin1(name));
  }

  QTemporaryDir m_dir;
  AppState m_state;
  PrintPrompts m_prompts;
  std::vector<bool> m_allRows;
};

TEST_F(PrintFormsTest, CaptionsFromTheTextTable) {
  Form9 graph(setup(false));
  EXPECT_EQ(graph.objectName(), QStringLiteral("Form9"));
  EXPECT_EQ(graph.windowTitle(), QStringLiteral("グラフ印刷"));
  EXPECT_EQ(child<QPushButton>(graph, "Command1")->text(), QStringLiteral("印刷"));
  EXPECT_EQ(child<QPushButton>(graph, "Command2")->text(), QStringLiteral("キャンセル"));
  EXPECT_EQ(child<QGroupBox>(graph, "Frame1")->title(), QStringLiteral("プリンタ"));
  ASSERT_NE(child<QPushButton>(graph, "Command3"), nullptr);
  ASSERT_NE(child<QPushButton>(graph, "CommandPdf"), nullptr);

  Form10 dump(setup(true));
  EXPECT_EQ(dump.windowTitle(), QStringLiteral("ダンプ印刷"));
  EXPECT_EQ(child<QGroupBox>(dump, "Frame2")->title(), QStringLiteral("印刷範囲"));
  EXPECT_TRUE(child<QGroupBox>(dump, "Frame2")->isHidden());
  EXPECT_TRUE(child<QRadioButton>(dump, "Option2")->isChecked());
  EXPECT_EQ(child<QRadioButton>(dump, "Option2")->text(), QStringLiteral("選択したデータのみ印刷"));
  EXPECT_FALSE(child<QRadioButton>(dump, "Option1")->isChecked());
}

TEST_F(PrintFormsTest, PrintWithoutAnyPrinterSaysSoAndStaysOpen) {
  Form9 form(setup(false));
  form.Command1_Click();
  ASSERT_EQ(m_prompts.messages.size(), 1u);
  EXPECT_TRUE(m_prompts.messages[0].contains(QStringLiteral("PDF")));
  EXPECT_FALSE(form.outcome());
  EXPECT_EQ(form.result(), 0);
  EXPECT_TRUE(m_allRows.empty());  // nothing was read
}

TEST_F(PrintFormsTest, SaveAsPdfWritesTheSelectedRows) {
  Form10 form(setup(true));
  m_prompts.saveAs = m_dir.filePath(QStringLiteral("rows"));
  form.CommandPdf_Click();
  EXPECT_TRUE(m_prompts.messages.empty());
  EXPECT_EQ(m_prompts.proposedName, QStringLiteral("T001_100102_030000.pdf"));
  EXPECT_TRUE(m_prompts.filter.contains(QStringLiteral("*.pdf")));
  ASSERT_TRUE(form.outcome());
  EXPECT_EQ(form.outcome()->pages, 1);
  // Only row 3 was selected: 20 + 3 °C at 03:02:00 is the range's extreme.
  EXPECT_EQ(form.outcome()->selected.entries[Extremes::kHighTemperature].PointNo, 3);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(m_allRows, std::vector<bool>{false});
  const QString text = PdfText(m_dir.filePath(QStringLiteral("rows.pdf")));
  EXPECT_TRUE(Squeezed(text).contains(QStringLiteral("000032010/01/0203:02:0023.00")));
  EXPECT_FALSE(Squeezed(text).contains(QStringLiteral("000012010/01/0203:00:00")));
}

TEST_F(PrintFormsTest, PrinterDialogsPrintToFileWritesThePdf) {
  // What the printer dialog leaves when the user picks "print to file".
  Form9 form(setup(false));
  const QString pdf = m_dir.filePath(QStringLiteral("via-dialog.pdf"));
  form.printer().setOutputFormat(QPrinter::PdfFormat);
  form.printer().setOutputFileName(pdf);
  form.Command1_Click();
  EXPECT_TRUE(m_prompts.messages.empty());
  ASSERT_TRUE(form.outcome());
  EXPECT_EQ(PdfPages(pdf), 1);
}

TEST_F(PrintFormsTest, AllRowsOptionIsPassedOn) {
  Form10 form(setup(true));
  child<QRadioButton>(form, "Option1")->setChecked(true);
  m_prompts.saveAs = m_dir.filePath(QStringLiteral("all.pdf"));
  form.CommandPdf_Click();
  EXPECT_EQ(m_allRows, std::vector<bool>{true});
  ASSERT_TRUE(form.outcome());
  EXPECT_EQ(form.outcome()->selected.entries[Extremes::kHighTemperature].PointNo, 3);
  EXPECT_EQ(form.outcome()->selected.entries[Extremes::kLowTemperature].PointNo, 1);
}

TEST_F(PrintFormsTest, CancelledOrFailedSaveLeavesNothing) {
  Form9 form(setup(false));
  m_prompts.saveAs = std::nullopt;
  form.CommandPdf_Click();
  EXPECT_TRUE(m_prompts.messages.empty());
  EXPECT_FALSE(form.outcome());

  const QString nowhere = m_dir.filePath(QStringLiteral("no/such/folder/g.pdf"));
  m_prompts.saveAs = nowhere;
  form.CommandPdf_Click();
  ASSERT_EQ(m_prompts.messages.size(), 1u);
  EXPECT_TRUE(m_prompts.messages[0].contains(QStringLiteral("g.pdf")));
  EXPECT_FALSE(QFile::exists(nowhere));
  EXPECT_FALSE(form.outcome());
  EXPECT_NE(form.result(), QDialog::Accepted);

  m_state.set(kLogSet).Count = 0;
  m_prompts.saveAs = m_dir.filePath(QStringLiteral("empty.pdf"));
  form.CommandPdf_Click();
  ASSERT_EQ(m_prompts.messages.size(), 2u);
  EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("empty.pdf"))));
}

TEST_F(PrintFormsTest, PrinterListChoosesThePrinter) {
  PrintForm::Setup s = setup(false);
  s.printers = {QStringLiteral("Office"), QStringLiteral("Lab")};
  s.defaultPrinter = QStringLiteral("Lab");
  Form9 form(std::move(s));
  auto* combo = child<QComboBox>(form, "Combo1");
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->currentText(), QStringLiteral("Lab"));
  EXPECT_EQ(form.chosenPrinter(), QStringLiteral("Lab"));
  form.Combo1_Click(0);
  EXPECT_EQ(form.chosenPrinter(), QStringLiteral("Office"));
  form.Combo1_Click(5);
  EXPECT_EQ(form.chosenPrinter(), QStringLiteral("Office"));
}

TEST_F(PrintFormsTest, DumpListRowsFollowTheDisplayedOrderAndSelection) {
  DumpModel model(&m_state.file(kLogSet), m_state.Texts);
  model.FillDumpList(4);
  model.SetSort(DumpModel::kNumber, 1);  // descending: 4, 3, 2, 1
  QTableView table;
  table.setModel(&model);
  table.setSelectionBehavior(QAbstractItemView::SelectRows);
  table.selectRow(1);
  const std::vector<DumpListRow> rows = DumpListRows(table);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].recordNo, 4);
  EXPECT_EQ(rows[1].recordNo, 3);
  EXPECT_TRUE(rows[1].selected);
  EXPECT_FALSE(rows[0].selected);
  EXPECT_EQ(rows[3].recordNo, 1);
}

TEST_F(PrintFormsTest, EmptySetCannotBePrinted) {
  EXPECT_TRUE(CanPrint(m_state, kLogSet));
  EXPECT_FALSE(CanPrint(m_state, kRealTimeSet));
  EXPECT_FALSE(CanPrint(m_state, 3));
}

}  // namespace
}  // namespace termika
