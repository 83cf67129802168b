#include <gtest/gtest.h>

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <cmath>

#include "PrintTestSupport.h"
#include "ScriptedPrompts.h"
#include "core/data/Csv.h"
#include "core/print/PrintPlan.h"
#include "ui/print/GraphPrint.h"
#include "ui/print/PrintActions.h"
#include "ui/print/PrintTarget.h"
#include "ui/print/ReportPreviewDialog.h"
#include "ui/print/ReportPrint.h"

namespace termika {
namespace {

// Line pitch in page units on an A4 PDF page with 10 mm margins, measured
// here independently: 1.5 x the height of the 10.5 pt font over the
// printable height.
double pdfLinePitch(const QTemporaryDir& dir) {
  QPdfWriter writer(dir.filePath(QStringLiteral("measure.pdf")));
  writer.setPageLayout(defaultPdfLayout());
  writer.setResolution(kPrintResolution);
  QPainter painter(&writer);
  QFont font = painter.font();
  font.setPointSizeF(10.5);
  painter.setFont(font);
  const double height = painter.fontMetrics().height();
  const double pitch = 1.5 * height * 10000.0 / writer.height();
  painter.end();
  return pitch;
}

class PrintPagesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
  QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

  QTemporaryDir m_dir;
  AppState m_state;
};

TEST_F(PrintPagesTest, DumpPdfHoldsHeaderRowsAndCountedPages) {
  const int rows = 120;
  fillLogSet(m_state, m_dir, rows);
  const QString pdf = path("dump.pdf");
  const Result<int> pages = printSetToPdf(m_state, kLogSet, true, pdf);
  ASSERT_TRUE(pages.ok()) << pages.error().message.toStdString();

  // A 14-line header: rows of the first page at (14 + k) L up to 10000 - 3 L,
  // rows of later pages at k L up to the same limit.
  const double l = pdfLinePitch(m_dir);
  const int first = static_cast<int>(std::floor(10000.0 / l - 17.0));
  const int later = static_cast<int>(std::floor(10000.0 / l - 3.0));
  const int expected = 1 + (rows - first + later - 1) / later;
  EXPECT_EQ(*pages, expected);
  EXPECT_EQ(pdfPages(pdf), expected);

  const QStringList text = pdfText(pdf).split(u'\f');
  ASSERT_GE(text.size(), expected);
  const QString page1 = squeezed(text[0]);
  // Point 6 is the hottest (20 + 6), and at 03:05:00; point 2 has a remark.
  for (const char* text :
       {"認識名称T001", "開始時刻2010/01/0203:00:00", "記録点数120点", "記録間隔1分全記録内",
        "選択範囲内", "最高温度000062010/01/0203:05:0026.00℃", "最低湿度",
        "000012010/01/0203:00:0021.0041.00", "上限越"}) {
    EXPECT_TRUE(page1.contains(QString::fromUtf8(text))) << text;
  }
  EXPECT_FALSE(page1.contains(QStringLiteral("上限温度設定")));  // a QM100-RH
  // The last row on the last page, with its number in the footer.
  const QString last = squeezed(text[expected - 1]);
  EXPECT_TRUE(last.contains(QStringLiteral("001202010/01/0204:59:0021.0050.00")))
      << last.toStdString();
  EXPECT_TRUE(last.endsWith(QStringLiteral("T001") + QString::number(expected)));
  // Rows follow on from page to page: the last of page 1, the first of page 2.
  const auto row = [](int n) {
    return QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0')) + QStringLiteral("2010/01/02");
  };
  EXPECT_TRUE(page1.contains(row(first)));
  EXPECT_FALSE(page1.contains(row(first + 1)));
  EXPECT_TRUE(squeezed(text[1]).startsWith(row(first + 1)));
  EXPECT_TRUE(page1.endsWith(QStringLiteral("T0011")));
}

TEST_F(PrintPagesTest, GraphPdfInEnglishDescribesTheWholeSet) {
  m_state.texts = UiText::load(UiText::Language::English);
  fillLogSet(m_state, m_dir, 30);
  const QString pdf = path("graph.pdf");
  const Result<int> pages = printSetToPdf(m_state, kLogSet, false, pdf);
  ASSERT_TRUE(pages.ok()) << pages.error().message.toStdString();
  EXPECT_EQ(*pages, 1);
  EXPECT_EQ(pdfPages(pdf), 1);
  const QString text = squeezed(pdfText(pdf));
  for (const char* label : {"Recognitionname", "Recordinterval", "Inallrecords", "Rangeofselection",
                            "Temperature", "Humidity"}) {
    EXPECT_TRUE(text.contains(QString::fromLatin1(label))) << label;
  }
  // The whole set is drawn, so both sections name point 6 (26.00) as hottest.
  EXPECT_EQ(text.count(QStringLiteral("Maximumtemperature000062010/01/0203:05:0026.00C")), 2)
      << text.toStdString();
}

// The report leads with its verdict: the set's own alarm limit (30 °C) holds,
// a stricter one given for the report (25 °C) is passed by the four 26 °C
// readings; the graph and, when asked, the dump pages follow.
TEST_F(PrintPagesTest, ReportPdfSaysPassOrFailAndHoldsTheFigures) {
  fillLogSet(m_state, m_dir, 30, QStringLiteral("QM120-RH"));
  ReportOptions stricter;
  stricter.upperLimit = 25.0;
  stricter.withDump = true;
  const Result<int> dumpPages = printSetToPdf(m_state, kLogSet, true, path("dump.pdf"));
  ASSERT_TRUE(dumpPages.ok());
  const struct {
    ReportOptions options;
    const char* verdict;
    int pages;
  } cases[] = {{ReportOptions{}, "PASS:everyreadingwithinthelimits", 2},
               {stricter, "FAIL:4excursion(s)beyondthelimits", 2 + *dumpPages}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.verdict);
    const Result<PagePainter> report = prepareReportPrint(m_state, kLogSet, c.options, "log.csv");
    ASSERT_TRUE(report.ok()) << report.error().message.toStdString();
    const QString pdf = path("report.pdf");
    const Result<PrintOutcome> written = writePdf(pdf, *report);
    ASSERT_TRUE(written.ok()) << written.error().message.toStdString();
    EXPECT_EQ(written->pages, c.pages);
    EXPECT_EQ(pdfPages(pdf), c.pages);
    const QString text = squeezed(pdfText(pdf));
    EXPECT_EQ(text.count(QString::fromLatin1(c.verdict)), 2) << text.toStdString();
    for (const char* figure :
         {"LoggerQM120-RHT001", "Readings30in1block(s)", "Temperature(°C)20.0026.0022.901.97",
          "at2010/01/0203:06:002010/01/0203:05:00"}) {
      EXPECT_TRUE(text.contains(QString::fromUtf8(figure))) << figure;
    }
  }
  EXPECT_FALSE(prepareReportPrint(AppState{}, kLogSet, {}, {}).ok());  // nothing to report
}

