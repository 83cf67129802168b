#pragma once

#include <optional>

#include "core/app/UserPrompts.h"

namespace termika::bench {

// Benchmarks run unattended: every question is No, every dialog cancelled.
class SilentPrompts final : public UserPrompts {
 public:
  void info(const QString&, const QString&) override { ++messages; }
  bool ask(const QString&, const QString&) override { return false; }
  std::optional<QString> chooseSaveFile(const QString&, const QString&) override { return {}; }
  std::optional<QString> chooseOpenFile(const QString&) override { return {}; }
  int messages = 0;
};

}  // namespace termika::bench
