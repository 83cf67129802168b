#pragma once

#include "sim/SimScenario.h"

namespace termika::testing {

// A scenario written in the test itself: a typo in it is the test's own fault, so it stops.
inline SimScenario scenarioFrom(const char* json) {
  auto s = parseScenario(QByteArray(json));
  if (!s) qFatal("scenario: %s", qPrintable(s.error().message));
  return *s;
}

}  // namespace termika::testing
