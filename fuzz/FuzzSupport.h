#pragma once

#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "core/base/UserPrompts.h"

namespace termika::fuzz {

// Converters, resources and temporary files behave as in the program only
// with an application object, so every target makes one before the first
// input. It is never destroyed: libFuzzer leaves through exit(), after Qt's
// own globals are gone, and tearing the application down then crashes.
inline void ensureApplication() {
  static int argc = 1;
  static char name[] = "termika-fuzz";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
}

// A broken invariant is a finding: abort so libFuzzer keeps the input.
inline void require(bool condition) {
  if (!condition) std::abort();
}

// Answers every question with No and every file dialog with Cancel.
class SilentPrompts final : public UserPrompts {
 public:
  void info(const QString&, const QString&) override { ++m_messages; }
  bool ask(const QString&, const QString&) override { return false; }
  std::optional<QString> chooseSaveFile(const QString&, const QString&) override {
    return std::nullopt;
  }
  std::optional<QString> chooseOpenFile(const QString&) override { return std::nullopt; }
  int messages() const { return m_messages; }

 private:
  int m_messages = 0;
};

}  // namespace termika::fuzz

// The two entry points libFuzzer calls, around a target's `run(data, size)`.
#define TERMIKA_FUZZ_TARGET(run)                                                 \
  extern "C" int LLVMFuzzerInitialize(int*, char***) {                           \
    termika::fuzz::ensureApplication();                                          \
    return 0;                                                                    \
  }                                                                              \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) { \
    run(data, size);                                                             \
    return 0;                                                                    \
  }
