#pragma once

#include "ui/MainWindowControls.h"

namespace termika {

// Tooltips of the graph bars, zoom buttons and panel buttons in the run's
// language: what each does, and for the bars which way is later or wider.
void setToolTips(const MainWindowControls& ui);

}  // namespace termika
