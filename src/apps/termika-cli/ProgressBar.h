#pragma once

#include <cstdio>

namespace termika::cli {

// A one-line bar on stderr, drawn only when stderr is a terminal so logs and
// pipes stay clean. Redrawn only when the shown figure changes.
class ProgressBar final {
 public:
  ProgressBar();
  void update(int value, int total);
  // Ends the line if a bar was drawn.
  void finish();

 private:
  bool m_enabled = false;
  bool m_drawn = false;
  int m_lastPermille = -1;
};

}  // namespace termika::cli
