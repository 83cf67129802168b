#pragma once

#include <gtest/gtest.h>

#include <QByteArray>

#include "sim/SimScenario.h"
#include "sim/SimulatedLogger.h"

namespace termika::simtest {

inline QByteArray hex(const char* text) { return QByteArray::fromHex(text); }

inline SimScenario scenarioFrom(const char* json) {
  Result<SimScenario> s = parseScenario(QByteArray(json));
  EXPECT_TRUE(s.ok()) << (s.ok() ? "" : s.error().message.toStdString());
  return s.ok() ? *s : SimScenario{};
}

// Everything the logger sends in answer to one request, without moving its
// virtual time (answers are taken whenever they fall due).
inline QByteArray ask(SimulatedLogger& logger, const QByteArray& request) {
  logger.receive(request);
  QByteArray out;
  for (const SimChunk& c : logger.takeOutputUntil(logger.now() + 10'000'000)) out += c.bytes;
  return out;
}

inline QByteArray ask(SimulatedLogger& logger, const char* hexRequest) {
  return ask(logger, hex(hexRequest));
}

}  // namespace termika::simtest
