#pragma once

#include <QString>
#include <QStringList>
#include <ostream>
#include <vector>

#include "core/app/RecordingSettings.h"
#include "core/app/UserPrompts.h"

namespace termika {

// Records every message a dialog shows; questions get the scripted answers.
class FormPrompts final : public UserPrompts {
 public:
  struct Shown {
    QString title;
    QString message;
  };

  void info(const QString& title, const QString& message) override {
    shown.push_back({title, message});
  }
  bool ask(const QString& title, const QString& message) override {
    shown.push_back({title, message});
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  std::optional<QString> chooseSaveFile(const QString&, const QString&) override {
    return std::nullopt;
  }
  std::optional<QString> chooseOpenFile(const QString&) override { return std::nullopt; }

  std::vector<Shown> shown;
  std::vector<bool> answers;
};

// Readable failure output for requests.
inline void PrintTo(const LogStartRequest& r, std::ostream* os) {
  *os << "{name '" << r.Name.toStdString() << "' loop " << r.Loop << " unit " << int(r.IntervalUnit)
      << " n " << r.IntervalValue << " upper " << r.UpperLimit << (r.UpperEnabled ? " on" : " off")
      << " lower " << r.LowerLimit << (r.LowerEnabled ? " on" : " off") << " model "
      << r.Model.toStdString();
  if (r.ReservedStart) {
    *os << " reserved " << r.ReservedStart->Day << " " << r.ReservedStart->Hour << ":"
        << r.ReservedStart->Minute;
  }
  *os << "}";
}

}  // namespace termika
