// The graphs on real widgets: gestures, cursor, a window that grows and
// remembers its layout, tooltips.
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QWheelEvent>

#include "WindowTest.h"
#include "core/base/Translations.h"
#include "ui/DataViews.h"
#include "ui/graph/GraphScrollBar.h"
#include "ui/graph/GraphView.h"

namespace termika {
namespace {

class GraphGesturesTest : public WindowTest {
 protected:
  // 61 points 10 s apart: 600 s, one second a bar step.
  void openWithFile() {
    open(UiText::Language::English);
    QString csv = QStringLiteral(
        "\"Recognition name\",\"Start time\",\"Recording points\",\"Record interval\","
        "\"Upper bound temperature setting\",\"Lower bound temperature setting\"\r\n"
        "\"G\",\"2013/05/01 10:00:00\",\"61\",\"10\",\"OFF\",\"OFF\"\r\n"
        "\"Record number\",\"Date\",\"Temperature\",\"Humidity\",\"Remarks\"\r\n");
    for (int i = 0; i <= 60; ++i) {
      csv += QString::asprintf("%d,\"2013/05/01 10:%02d:%02d\",\"%d.50\",\"%d.00\",\"\"\r\n", i + 1,
                               i / 6, i % 6 * 10, 20 + i % 7, 50 + i % 5);
    }
    const QString path = m_dir.filePath(QStringLiteral("g.csv"));
    ASSERT_TRUE(commitFile(path, csv.toLatin1()).ok() && m_window->openCsvFile(path));
  }
  GraphView& graph(bool temperature = true) const {
    return *(temperature ? ui().temperatureGraph : ui().humidityGraph);
  }
  int bar(Bar b) const { return m_window->views().navigation().bar(b).value; }
  // Bars, state and both graphs' window agree; the offset is returned.
  int offsetEverywhere() const {
    for (Bar b : {TemperatureWidth, TemperatureOffset, HumidityWidth, HumidityOffset}) {
      const QScrollBar& w = *ui().bars[b];
      EXPECT_EQ(stateValueOf(w, w.value()), bar(b)) << b;
    }
    EXPECT_EQ(graph().geometry().userLeft, graph(false).geometry().userLeft);
    return bar(TemperatureOffset);
  }
  // Seconds back from the newest point under pixel x of the temperature graph.
  double timeAt(double x) const { return bar(TemperatureOffset) + graph().geometry().unmapX(x); }
  void wheel(GraphView& g, QPointF at, int delta, Qt::KeyboardModifiers mods = {}) {
    QWheelEvent e(at, g.mapToGlobal(at), {}, {0, delta}, Qt::NoButton, mods, Qt::NoScrollPhase,
                  false);
    QApplication::sendEvent(&g, &e);
  }
};

TEST_F(GraphGesturesTest, GesturesMoveTheBarsByTheButtonsSteps) {
  openWithFile();
  GraphView& ondo = graph();
  const QPointF at(ondo.width() * 0.4, ondo.height() / 2.0);
  const double under = timeAt(at.x());
  wheel(ondo, at, 120);  // one notch: the "+" button's halving, the time under the mouse kept
  EXPECT_EQ(bar(TemperatureWidth), 300);
  EXPECT_NEAR(timeAt(at.x()), under, 1.0);
  const int zoomed = offsetEverywhere();

  // A key moves as far as the bar's own arrow (30 s), which takes it back; Shift+wheel goes
  // towards the newest point.
  QTest::keyClick(&ondo, Qt::Key_Left);
  EXPECT_EQ(offsetEverywhere(), zoomed + 30);
  ui().bars[TemperatureOffset]->triggerAction(QAbstractSlider::SliderSingleStepSub);
  wheel(ondo, at, -120, Qt::ShiftModifier);
  EXPECT_EQ(offsetEverywhere(), zoomed - 30);

  // A drag keeps the time under the mouse while it moves.
  const double grabbed = timeAt(at.x());
  QTest::mousePress(&ondo, Qt::LeftButton, {}, at.toPoint());
  QTest::mouseMove(&ondo, (at + QPointF(-80, 5)).toPoint());
  QTest::mouseRelease(&ondo, Qt::LeftButton, {}, (at + QPointF(-80, 5)).toPoint());
  EXPECT_NEAR(timeAt(at.x() - 80), grabbed, 1.0);
  EXPECT_LT(offsetEverywhere(), zoomed - 30);

  // Ctrl+wheel zooms the values of the graph under the mouse only.
  const int tSpan = bar(TemperatureHalfSpan), hSpan = bar(HumidityHalfSpan);
  wheel(graph(false), at, 120, Qt::ControlModifier);
  EXPECT_EQ(bar(HumidityHalfSpan), hSpan / 2);
  EXPECT_EQ(bar(TemperatureHalfSpan), tSpan);

  // "-" and the button double; Home and a double click fit like the fit button.
  QTest::keyClick(&ondo, Qt::Key_Minus);
  EXPECT_EQ(bar(TemperatureWidth), 600);
  click(Control::TimeZoomIn);
  EXPECT_EQ(bar(TemperatureWidth), 300);
  QTest::keyClick(&ondo, Qt::Key_Home);
  EXPECT_EQ(std::tuple(bar(TemperatureWidth), offsetEverywhere(), bar(HumidityHalfSpan)),
            std::tuple(600, 0, hSpan));
}

TEST_F(GraphGesturesTest, TheCursorNamesTheNearestPointOnBothGraphs) {
  openWithFile();
  GraphView& ondo = graph();
  // 25 s back from the newest point (10:10:00) is 10:09:35; the point read is 10:09:30, the 58th.
  QTest::mouseMove(&ondo, QPointF(ondo.geometry().mapX(25.0), 20.0).toPoint());
  EXPECT_EQ(ondo.cursorBox().join(u'|'),
            QStringLiteral("2013/05/01 10:09:30|Temperature 21.50 °C|Humidity 52.00 %RH"));
  EXPECT_TRUE(graph(false).cursorBox().isEmpty());  // the line only
  EXPECT_EQ(ui().noticePanel->text(),
            QStringLiteral("Date 2013/05/01 10:09:30   Temperature 21.50°C   Humidity 52.00 %RH"));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&ondo, &leave);
  EXPECT_TRUE(ondo.cursorBox().isEmpty());
}

TEST_F(GraphGesturesTest, TheGraphsTakeWhatTheWindowGainsAndItIsRememberedWithTheSplit) {
  m_size = QSize(1280, 800);
  openWithFile();
  const auto plotsInside = [this] {
    for (bool t : {true, false}) {
      const QRectF plot =
          graph(t).geometry().plotBox.translated(graph(t).mapTo(m_window.get(), QPoint()));
      EXPECT_TRUE(QRectF(m_window->rect()).contains(plot)) << t;
      EXPECT_GT(plot.height(), 150);
    }
  };
  plotsInside();
  const int narrow = graph().width();
  m_window->resize(1920, 1080);
  QTest::qWait(50);
  EXPECT_GT(graph().width(), narrow + 500);
  plotsInside();

  m_window->resize(1100, 760);
  ui().viewSplit->setSizes({500, 600});
  const QList<int> split = ui().viewSplit->sizes();
  ASSERT_TRUE(m_window->close());
  m_size = QSize();
  open(UiText::Language::English);
  EXPECT_EQ(m_window->size(), QSize(1100, 760));
  EXPECT_EQ(ui().viewSplit->sizes(), split);
}

// An English window shows no Japanese in any caption, tooltip or list header; every bar and
// button of the panels column and beside the graphs explains itself in the window's language.
TEST_F(GraphGesturesTest, TheWindowSpeaksItsLanguageAndTheButtonsExplainThemselves) {
  openWithFile();
  EXPECT_EQ(text({Control::ShownSetCaption}), QStringLiteral("File"));
  for (const QObject* o : m_window->findChildren<QObject*>()) {
    const QString shown = captionOf(o) + o->property("toolTip").toString();
    EXPECT_FALSE(hasJapanese(shown)) << shown.toStdString();
  }
  for (const QTableView* list : m_window->findChildren<QTableView*>()) {
    for (int c = 0; c < list->model()->columnCount(); ++c)
      EXPECT_FALSE(hasJapanese(list->model()->headerData(c, Qt::Horizontal).toString()));
  }
  for (auto language : {UiText::Language::English, UiText::Language::Japanese}) {
    const Translations translations(language);
    open(language);
    QList<QWidget*> widgets(ui().bars.begin(), ui().bars.end());
    widgets << ui().fitButton;
    for (QWidget* b : ui().viewSplit->widget(0)->findChildren<QPushButton*>()) widgets << b;
    for (QWidget* b : ui().zoomButtons) widgets << b;
    EXPECT_EQ(widgets.size(), 8 + 1 + 14 + 6);
    for (const QWidget* w : widgets) {
      EXPECT_FALSE(w->toolTip().isEmpty()) << w->objectName().toStdString();
      EXPECT_EQ(hasJapanese(w->toolTip()), language == UiText::Language::Japanese);
    }
  }
}

}  // namespace
}  // namespace termika
