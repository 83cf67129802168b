#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cmath>
#include <cstdio>

#include "FileFixtures.h"
#include "UiTestSupport.h"
#include "core/app/Settings.h"
#include "core/print/PrintPlan.h"
#include "ui/print/DumpPrint.h"
#include "ui/print/GraphPrint.h"
#include "ui/print/GraphPrintDialog.h"
#include "ui/print/PrintTarget.h"
#include "ui/print/ReportPrint.h"

namespace termika {
namespace {

// Twelve points of a log set in record files of a temporary folder.
class PrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    fillLogSet(m_state, m_dir, 12);
  }
  // A dialog's setup; the dump forms print rows 3 (selected) and 1 of the log set.
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

// The report leads with its verdict: a limit stricter (25 °C) than the set's own (30 °C) is
// passed by the four 26 °C readings (its figures: ReportSheet); the graph and, when asked, the
// dump pages follow. The window shows the report in a preview that saves the same pages; a
// failed save says why and the dialog stays.
TEST_F(PrintTest, ReportSaysPassOrFailAndIsSavedFromItsPreview) {
  fillLogSet(m_state, m_dir, 30, QStringLiteral("QM120-RH"));
  const Result<int> dumpPages = printSetToPdf(m_state, kLogSet, true, path("dump.pdf"));
  ReportOptions stricter;
  stricter.upperLimit = 25.0;
  stricter.withDump = true;
  const Result<PagePainter> failed = prepareReportPrint(m_state, kLogSet, stricter, "log.csv");
  ASSERT_TRUE(dumpPages.ok() && failed.ok());
  const Result<PrintOutcome> written = writePdf(path("failed.pdf"), *failed);
  EXPECT_EQ(std::pair(written ? written->pages : 0, pdfPages(path("failed.pdf"))),
            std::pair(2 + *dumpPages, 2 + *dumpPages));
  EXPECT_EQ(squeezed(pdfText(path("failed.pdf"))).count("FAIL:4excursion(s)beyondthelimits"), 2);
  EXPECT_FALSE(prepareReportPrint(AppState{}, kLogSet, {}, {}).ok());  // nothing to report

  Result<PagePainter> report = prepareReportPrint(m_state, kLogSet, {}, "log");
  ASSERT_TRUE(report.ok());
  ReportPreviewDialog dialog(*report, "T001_report", m_state.texts, m_prompts);
  m_prompts.saveFiles = {path("missing/r"), path("r")};
  dialog.saveAsPdf();
  dialog.saveAsPdf();
  ASSERT_EQ(messagesShown(m_prompts).size(), 1);
  EXPECT_EQ(m_prompts.calls.front().message, QStringLiteral("T001_report"));
  EXPECT_EQ(pdfPages(path("r.pdf")), 2);
  EXPECT_TRUE(squeezed(pdfText(path("r.pdf"))).contains("PASS:everyreadingwithinthelimits"));
}

// A graph page painted on an A4 image at 100 dpi. The shown window holds temperatures
// 15..25 °C, yet points 10..12 spike to 80 °C: the curve must be clipped to its graph, so the
// blank line between header and graph stays white.
TEST_F(PrintTest, GraphPageCurveStaysInsideThePlot) {
  fillLogSet(m_state, m_dir, 40);
  for (int n = 10; n <= 12; ++n) {
    DataRecord r = m_state.file(kLogSet).read(n).value();
    r.temperature = 80.0f;
    ASSERT_TRUE(m_state.file(kLogSet).write(n, r).ok());
  }
  const Result<GraphPrintPlan> fitted = planGraphPrint(m_state, kLogSet, std::nullopt);
  ASSERT_TRUE(fitted.ok());
  NavigationState view = fitted->view();
  view.bar(TemperatureCentre).value = 200;   // centre 20.0 °C
  view.bar(TemperatureHalfSpan).value = 50;  // +-5.0 °C
  const Result<GraphPrintPlan> plan = planGraphPrint(m_state, kLogSet, view);
  const Result<PrintHeaderInput> base = baseHeader(m_state, kLogSet);
  ASSERT_TRUE(plan.ok() && base.ok());
  QImage image(827, 1169, QImage::Format_RGB32);
  image.setDotsPerMeterX(3937);
  image.setDotsPerMeterY(3937);
  image.fill(Qt::white);
  QPainter painter(&image);
  printGraphPage(painter, image, *plan, *base, m_state.texts);
  painter.end();

  // Dark pixels (or black ones: the curve) in rows [y0, y1) of the plot: from the left margin
  // at 500 to the value labels, which take the last 1/21 of the 9000 units wide graph.
  const auto count = [&image](int y0, int y1, bool blackOnly) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = image.width() / 20 + 1; x < (500 + 9000 / 1.05) * image.width() / 10000 - 2;
           ++x) {
        const QRgb p = image.pixel(x, y);
        n += (blackOnly ? p == qRgb(0, 0, 0) : qGray(p) < 200) ? 1 : 0;
      }
    }
    return n;
  };
  // 14 header lines and a blank line above the graph, whose top rows the spike reaches. A line is
  // 1.5 x the height of the 10.5 pt font, measured here on the image itself. Where the graphs
  // lie: PrintPage.GraphsShareThePageBelowTheHeader.
  QFont font;
  font.setPointSizeF(10.5);
  const double l = 1.5 * QFontMetricsF(font, &image).height();
  EXPECT_EQ(count(static_cast<int>(14.0 * l) + 1, static_cast<int>(15.0 * l) - 1, false), 0);
  EXPECT_GT(count(static_cast<int>(15.0 * l), static_cast<int>(15.0 * l) + 2, true), 0);
}

