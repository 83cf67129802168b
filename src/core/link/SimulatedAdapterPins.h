#pragma once

#include <QString>

#include "core/link/AdapterPins.h"

namespace termika {

// `--adapter sim:PATH`: the simulator's stand-in for the adapter. The adapter
// is plugged in while the file exists; every pulse appends the line
// "pulse <levels> <epoch-ms>\n", which the simulator reads.
class SimulatedAdapterPins final : public AdapterPins {
 public:
  explicit SimulatedAdapterPins(QString path);

  Result<void> pulse(const QString& portPath, std::uint8_t levels) override;
  AdapterPresence presence(const QString& portPath) override;
  QString description() const override;

  // One line of the file, as written for a pulse at `epochMs`.
  static QByteArray pulseLine(std::uint8_t levels, qint64 epochMs);

 private:
  QString m_path;
};

}  // namespace termika
