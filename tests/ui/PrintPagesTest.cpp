#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

#include "PrintTestSupport.h"
#include "ScriptedPrompts.h"
#include "core/print/PrintPlan.h"
#include "ui/print/GraphPrint.h"
#include "ui/print/PrintActions.h"
#include "ui/print/PrintTarget.h"
#include "ui/print/ReportPreviewDialog.h"
#include "ui/print/ReportPrint.h"

namespace termika {
namespace {

// Line pitch in page units (a page is 10000 high), measured here on the device itself: 1.5 x
// the height of the 10.5 pt font.
double linePitch(const QPaintDevice& device) {
  QFont font;
  font.setPointSizeF(10.5);
  return 1.5 * QFontMetricsF(font, &device).height() * 10000.0 / device.height();
}

class PrintPagesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
  QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

  QTemporaryDir m_dir;
  AppState m_state;
};

// A 14-line header, then rows at one pitch down to 3 lines above the page's end on every page,
// each page's footer the name and the page number.
TEST_F(PrintPagesTest, DumpPdfCarriesItsRowsOverCountedPages) {
  const int rows = 120;
  fillLogSet(m_state, m_dir, rows);
  const Result<int> pages = printSetToPdf(m_state, kLogSet, true, path("dump.pdf"));
  ASSERT_TRUE(pages.ok()) << pages.error().message.toStdString();
  QBuffer measured;
  QPdfWriter a4(&measured);
  a4.setPageLayout(defaultPdfLayout());
  a4.setResolution(kPrintResolution);
  const double l = linePitch(a4);
  const int first = static_cast<int>(std::floor(10000.0 / l - 17.0));
  const int later = static_cast<int>(std::floor(10000.0 / l - 3.0));
  const int expected = 1 + (rows - first + later - 1) / later;
  EXPECT_EQ(*pages, expected);
  const QStringList text = pdfText(path("dump.pdf")).split(u'\f');  // a form feed ends each page
  ASSERT_EQ(text.size(), expected + 1);
  const QString page1 = squeezed(text[0]);
  // Point 6 is the hottest (20 + 6), and at 03:05:00; point 2 has a remark.
  for (const char* line :
       {"最高温度000062010/01/0203:05:0026.00℃", "000012010/01/0203:00:0021.0041.00", "上限越"})
    EXPECT_TRUE(page1.contains(QString::fromUtf8(line))) << line;
  const auto row = [](int n) {
    return QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0')) + QStringLiteral("2010/01/02");
  };
  EXPECT_TRUE(page1.contains(row(first)) && !page1.contains(row(first + 1)));
  EXPECT_TRUE(squeezed(text[1]).startsWith(row(first + 1)));
  EXPECT_TRUE(page1.endsWith(QStringLiteral("T0011")));
  const QString last = squeezed(text[expected - 1]);
  EXPECT_TRUE(last.contains(QStringLiteral("001202010/01/0204:59:0021.0050.00")));
  EXPECT_TRUE(last.endsWith(QStringLiteral("T001") + QString::number(expected)));
}

// The report leads with its verdict: a limit stricter (25 °C) than the set's own (30 °C) is
// passed by the four 26 °C readings; the graph and, when asked, the dump pages follow. The
// window shows the report in a preview that saves the same pages; a failed save says why and
// the dialog stays.
TEST_F(PrintPagesTest, ReportSaysPassOrFailAndIsSavedFromItsPreview) {
  fillLogSet(m_state, m_dir, 30, QStringLiteral("QM120-RH"));
  const Result<int> dumpPages = printSetToPdf(m_state, kLogSet, true, path("dump.pdf"));
  ReportOptions stricter;
  stricter.upperLimit = 25.0;
  stricter.withDump = true;
  const Result<PagePainter> failed = prepareReportPrint(m_state, kLogSet, stricter, "log.csv");
  ASSERT_TRUE(dumpPages.ok() && failed.ok());
  const Result<PrintOutcome> written = writePdf(path("failed.pdf"), *failed);
  ASSERT_TRUE(written.ok()) << written.error().message.toStdString();
  EXPECT_EQ(written->pages, 2 + *dumpPages);
  EXPECT_EQ(pdfPages(path("failed.pdf")), 2 + *dumpPages);
  const QString text = squeezed(pdfText(path("failed.pdf")));
  EXPECT_EQ(text.count(QStringLiteral("FAIL:4excursion(s)beyondthelimits")), 2);
  EXPECT_TRUE(text.contains(QStringLiteral("Temperature(°C)20.0026.0022.901.97")));
  EXPECT_FALSE(prepareReportPrint(AppState{}, kLogSet, {}, {}).ok());  // nothing to report

  Result<PagePainter> report = prepareReportPrint(m_state, kLogSet, {}, "log");
  ASSERT_TRUE(report.ok());
  testing::ScriptedPrompts prompts;
  ReportPreviewDialog dialog(*report, "T001_report", m_state.texts, prompts);
  prompts.saveFiles = {path("missing/r"), path("r")};
  dialog.saveAsPdf();
  dialog.saveAsPdf();
  ASSERT_EQ(prompts.callsOf(testing::ScriptedPrompts::Kind::Info).size(), 1u);
  EXPECT_EQ(prompts.calls.front().message, QStringLiteral("T001_report"));
  EXPECT_EQ(pdfPages(path("r.pdf")), 2);
  EXPECT_TRUE(squeezed(pdfText(path("r.pdf"))).contains("PASS:everyreadingwithinthelimits"));
}

// A graph page painted on an A4 image at 100 dpi. The shown window holds temperatures
// 15..25 °C, yet points 10..12 spike to 80 °C: the curve must be clipped to its graph, so the
// blank line between header and graph stays white.
TEST_F(PrintPagesTest, GraphPageCurveStaysInsideThePlot) {
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
  // 14 header lines and a blank line above the graph, whose top rows the spike reaches. Where
  // the graphs lie: PrintPage.GraphsShareThePageBelowTheHeader.
  const double l = linePitch(image) * image.height() / 10000.0;
  EXPECT_EQ(count(static_cast<int>(14.0 * l) + 1, static_cast<int>(15.0 * l) - 1, false), 0);
  EXPECT_GT(count(static_cast<int>(15.0 * l), static_cast<int>(15.0 * l) + 2, true), 0);
}

}  // namespace
}  // namespace termika