// The window's report opens as a preview of the same pages and is saved from
// there; a failed save says why and the dialog stays.
TEST_F(PrintPagesTest, ReportPreviewShowsThePagesAndSavesThePdf) {
  fillLogSet(m_state, m_dir, 30, QStringLiteral("QM120-RH"));
  Result<PagePainter> report = prepareReportPrint(m_state, kLogSet, {}, "log");
  ASSERT_TRUE(report.ok());
  testing::ScriptedPrompts prompts;
  ReportPreviewDialog dialog(*report, "T001_report", m_state.texts, prompts);
  dialog.preview()->updatePreview();
  EXPECT_EQ(dialog.pageCount(), 2);
  prompts.saveFiles = {path("missing/r"), path("r")};
  dialog.saveAsPdf();
  dialog.saveAsPdf();
  ASSERT_EQ(prompts.callsOf(testing::ScriptedPrompts::Kind::Info).size(), 1u);
  EXPECT_EQ(prompts.calls.front().message, QStringLiteral("T001_report"));
  EXPECT_EQ(pdfPages(path("r.pdf")), 2);
  EXPECT_TRUE(squeezed(pdfText(path("r.pdf"))).contains("PASS:everyreadingwithinthelimits"));
}

TEST_F(PrintPagesTest, CsvFileToPdfForScriptedReports) {
  fillLogSet(m_state, m_dir, 8, QStringLiteral("QM120-RH"));
  const QString csv = path("T001.csv");
  ASSERT_TRUE(writeCsvFile(csv, m_state.set(kLogSet), m_state.file(kLogSet), m_state.texts).ok());

  const QString dump = path("from-csv.pdf");
  const Result<int> pages = printCsvToPdf(csv, true, dump, UiText::Language::Japanese);
  ASSERT_TRUE(pages.ok()) << pages.error().message.toStdString();
  EXPECT_EQ(*pages, 1);
  const QString text = squeezed(pdfText(dump));
  EXPECT_TRUE(text.contains(QStringLiteral("認識名称T001")));
  EXPECT_TRUE(text.contains(QStringLiteral("000082010/01/0203:07:0021.0048.00")));
  EXPECT_TRUE(text.contains(QStringLiteral("上限温度設定ON30℃")));

  const QString graph = path("graph-from-csv.pdf");
  ASSERT_TRUE(printCsvToPdf(csv, false, graph, UiText::Language::Japanese).ok());
  EXPECT_EQ(pdfPages(graph), 1);

  const Result<int> missing =
      printCsvToPdf(path("nothing.csv"), true, path("x.pdf"), UiText::Language::Japanese);
  EXPECT_FALSE(missing.ok());
  EXPECT_FALSE(QFile::exists(path("x.pdf")));
}

