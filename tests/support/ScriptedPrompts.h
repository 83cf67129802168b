#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "core/base/UserPrompts.h"

namespace termika::testing {

// A UserPrompts that answers from queues and records every call, so a test
// can script a dialogue and check afterwards what the user was shown.
// An empty queue answers No / Cancel.
class ScriptedPrompts final : public UserPrompts {
 public:
  enum class Kind { Info, Ask, SaveFile, OpenFile };
  struct Call {
    Kind kind;
    QString title;    // info, ask
    QString message;  // info, ask; the proposed name for SaveFile
    QString filter;   // SaveFile, OpenFile
  };

  std::deque<bool> askAnswers;
  std::deque<std::optional<QString>> saveFiles;
  std::deque<std::optional<QString>> openFiles;
  std::deque<int> saveTypes;  // the file type chosen with each saveFiles answer
  std::vector<Call> calls;
  std::function<void()> onInfo;  // runs while a message is shown, as a modal box's loop would

  void info(const QString& title, const QString& message) override {
    calls.push_back({Kind::Info, title, message, {}});
    if (onInfo) onInfo();
  }

  bool ask(const QString& title, const QString& message) override {
    calls.push_back({Kind::Ask, title, message, {}});
    return pop(askAnswers).value_or(false);
  }

  std::optional<QString> chooseSaveFile(const QString& proposedName,
                                        const QString& filter) override {
    calls.push_back({Kind::SaveFile, {}, proposedName, filter});
    return pop(saveFiles).value_or(std::nullopt);
  }

  std::optional<SaveChoice> chooseSaveFileOfType(const QString& proposedName,
                                                 const QString& filter) override {
    std::optional<QString> path = chooseSaveFile(proposedName, filter);
    const int type = pop(saveTypes).value_or(0);
    if (!path) return std::nullopt;
    return SaveChoice{*path, type};
  }

  std::optional<QString> chooseOpenFile(const QString& filter) override {
    calls.push_back({Kind::OpenFile, {}, {}, filter});
    return pop(openFiles).value_or(std::nullopt);
  }

  // The calls of one kind, in order.
  std::vector<Call> callsOf(Kind kind) const {
    std::vector<Call> out;
    for (const Call& c : calls) {
      if (c.kind == kind) out.push_back(c);
    }
    return out;
  }

 private:
  template <typename T>
  static std::optional<T> pop(std::deque<T>& queue) {
    if (queue.empty()) return std::nullopt;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
  }
};

}  // namespace termika::testing
