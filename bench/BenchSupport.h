#pragma once

#include <benchmark/benchmark.h>

#include <QtGlobal>
#include <optional>

#include "core/base/UserPrompts.h"

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

// The benchmark programs' main: the Qt application object `App` the code
// under test needs, painting offscreen unless the caller chose a platform.
template <typename App>
int runBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  App app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace termika::bench
