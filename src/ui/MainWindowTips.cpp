#include "ui/MainWindowTips.h"

#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <utility>

#include "core/base/Says.h"

namespace termika {
namespace {

QWidget* bar(const MainWindowControls& ui, Bar b) { return ui.bars[static_cast<size_t>(b)]; }
QWidget* zoom(const MainWindowControls& ui, ZoomButton b) {
  return ui.zoomButtons[static_cast<size_t>(b)];
}

}  // namespace

void setToolTips(const MainWindowControls& ui) {
  const std::pair<QWidget*, QString> tips[] = {
      {bar(ui, TemperatureWidth),
       says("Time window width: at the left end the whole set, further right a narrower window")},
      {bar(ui, TemperatureOffset),
       says("Time window position: at the left end it ends at the newest point, further right "
            "it goes back to earlier times")},
      {bar(ui, HumidityWidth),
       says("Time window width, as on the temperature graph: at the left end the whole set, "
            "further right a narrower window")},
      {bar(ui, HumidityOffset),
       says("Time window position, as on the temperature graph: at the left end it ends at the "
            "newest point, further right it goes back to earlier times")},
      {bar(ui, TemperatureHalfSpan), says("Temperature span: up narrows it, down widens it")},
      {bar(ui, TemperatureCentre),
       says("Temperature centre: up shows higher temperatures, down lower ones")},
      {bar(ui, HumidityHalfSpan), says("Humidity span: up narrows it, down widens it")},
      {bar(ui, HumidityCentre), says("Humidity centre: up shows higher humidity, down lower")},
      {zoom(ui, ZoomButton::TemperatureSpanNarrower),
       says("Halve the temperature span (Ctrl+wheel on the graph)")},
      {zoom(ui, ZoomButton::TemperatureSpanWider),
       says("Double the temperature span (Ctrl+wheel on the graph)")},
      {zoom(ui, ZoomButton::HumiditySpanNarrower),
       says("Halve the humidity span (Ctrl+wheel on the graph)")},
      {zoom(ui, ZoomButton::HumiditySpanWider),
       says("Double the humidity span (Ctrl+wheel on the graph)")},
      {zoom(ui, ZoomButton::TimeZoomIn),
       says("Halve the time window of both graphs (wheel, or + on a graph)")},
      {zoom(ui, ZoomButton::TimeZoomOut),
       says("Double the time window of both graphs (wheel, or - on a graph)")},
      {ui.fitButton,
       says("Fit both graphs to the whole set and its values (Home or double-click on a graph)")},
      {ui.connectButton, says("Look for the logger and connect to it, or disconnect")},
      {ui.initButton, says("Send the initialise bytes to the logger")},
      {ui.statusUpdateButton, says("Read the logger's status again")},
      {ui.nameButton, says("Change the logger's identification name")},
      {ui.downloadButton, says("Read every recorded point from the logger into the log set")},
      {ui.recordButton,
       says("Start a recording with new settings, stop the recording or cancel a reserved start")},
      {ui.saveLogButton, says("Save the log set as a CSV file")},
      {ui.printLogButton, says("Print the log set")},
      {ui.measureOnceButton, says("Take one measurement into the real-time set")},
      {ui.continuousButton,
       says("Measure at the chosen spacing into the real-time set until stopped")},
      {ui.saveRealTimeButton, says("Save the real-time set as a CSV file")},
      {ui.printRealTimeButton, says("Print the real-time set")},
      {ui.openCsvButton, says("Open a CSV file into the file set")},
      {ui.printFileButton, says("Print the file set")},
  };
  for (const auto& [widget, tip] : tips) widget->setToolTip(tip);
}

}  // namespace termika
