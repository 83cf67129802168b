#pragma once

// Helpers of the widget tests: the scripted prompts every form is given, the
// messages they showed, a short way to read many captions at once and where a
// scroll bar's parts are drawn.

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionSlider>
#include <ostream>
#include <vector>

#include "ScriptedPrompts.h"

// Readable failure output for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace termika {

using testing::ScriptedPrompts;

// Every message shown so far, each as "title|text".
inline QStringList messagesShown(const ScriptedPrompts& prompts) {
  QStringList out;
  for (const auto& c : prompts.callsOf(ScriptedPrompts::Kind::Info))
    out << c.title + '|' + c.message;
  return out;
}

// Whether `text` holds kana, CJK ideographs, full-width forms or half-width katakana.
inline bool hasJapanese(const QString& text) {
  return text.contains(
      QRegularExpression(QStringLiteral("[\\x{3000}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]")));
}

// The caption of `o` as the user sees it; "<none>" without one.
inline QString captionOf(const QObject* o) {
  if (const auto* w = qobject_cast<const QLabel*>(o)) return w->text();
  if (const auto* w = qobject_cast<const QAbstractButton*>(o)) return w->text();
  if (const auto* w = qobject_cast<const QGroupBox*>(o)) return w->title();
  if (const auto* w = qobject_cast<const QLineEdit*>(o)) return w->text();
  if (const auto* w = qobject_cast<const QComboBox*>(o)) return w->currentText();
  if (const auto* w = qobject_cast<const QMenu*>(o)) return w->title();
  if (const auto* w = qobject_cast<const QAction*>(o)) return w->text();
  if (const auto* w = qobject_cast<const QWidget*>(o)) return w->windowTitle();
  return QStringLiteral("<none>");
}

// The captions of `objects`, joined by "|".
inline QString captions(const std::vector<const QObject*>& objects) {
  QStringList out;
  for (const QObject* o : objects) out << captionOf(o);
  return out.join(u'|');
}

// Where the style draws `part` (an arrow, the thumb) of `bar` as it stands.
inline QRect scrollBarPart(const QScrollBar& bar, QStyle::SubControl part) {
  QStyleOptionSlider option;
  option.initFrom(&bar);
  option.orientation = bar.orientation();
  if (bar.orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
  option.minimum = bar.minimum();
  option.maximum = bar.maximum();
  option.sliderPosition = option.sliderValue = bar.value();
  option.singleStep = bar.singleStep();
  option.pageStep = bar.pageStep();
  option.upsideDown = bar.invertedAppearance();
  return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar);
}

}  // namespace termika
