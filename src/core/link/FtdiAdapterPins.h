#pragma once

#include <QString>
#include <cstdint>
#include <map>

#include "core/link/AdapterLocation.h"
#include "core/link/AdapterPins.h"

namespace termika {

// The pins of a real FTDI adapter through libftdi1. The adapter meant is the
// one that owns the serial port (matched by USB bus and address through
// sysfs), not merely the first FTDI device on the bus. Pulsing detaches the
// kernel serial driver for a moment and re-attaches it; presence only
// enumerates the bus and never opens a device.
class FtdiAdapterPins final : public AdapterPins {
 public:
  static constexpr std::uint16_t kVendorId = 0x0403;

  explicit FtdiAdapterPins(QString sysfsRoot = QStringLiteral("/sys"));

  Result<void> pulse(const QString& portPath, std::uint8_t levels) override;
  AdapterPresence presence(const QString& portPath) override;
  QString description() const override;

 private:
  // Where the port's adapter sits; remembered, because an unplugged port
  // vanishes from sysfs together with the answer.
  std::optional<UsbLocation> locationOf(const QString& portPath);

  QString m_sysfsRoot;
  std::map<QString, UsbLocation> m_knownLocations;
};

}  // namespace termika
