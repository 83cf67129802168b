#include "ui/MainWindowStateApplier.h"

#include <QAction>
#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace termika {

QColor toColor(PanelColour colour, const QWidget& widget) {
  switch (colour) {
    case PanelColour::Red:
      return QColor(255, 0, 0);
    case PanelColour::LightGreen:
      return QColor(0x80, 0xFF, 0x80);
    case PanelColour::Black:
      return QColor(0, 0, 0);
    case PanelColour::ButtonFace:
      break;
  }
  return QApplication::palette(&widget).color(QPalette::Button);
}

void applyMainWindowState(QWidget& window, const MainWindowControls& controls,
                          const MainWindowState& state) {
  window.setWindowTitle(state.windowCaption);
  for (std::size_t i = 0; i < kControlCount; ++i) {
    const ControlState& c = state.controls[i];
    QObject* target = controls.object(static_cast<Control>(i));
    Q_ASSERT(target != nullptr);
    if (c.enabled) target->setProperty("enabled", *c.enabled);
    if (c.visible) target->setProperty("visible", *c.visible);
    if (c.text) target->setProperty("text", *c.text);
    auto* widget = qobject_cast<QWidget*>(target);
    if (widget != nullptr && (c.background || c.foreground)) {
      QPalette palette = widget->palette();
      if (c.background) {
        palette.setColor(QPalette::Window, toColor(*c.background, *widget));
        widget->setAutoFillBackground(true);
      }
      if (c.foreground) palette.setColor(QPalette::WindowText, toColor(*c.foreground, *widget));
      widget->setPalette(palette);
    }
  }
}

}  // namespace termika