// A graph page painted on an A4 image at 100 dpi. The shown window holds
// temperatures 15..25 °C, yet points 10..12 spike to 80 °C: the curve must
// be clipped to its graph, so the lines between header and graph, between the
// graphs and the side margins stay white.
TEST_F(PrintPagesTest, GraphPageCurveStaysInsideThePlot) {
  fillLogSet(m_state, m_dir, 40);
  for (int n = 10; n <= 12; ++n) {
    std::optional<DataRecord> r = m_state.file(kLogSet).read(n);
    ASSERT_TRUE(r);
    r->temperature = 80.0f;
    ASSERT_TRUE(m_state.file(kLogSet).write(n, *r).ok());
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
  QFont font = painter.font();
  font.setPointSizeF(10.5);
  const double l = 1.5 * QFontMetricsF(font, &image).height() * 10000.0 / image.height();
  printGraphPage(painter, image, *plan, *base, m_state.texts);
  painter.end();

  const auto px = [&](double ux) { return static_cast<int>(ux * image.width() / 10000.0); };
  const auto py = [&](double uy) { return static_cast<int>(uy * image.height() / 10000.0); };
  // Pixels of `colour` (dark: any grey below 200) in the rectangle.
  const auto count = [&](int x0, int y0, int x1, int y1, bool blackOnly) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        const QRgb p = image.pixel(x, y);
        n += (blackOnly ? p == qRgb(0, 0, 0) : qGray(p) < 200) ? 1 : 0;
      }
    }
    return n;
  };
  // 14 header lines, one blank line, two graphs of (10000 - 15 L - L) / 2.
  const double graphTop = 15.0 * l;
  const double graphHeight = (10000.0 - graphTop - l) / 2.0;
  const int headerBottom = py(14.0 * l) + 1;
  const int tTop = py(graphTop);
  const int tBottom = py(graphTop + graphHeight);
  const int hTop = py(graphTop + graphHeight + l);
  const int w = image.width();
  const int h = image.height();
  EXPECT_EQ(count(0, headerBottom, w, tTop - 1, false), 0);
  EXPECT_EQ(count(0, tBottom + 1, w, hTop - 1, false), 0);
  EXPECT_EQ(count(0, headerBottom, px(500) - 1, h, false), 0);
  EXPECT_EQ(count(px(9500) + 1, headerBottom, w, h, false), 0);
  // Inside the temperature plot (left of the value labels, above the time
  // labels): black curve pixels, and the spike reaching the plot's top rows.
  const int plotRight = px(500) + static_cast<int>((px(9500) - px(500)) / 1.05) - 2;
  const int plotBottom = tTop + static_cast<int>((tBottom - tTop) / 1.1) - 2;
  EXPECT_GT(count(px(500) + 1, tTop, plotRight, plotBottom, true), 100);
  EXPECT_GT(count(px(500) + 1, tTop, plotRight, tTop + 2, true), 0);
}

}  // namespace
}  // namespace termika
