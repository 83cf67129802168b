#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QTableView>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "core/views/DumpModel.h"
#include "core/views/GraphGestures.h"
#include "core/views/Navigation.h"
#include "core/views/PlotPoint.h"
#include "ui/MainWindowControls.h"

class QLabel;
class QScrollBar;
class QTableView;
class QWidget;

namespace termika {

struct AppState;
class GraphView;

// The graphs, dump lists and graph bars of the main window bound to the
// navigation arithmetic. It keeps the view of the set on screen and the saved
// view and pictures of the other two, so switching sets restores them as they
// were.
class DataViews final : public QObject {
  Q_OBJECT

 public:
  // Binds the graphs, bars, zoom and fit buttons and dump lists of `ui`;
  // `window` owns the views.
  DataViews(AppState& state, QWidget& window, const MainWindowControls& ui);
  ~DataViews() override;

  // Called after the window state must be shown again (set or mode changed).
  void setRefresh(std::function<void()> refresh) { m_refresh = std::move(refresh); }

  int shownSet() const { return m_shown; }
  DumpModel& model(int set) { return *m_models.at(static_cast<size_t>(set)); }
  const NavigationState& navigation() const { return m_nav; }
  // The graph window of any set: the one on screen or the one kept for it.
  NavigationState navigationOf(int set);
  // The dump list of a set (null once the window has deleted it).
  const QTableView* list(int set) const { return m_lists.at(static_cast<size_t>(set)); }

  void showView(int set, int mode);
  // A set's points were replaced (download, file read): list filled and
  // marked, bars fitted to the whole set, graphs drawn when it is shown.
  void setReplaced(int set);
  // One point was appended to a set during a measurement.
  void pointAppended(int set);
  // A set was emptied: list and pictures cleared.
  void setCleared(int set);
  // A new connection: the log and real-time sets' pictures become empty.
  void clearDeviceViews();

  // Both graphs of the shown set, as the bars stand.
  void drawGraphs(bool temperature = true, bool humidity = true);
  // The fit button: widest window ending at the newest point, values fitted.
  void fitToData();
  void zoom(ZoomButton button);

  // The bar's value changed (released or set by a button).
  void barChanged(Bar bar);

 protected:
  // The dump lists keep their column shares when resized.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool continuous() const;
  const std::vector<PlotPoint>& points(int set);
  void reloadPoints(int set);
  void applyBars();
  void saveView(int set);
  void restoreView(int set);
  // Gestures move the bars only while the bars themselves can be moved.
  bool navigable() const;
  void onGesture(GraphKind graph, const GraphGesture& gesture);
  // The cursor line on both graphs and the box on the one under the mouse.
  void showCursor(GraphView& under, double secondsBack);
  void hideCursor();
  // After a redraw the mouse points at another time.
  void refreshCursor();
  void showItem(const QModelIndex& index);
  void graphResized();
  // A real-time series lists its newest point first, where new points appear.
  void showNewestOnTop();

  AppState& m_state;
  QLabel& m_panel2;
  GraphView* m_ondo = nullptr;
  GraphView* m_situdo = nullptr;
  std::array<QScrollBar*, kBarCount> m_bars{};
  std::array<QPointer<QTableView>, 3> m_lists{};  // the window may delete them first
  std::array<std::unique_ptr<DumpModel>, 3> m_models;
  std::array<std::vector<PlotPoint>, 3> m_points;
  std::array<bool, 3> m_pointsValid{};
  std::array<std::array<QImage, 2>, 3> m_images;  // temperature, humidity per set
  NavigationState m_nav;
  int m_shown = 0;
  bool m_busy = false;
  int m_dragStartOffset = 0;  // a drawing or a fit is running: bar redraws skipped
  QTimer m_resizeRedraw;
  std::function<void()> m_refresh;
};

}  // namespace termika
