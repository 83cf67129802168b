#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>

#include "DialogTestSupport.h"
#include "PrintTestSupport.h"
#include "ui/print/DumpPrint.h"
#include "ui/print/DumpPrintDialog.h"
#include "ui/print/GraphPrint.h"
#include "ui/print/GraphPrintDialog.h"
#include "ui/print/PrintActions.h"

namespace termika {
namespace {

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
  QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

  QTemporaryDir m_dir;
  AppState m_state;
  ScriptedPrompts m_prompts;
  std::vector<bool> m_allRows;
};

// Without a printer, printing says so, reads nothing and the dialog stays.
TEST_F(PrintDialogsTest, PrintWithoutAnyPrinterSaysSoAndStaysOpen) {
  GraphPrintDialog form(setup(false));
  form.print();
  ASSERT_EQ(messagesShown(m_prompts).size(), 1);
  EXPECT_TRUE(messagesShown(m_prompts)[0].contains(QStringLiteral("PDF")));
  EXPECT_FALSE(form.outcome());
  EXPECT_EQ(form.result(), 0);
  EXPECT_TRUE(m_allRows.empty());
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
    EXPECT_EQ(messagesShown(m_prompts), QStringList());
    EXPECT_EQ(form.outcome().has_value(), goOn);
    EXPECT_EQ(QFile::exists(pdf), goOn);
    EXPECT_EQ(pdfPages(pdf), goOn ? 1 : 0);
  }
}

// Saving proposes the set's name and adds the suffix; nothing selected prints every row (which
// rows: DumpListTest). A cancelled save does nothing; a failed one and an emptied set say why,
// write nothing and leave the dialog open.
TEST_F(PrintDialogsTest, SaveAsPdfProposesANameAndAFailedSaveLeavesNothing) {
  DumpPrintDialog form(setup(true));
  m_prompts.saveFiles = {std::nullopt, path("no/such/folder/g.pdf"), path("empty.pdf"),
                         path("rows")};
  form.saveAsPdf();
  form.saveAsPdf();
  EXPECT_TRUE(canPrint(m_state, kLogSet));
  m_state.set(kLogSet).count = 0;
  form.saveAsPdf();
  EXPECT_FALSE(canPrint(m_state, kLogSet) || canPrint(m_state, kSetCount));
  const QStringList shown = messagesShown(m_prompts);
  ASSERT_EQ(shown.size(), 2);
  EXPECT_TRUE(shown[0].contains(QStringLiteral("g.pdf")));
  EXPECT_FALSE(QFile::exists(path("no/such/folder/g.pdf")) || QFile::exists(path("empty.pdf")));
  EXPECT_FALSE(form.outcome());
  EXPECT_NE(form.result(), QDialog::Accepted);

  m_state.set(kLogSet).count = 12;
  form.saveAsPdf();
  const auto saves = m_prompts.callsOf(ScriptedPrompts::Kind::SaveFile);
  EXPECT_EQ(saves.back().message, QStringLiteral("T001_100102_030000.pdf"));
  EXPECT_TRUE(saves.back().filter.contains(QStringLiteral("*.pdf")));
  EXPECT_EQ(form.outcome() ? form.outcome()->pages : 0, pdfPages(path("rows.pdf")));
  EXPECT_EQ(pdfPages(path("rows.pdf")), 1);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_TRUE(!m_allRows.empty() && m_allRows.back());
}

// The default printer is chosen first; a choice beyond the list keeps the one before.
TEST_F(PrintDialogsTest, PrinterListChoosesThePrinter) {
  PrintDialogBase::Setup s = setup(false);
  s.printers = {QStringLiteral("Office"), QStringLiteral("Lab")};
  s.defaultPrinter = QStringLiteral("Lab");
  GraphPrintDialog form(std::move(s));
  const QComboBox* combo = form.controls().printerCombo;
  EXPECT_EQ(
      QStringLiteral("%1 %2 ").arg(combo->count()).arg(combo->currentText()) + form.chosenPrinter(),
      QStringLiteral("2 Lab Lab"));
  form.printerChosen(0);
  form.printerChosen(5);
  EXPECT_EQ(form.chosenPrinter(), QStringLiteral("Office"));
}

}  // namespace
}  // namespace termika
