#include "ProgressBar.h"

#include <unistd.h>

#include <algorithm>
#include <string>

namespace termika::cli {

namespace {

constexpr int kWidth = 40;

}  // namespace

ProgressBar::ProgressBar() : m_enabled(::isatty(STDERR_FILENO) == 1) {}

void ProgressBar::update(int value, int total) {
  if (!m_enabled || total <= 0) return;
  const int permille = static_cast<int>(std::clamp<long long>(1000LL * value / total, 0, 1000));
  if (permille == m_lastPermille && value != total) return;
  m_lastPermille = permille;
  const int filled = permille * kWidth / 1000;
  const std::string bar = std::string(static_cast<size_t>(filled), '#') +
                          std::string(static_cast<size_t>(kWidth - filled), '.');
  std::fprintf(stderr, "\r[%s] %d/%d", bar.c_str(), value, total);
  std::fflush(stderr);
  m_drawn = true;
}

void ProgressBar::finish() {
  if (m_drawn) std::fprintf(stderr, "\n");
  m_drawn = false;
  m_lastPermille = -1;
}

}  // namespace termika::cli
