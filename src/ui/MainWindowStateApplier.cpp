#include "ui/MainWindowStateApplier.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
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

void applyMainWindowState(QWidget& window, const MainWindowState& state) {
  window.setWindowTitle(state.windowCaption);
  for (auto it = state.controls.cbegin(); it != state.controls.cend(); ++it) {
    QObject* target = window.findChild<QObject*>(it.key());
    if (target == nullptr) continue;
    const ControlState& c = it.value();
    // A menu's entry in its parent is its action.
    if (auto* menu = qobject_cast<QMenu*>(target)) target = menu->menuAction();
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
