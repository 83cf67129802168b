#pragma once

#include <QString>
#include <cstdint>

#include "core/base/Result.h"

namespace termika {

enum class AdapterPresence {
  Present,
  Absent,
  // The adapter library failed or may not look: nothing is known, so this
  // never counts as present nor as unplugged.
  Unavailable,
};

// CBUS bit-bang: the high nibble of the mask makes CBUS0..3 outputs, the low
// nibble is their level (levels 255 -> mask 0xFF all high, 0 -> 0xF0 all low).
inline constexpr std::uint8_t kCbusBitBangMode = 0x20;
constexpr std::uint8_t cbusMask(std::uint8_t levels) {
  return static_cast<std::uint8_t>(levels | 0xF0);
}

// The CBUS pins of the USB serial adapter, pulsed before every probe of the
// logger. `portPath` names the serial port whose adapter is meant; an empty
// path means any adapter.
class AdapterPins {
 public:
  virtual ~AdapterPins() = default;

  // Sets the pins as FT_SetBitMode(cbusMask(levels), kCbusBitBangMode) does.
  // Only with the port closed: a real adapter leaves its serial driver for
  // the moment of the pulse.
  virtual Result<void> pulse(const QString& portPath, std::uint8_t levels) = 0;
  // Looks without opening the adapter, so an open port is never disturbed.
  virtual AdapterPresence presence(const QString& portPath) = 0;
  virtual QString description() const = 0;
};

// `--adapter none`: a logger wired without pins; nothing to pulse, always there.
class NoAdapterPins final : public AdapterPins {
 public:
  Result<void> pulse(const QString&, std::uint8_t) override { return {}; }
  AdapterPresence presence(const QString&) override { return AdapterPresence::Present; }
  QString description() const override { return QStringLiteral("no adapter pins"); }
};

}  // namespace termika
