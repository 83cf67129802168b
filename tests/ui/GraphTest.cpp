// The graphs on real widgets: gestures, cursor, a window that grows and
// remembers its layout, tooltips.

#include "UiTestSupport.h"
#include "ui/graph/GraphPainter.h"

namespace termika {
namespace {

class GraphGesturesTest : public WindowTest {
 protected:
  // 61 points 10 s apart: 600 s, one second a bar step.
  void openWithFile() {
    open(UiText::Language::English);
    QByteArray csv =
        testing::englishFile("\"G\",\"2013/05/01 10:00:00\",\"61\",\"10\",\"OFF\",\"OFF\"");
    for (int i = 0; i <= 60; ++i)
      csv += QString::asprintf("%d,\"2013/05/01 10:%02d:%02d\",\"%d.50\",\"%d.00\",\"\"\r\n", i + 1,
                               i / 6, i % 6 * 10, 20 + i % 7, 50 + i % 5)
                 .toLatin1();
    const QString path = m_dir.filePath(QStringLiteral("g.csv"));
    ASSERT_TRUE(commitFile(path, csv).ok() && m_window->openCsvFile(path));
  }
  GraphView& graph(bool temperature = true) const {
    return *(temperature ? ui().temperatureGraph : ui().humidityGraph);
  }
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

// The cursor names the nearest point on both graphs; gestures move the bars by the buttons' steps.
TEST_F(GraphGesturesTest, TheCursorReadsOutAndGesturesMoveTheBarsByTheButtonsSteps) {
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
  EXPECT_EQ(std::pair(bar(HumidityHalfSpan), bar(TemperatureHalfSpan)),
            std::pair(hSpan / 2, tSpan));

  // "-" and the button double; Home and a double click fit like the fit button.
  QTest::keyClick(&ondo, Qt::Key_Minus);
  EXPECT_EQ(bar(TemperatureWidth), 600);
  click(Control::TimeZoomIn);
  EXPECT_EQ(bar(TemperatureWidth), 300);
  QTest::keyClick(&ondo, Qt::Key_Home);
  EXPECT_EQ(std::tuple(bar(TemperatureWidth), offsetEverywhere(), bar(HumidityHalfSpan)),
            std::tuple(600, 0, hSpan));
}

TEST_F(GraphGesturesTest, TheGraphsTakeWhatTheWindowGainsAndItIsRememberedWithTheSplit) {
  m_size = QSize(1280, 800);
  openWithFile();
  const auto plotsInside = [this] {
    for (bool t : {true, false}) {
      const QRectF plot =
          graph(t).geometry().plotBox.translated(graph(t).mapTo(m_window.get(), QPoint()));
      EXPECT_TRUE(QRectF(m_window->rect()).contains(plot) && plot.height() > 150) << t;
    }
  };
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
  for (const QTableView* list : m_window->findChildren<QTableView*>())
    for (int c = 0; c < list->model()->columnCount(); ++c)
      EXPECT_FALSE(hasJapanese(list->model()->headerData(c, Qt::Horizontal).toString()));
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

qint64 base() { return secondsFromCivil(CivilTime{2010, 3, 1, 0, 30, 0}); }

// 1050 x 550 pixels over W = 1000 s and 0..10 units: pixel x = 1000 - seconds
// back, pixel y = 50 * (10 - value). Points at 900 s, 500 s (segment 1) and
// 0 s back (segment 2).
struct Scene {
  std::vector<PlotPoint> points{{base() - 900, 2.0f, 20.0f, 1.0f, 1},
                                {base() - 500, 4.0f, 40.0f, 1.0f, 2},
                                {base(), 8.0f, 80.0f, 2.0f, 3}};
  QSize size{1050, 550};
  QString unit;

  GraphGeometry geometry(GraphKind kind, Palette palette, int width = 1000) const {
    GraphInput in;
    in.kind = kind;
    in.points = points;
    in.baseTime = base();
    in.width = width;
    in.range = kind == GraphKind::Temperature ? ValueRange{0, 100} : ValueRange{0, 1000};
    in.halfSpan = kind == GraphKind::Temperature ? 50 : 500;
    in.palette = palette;
    in.size = size;
    in.unitText = unit;
    return buildGraphGeometry(in);
  }
};

QImage render(const GraphGeometry& g) {
  QImage image(g.size, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  draw(painter, g);
  return image;
}

QRgb colour(Palette palette, ColourEntry entry) {
  const Rgb& c = colourTable(palette)[entry];
  return qRgb(c.r, c.g, c.b);
}

// The curve midway between the first two points, the first segment's dot, background where
// the two segments would join if gaps were bridged and away from grid and curve, the newest
// point's dot beside the end line; a window of no width paints nothing at all. A lone point is a
// ring, not a dot on the end line.
TEST(GraphPainter, CurveDotsRingsAndBackgroundWhereExpected) {
  const std::pair<QPoint, ColourEntry> probes[] = {{{300, 350}, kCurveLine},
                                                   {{100, 400}, kSegmentDot},
                                                   {{770, 192}, kBackground},
                                                   {{970, 37}, kBackground},
                                                   {{999, 99}, kNewestDot}};
  for (const auto& [kind, palette] : {std::pair{GraphKind::Temperature, Palette::Screen},
                                      {GraphKind::Humidity, Palette::Print}}) {
    const QImage image = render(Scene().geometry(kind, palette));
    for (const auto& [at, entry] : probes)
      EXPECT_EQ(image.pixel(at), colour(palette, entry)) << int(kind) << " " << at.x();
  }
  const QImage none = render(Scene().geometry(GraphKind::Temperature, Palette::Screen, 0));
  EXPECT_EQ(none.pixel(300, 350), qRgb(255, 0, 255));

  Scene one;
  one.points = {{base(), 5.0f, 50.0f, 1.0f, 1}};  // at the window's end: (1000, 250)
  const QImage image = render(one.geometry(GraphKind::Temperature, Palette::Screen));
  // The marker reaches 3 px and more left of the end line, above and below.
  for (const QPoint step : {QPoint(-1, 0), QPoint(0, -1), QPoint(0, 1)}) {
    bool reached = false;
    for (int d = 3; d <= 10; ++d)
      reached = reached ||
                image.pixel(QPoint(1000, 250) + d * step) == colour(Palette::Screen, kSegmentDot);
    EXPECT_TRUE(reached) << step.x() << "," << step.y();
  }
}

// A graph 200 px wide has a 10 px right margin: the value labels move left over the plot's edge
// instead of being cut off at the unit.
TEST(GraphPainter, ValueLabelsOfANarrowGraphStayWhole) {
  Scene narrow;
  narrow.size = {200, 300};
  narrow.unit = QStringLiteral("°C");
  const GraphGeometry g = narrow.geometry(GraphKind::Temperature, Palette::Screen);
  const QImage image = render(g);
  // White text in the 20 pixels left of the plot's end, around a label clear of the time row.
  const int y = qRound(g.valueLabels.at(g.valueLabels.size() / 2).anchor.y()),
            end = static_cast<int>(g.plotBox.right()) - 1;
  int text = 0;
  for (int i = 0; i < 20 * 9; ++i)
    text += qGray(image.pixel(end - 20 + i / 9, y - 4 + i % 9)) > 220;
  EXPECT_GT(text, 0);
}

TEST(GraphScrollBar, ThumbsSitAtTheStatesEndAndStepTowardsItsMaximum) {
  // Orientation, state, thumb in the left or top half, state value after a step right or down.
  const std::tuple<Qt::Orientation, ScrollState, bool, int> cases[] = {
      {Qt::Horizontal, {32767, 5, 32767}, true, 32766},  // the widest window at the left
      {Qt::Horizontal, {50, 5, 6}, false, 5},            // a narrow one at the right
      {Qt::Horizontal, {0, 50, 0}, true, 1},             // offset 0: the newest end
      {Qt::Vertical, {945, -345, 900}, true, 899},       // a high centre at the top
      {Qt::Vertical, {1, 700, 650}, false, 651},         // a wide half-span low down
  };
  for (const auto& [orientation, state, nearStart, afterStep] : cases) {
    SCOPED_TRACE(state.value);
    QScrollBar bar(orientation);
    bar.resize(orientation == Qt::Horizontal ? QSize(400, 16) : QSize(16, 400));
    setUpGraphScrollBar(bar);
    QSignalSpy spy(&bar, &QScrollBar::valueChanged);
    applyScrollState(bar, state);
    EXPECT_EQ(stateValueOf(bar, bar.value()), state.value);
    const QPoint thumb = scrollBarPart(bar, QStyle::SC_ScrollBarSlider).center();
    EXPECT_EQ((orientation == Qt::Horizontal ? thumb.x() : thumb.y()) < 200, nearStart);
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(stateValueOf(bar, bar.value()), afterStep);
    EXPECT_EQ(spy.count(), 1);  // the step, not the state shown
  }
}

// The mouse is read out in seconds back from the window's end until a stored picture (an empty
// set's) replaces the graph.
TEST(GraphView, ReadsOutTheMouseUntilAStoredPictureIsShown) {
  GraphView view;
  view.showGraph(Scene().geometry(GraphKind::Temperature, Palette::Screen));
  QSignalSpy spy(&view, &GraphView::cursorMoved);
  QMouseEvent move(QEvent::MouseMove, QPointF(600, 200), QPointF(600, 200), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &move);
  view.setImage(QImage());
  QCoreApplication::sendEvent(&view, &move);
  ASSERT_EQ(spy.count(), 1);
  EXPECT_NEAR(spy.at(0).at(0).toDouble(), 400.0, 1e-9);
}

}  // namespace
}  // namespace termika
