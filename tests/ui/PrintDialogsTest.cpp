#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

#include "DialogTestSupport.h"
#include "PrintTestSupport.h"
#include "core/views/DumpModel.h"
#include "ui/print/DumpPrint.h"
#include "ui/print/DumpPrintDialog.h"
#include "ui/print/GraphPrint.h"
#include "ui/print/GraphPrintDialog.h"
#include "ui/print/PrintActions.h"

namespace termika {
namespace {

using Kind = ScriptedPrompts::Kind;

class PrintDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    fillLogSet(m_state, m_dir, 12);
  }
  // The dump forms print rows 3 (selected) and 1 of the log set.
  PrintDialogBase::Setup setup(bool dump) {
    PrintDialogBase::Setup s;
    s.texts = &m_state.texts;
    s.prompts = &m_prompts;
    s.prepare = [this, dump](bool allRows) -> Result<PagePainter> {
      m_allRows.push_back(allRows);
      const std::vector<DumpListRow> rows = {{3, true}, {1, false}};
      if (dump) return prepareDumpPrint(m_state, kLogSet, rows, allRows);
      return prepareGraphPrint(m_state, kLogSet, std::nullopt);
    };
    s.proposedPdfName = QStringLiteral("T001_100102_030000.pdf");
    return s;
  }
  QStringList messages() const {
    QStringList out;
    for (const auto& c : m_prompts.callsOf(Kind::Info)) out << c.message;
    return out;
  }
  QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

  QTemporaryDir m_dir;
  AppState m_state;
  ScriptedPrompts m_prompts;
  std::vector<bool> m_allRows;
};

TEST_F(PrintDialogsTest, PrintWithoutAnyPrinterSaysSoAndStaysOpen) {
  GraphPrintDialog form(setup(false));
  form.print();
  ASSERT_EQ(messages().size(), 1);
  EXPECT_TRUE(messages()[0].contains(QStringLiteral("PDF")));
  EXPECT_FALSE(form.outcome());
  EXPECT_EQ(form.result(), 0);
  EXPECT_TRUE(m_allRows.empty());  // nothing was read
}

// Which rows are printed is checked from the window (DumpListTest).
TEST_F(PrintDialogsTest, SaveAsPdfProposesANameAndAddsTheSuffix) {
  DumpPrintDialog form(setup(true));
  const QString pdf = path("rows.pdf");
  m_prompts.saveFiles = {QString(pdf).remove(QStringLiteral(".pdf"))};
  form.saveAsPdf();
  EXPECT_EQ(messages(), QStringList());
  const auto saves = m_prompts.callsOf(Kind::SaveFile);
  EXPECT_EQ(saves.back().message, QStringLiteral("T001_100102_030000.pdf"));
  EXPECT_TRUE(saves.back().filter.contains(QStringLiteral("*.pdf")));
  ASSERT_TRUE(form.outcome());
  EXPECT_EQ(form.outcome()->pages, 1);
  EXPECT_EQ(pdfPages(pdf), 1);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(m_allRows, std::vector<bool>{true});  // nothing selected: every row
}

// Print shows the pages first; only the preview's print button goes on to
// the printer (here the printer dialog's "print to file").
TEST_F(PrintDialogsTest, PrintShowsAPreviewFirstAndPrintsOnlyFromIt) {
  for (const bool goOn : {true, false}) {
    SCOPED_TRACE(goOn);
    GraphPrintDialog form(setup(false));
    const QString pdf = path(goOn ? "printed.pdf" : "dropped.pdf");
    form.printer().setOutputFormat(QPrinter::PdfFormat);
    form.printer().setOutputFileName(pdf);
    int previews = 0;
    bool writtenBefore = true;
    QTimer look;
    look.start(20);
    QObject::connect(&look, &QTimer::timeout, [&] {
      auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
      if (preview == nullptr) return;
      look.stop();
      ++previews;
      writtenBefore = QFile::exists(pdf);
      const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
      for (QAction* action : preview->findChildren<QAction*>()) {
        if (goOn && action->text() == print) action->trigger();
      }
      if (!goOn) preview->reject();
    });
    form.print();
    EXPECT_EQ(previews, 1);
    EXPECT_FALSE(writtenBefore);
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(form.outcome().has_value(), goOn);
    EXPECT_EQ(pdfPages(pdf), goOn ? 1 : -1);
  }
}

TEST_F(PrintDialogsTest, CancelledOrFailedSaveLeavesNothing) {
  GraphPrintDialog form(setup(false));
  m_prompts.saveFiles = {std::nullopt, path("no/such/folder/g.pdf"), path("empty.pdf")};
  form.saveAsPdf();
  EXPECT_EQ(messages(), QStringList());
  EXPECT_FALSE(form.outcome());

  form.saveAsPdf();
  ASSERT_EQ(messages().size(), 1);
  EXPECT_TRUE(messages()[0].contains(QStringLiteral("g.pdf")));
  EXPECT_FALSE(QFile::exists(path("no/such/folder/g.pdf")));
  EXPECT_FALSE(form.outcome());
  EXPECT_NE(form.result(), QDialog::Accepted);

  EXPECT_TRUE(canPrint(m_state, kLogSet));
  m_state.set(kLogSet).count = 0;
  form.saveAsPdf();
  EXPECT_EQ(messages().size(), 2);
  EXPECT_FALSE(QFile::exists(path("empty.pdf")));
  EXPECT_FALSE(canPrint(m_state, kLogSet));
  EXPECT_FALSE(canPrint(m_state, 3));
}

TEST_F(PrintDialogsTest, PrinterListChoosesThePrinter) {
  PrintDialogBase::Setup s = setup(false);
  s.printers = {QStringLiteral("Office"), QStringLiteral("Lab")};
  s.defaultPrinter = QStringLiteral("Lab");
  GraphPrintDialog form(std::move(s));
  const QComboBox* combo = form.controls().printerCombo;
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->currentText() + ' ' + form.chosenPrinter(), QStringLiteral("Lab Lab"));
  form.printerChosen(0);
  EXPECT_EQ(form.chosenPrinter(), QStringLiteral("Office"));
  form.printerChosen(5);
  EXPECT_EQ(form.chosenPrinter(), QStringLiteral("Office"));
}

TEST_F(PrintDialogsTest, DumpListRowsFollowTheDisplayedOrderAndSelection) {
  DumpModel model(&m_state.file(kLogSet), m_state.texts);
  model.fill(4);
  model.setSort(DumpModel::kNumber, 1);  // descending: 4, 3, 2, 1
  QTableView table;
  table.setModel(&model);
  table.setSelectionBehavior(QAbstractItemView::SelectRows);
  table.selectRow(1);
  QString rows;
  for (const DumpListRow& r : dumpListRows(table))
    rows += QStringLiteral("%1%2 ").arg(r.recordNo).arg(r.selected ? "*" : "");
  EXPECT_EQ(rows, QStringLiteral("4 3* 2 1 "));
}

}  // namespace
}  // namespace termika