// Print shows the pages first; only the preview's print button goes on to the printer (here the
// printer dialog's "print to file"). Without a printer, printing says so, reads nothing and the
// dialog stays. The default printer is chosen first; a choice beyond the list keeps the one
// before.
TEST_F(PrintTest, PrintShowsAPreviewFirstPrintsOnlyFromItAndNeedsAPrinter) {
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
      for (QAction* action : preview->findChildren<QAction*>())
        if (goOn && action->text() == print) action->trigger();
      if (!goOn) preview->reject();
    });
    form.print();
    EXPECT_TRUE(previews == 1 && !writtenBefore);
    EXPECT_EQ(messagesShown(m_prompts), QStringList());
    EXPECT_EQ(form.outcome().has_value(), goOn);
    EXPECT_EQ(pdfPages(pdf), goOn ? 1 : 0);  // no file, no pages
  }
  m_allRows.clear();
  GraphPrintDialog none(setup(false));
  none.print();
  const QStringList said = messagesShown(m_prompts);
  EXPECT_TRUE(said.size() == 1 && said[0].contains(QStringLiteral("PDF")))
      << said.join(u'/').toStdString();
  EXPECT_TRUE(!none.outcome() && none.result() == 0 && m_allRows.empty());
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

// Saving proposes the set's name and adds the suffix; nothing selected prints every row (which
// rows: DumpListTest). A cancelled save does nothing; a failed one and an emptied set say why,
// write nothing and leave the dialog open.
TEST_F(PrintTest, SaveAsPdfProposesANameAndAFailedSaveLeavesNothing) {
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
  EXPECT_FALSE(form.outcome() || form.result() == QDialog::Accepted);

  m_state.set(kLogSet).count = 12;
  form.saveAsPdf();
  const auto saves = m_prompts.callsOf(ScriptedPrompts::Kind::SaveFile);
  EXPECT_TRUE(saves.back().message == QStringLiteral("T001_100102_030000.pdf") &&
              saves.back().filter.contains(QStringLiteral("*.pdf")));
  EXPECT_EQ(std::pair(form.outcome() ? form.outcome()->pages : 0, pdfPages(path("rows.pdf"))),
            std::pair(1, 1));
  EXPECT_TRUE(form.result() == QDialog::Accepted && !m_allRows.empty() && m_allRows.back());
}

// Every file the program writes goes through one safe replacement: a full
// disk or a name held by a pipe or a device give an error naming the cause and
// leave whatever was there exactly as it was (a missing folder: the print form
// and settings tests).
TEST_F(PrintTest, FullDiskPipeOrDeviceLeaveWhatWasThereAndSayWhy) {
  fillLogSet(m_state, m_dir, 40, QStringLiteral("QM120-RH"));
  // Each writer, given a folder, writes its file there.
  const std::pair<const char*, std::function<Result<void>(const QString&)>> writers[] = {
      {"keep.csv",
       [this](const QString& path) {
         return writeCsvFile(path, m_state.set(kLogSet), m_state.file(kLogSet), m_state.texts);
       }},
      {"keep.pdf",
       [this](const QString& path) {
         const Result<int> pages = printSetToPdf(m_state, kLogSet, true, path);
         return pages ? Result<void>() : Result<void>(pages.error());
       }},
      {"Logger.ini",
       [](const QString& path) {
         return Settings(QFileInfo(path).path(), QStringLiteral("/opt/termika"))
             .save({7, 7, QStringLiteral("/home/ann/data")});
       }},
  };
  enum class Place { FullDisk, Fifo, Device };
  for (const auto& [place, cause] : {std::pair{Place::FullDisk, "No space left on device"},
                                     {Place::Fifo, "not a regular file"},
                                     {Place::Device, "not a regular file"}}) {
    for (const auto& [name, write] : writers) {
      SCOPED_TRACE(std::to_string(static_cast<int>(place)) + ", " + name);
      std::optional<testing::TinyDisk> disk;
      QTemporaryDir plain;
      if (place == Place::FullDisk && !disk.emplace().mounted()) {
        std::printf("[  SKIPPED ] %s\n", qPrintable(disk->why()));
        continue;
      }
      const QDir folder(disk ? disk->path() : plain.path());
      const QString target = folder.filePath(QString::fromLatin1(name));
      const QByteArray native = QFile::encodeName(target);
      QFile old(target);
      const bool made =
          place == Place::FullDisk ? old.open(QIODevice::WriteOnly) && old.write("old\r\n") == 5
          : place == Place::Fifo   ? ::mkfifo(native.constData(), 0600) == 0
                                 : ::mknod(native.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
      if (!made) {
        std::printf("[  SKIPPED ] %s cannot be made here\n", name);
        continue;
      }
      old.close();
      if (disk) disk->fill();
      const QByteArray before = testing::fileState(target);
      const auto entries = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
      const QStringList others = folder.entryList(entries);
      const Result<void> written = write(target);
      EXPECT_TRUE(!written.ok() && written.error().message.contains(QString::fromUtf8(cause)))
          << (written.ok() ? std::string("saved") : written.error().message.toStdString());
      EXPECT_EQ(testing::fileState(target), before);
      EXPECT_EQ(folder.entryList(entries), others);  // no half-written file left beside it
    }
  }
}

}  // namespace
}  // namespace termika
