#pragma once

// Helpers of the widget tests: the scripted prompts every form is given,
// a readable request printout and a short way to read many captions at once.

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStringList>
#include <ostream>
#include <vector>

#include "ScriptedPrompts.h"
#include "core/app/RecordingSettings.h"

// Readable failure output for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '{' << l.join(QStringLiteral(", ")).toStdString() << '}';
}

namespace termika {

using testing::ScriptedPrompts;

// Readable failure output for requests.
inline void PrintTo(const LogStartRequest& r, std::ostream* os) {
  *os << "{name '" << r.name.toStdString() << "' loop " << r.loop << " unit " << int(r.intervalUnit)
      << " n " << r.intervalValue << " upper " << r.upperLimit << (r.upperEnabled ? " on" : " off")
      << " lower " << r.lowerLimit << (r.lowerEnabled ? " on" : " off") << " model "
      << r.model.toStdString();
  if (r.reservedStart) {
    *os << " reserved " << r.reservedStart->day << " " << r.reservedStart->hour << ":"
        << r.reservedStart->minute;
  }
  *os << "}";
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

}  // namespace termika
