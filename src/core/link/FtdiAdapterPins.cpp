#include "core/link/FtdiAdapterPins.h"

#include <ftdi.h>
#include <libusb.h>

#include <memory>
#include <utility>
#include <vector>

#include "core/base/Says.h"

namespace termika {

static_assert(BITMODE_CBUS == kCbusBitBangMode);

namespace {

struct FtdiFree {
  void operator()(ftdi_context* context) const { ftdi_free(context); }
};
using FtdiContext = std::unique_ptr<ftdi_context, FtdiFree>;

struct DeviceListFree {
  void operator()(libusb_device** list) const { libusb_free_device_list(list, 1); }
};
using DeviceList = std::unique_ptr<libusb_device*, DeviceListFree>;

// The bus as libftdi sees it: a context and the FTDI devices on it. The
// context must outlive the list, hence the member order.
struct Bus {
  FtdiContext context;
  DeviceList list;
  std::vector<libusb_device*> adapters;
};

Result<Bus> enumerate() {
  Bus bus;
  bus.context.reset(ftdi_new());
  if (!bus.context) {
    return Error{says("The FTDI library could not start (no USB access).")};
  }
  libusb_device** raw = nullptr;
  const ssize_t count = libusb_get_device_list(bus.context->usb_ctx, &raw);
  if (count < 0) {
    return Error{says("The USB devices cannot be listed: %1")
                     .arg(QString::fromLatin1(libusb_error_name(static_cast<int>(count))))};
  }
  bus.list.reset(raw);
  for (ssize_t i = 0; i < count; ++i) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(raw[i], &descriptor) == 0 &&
        descriptor.idVendor == FtdiAdapterPins::kVendorId) {
      bus.adapters.push_back(raw[i]);
    }
  }
  return bus;
}

bool isAt(libusb_device* device, const UsbLocation& location) {
  return libusb_get_bus_number(device) == location.bus &&
         libusb_get_device_address(device) == location.address;
}

Result<libusb_device*> choose(const Bus& bus, const std::optional<UsbLocation>& location,
                              const QString& portPath) {
  if (location) {
    for (libusb_device* device : bus.adapters) {
      if (isAt(device, *location)) {
        return device;
      }
    }
    return Error{says("The FTDI adapter of %1 is not plugged in.").arg(portPath)};
  }
  if (bus.adapters.empty()) {
    return Error{says("No FTDI adapter is plugged in.")};
  }
  if (bus.adapters.size() > 1) {
    return Error{says("Several FTDI adapters are plugged in and none is known to "
                      "own %1; unplug the others.")
                     .arg(portPath.isEmpty() ? says("the port") : portPath)};
  }
  return bus.adapters.front();
}

}  // namespace

FtdiAdapterPins::FtdiAdapterPins(QString sysfsRoot) : m_sysfsRoot(std::move(sysfsRoot)) {}

std::optional<UsbLocation> FtdiAdapterPins::locationOf(const QString& portPath) {
  if (portPath.isEmpty()) {
    return std::nullopt;
  }
  if (const auto location = usbLocationOfPort(m_sysfsRoot, portPath)) {
    m_knownLocations[portPath] = *location;
    return location;
  }
  const auto known = m_knownLocations.find(portPath);
  return known == m_knownLocations.end() ? std::nullopt : std::optional(known->second);
}

Result<void> FtdiAdapterPins::pulse(const QString& portPath, std::uint8_t levels) {
  auto bus = enumerate();
  if (!bus) {
    return bus.error();
  }
  const auto device = choose(*bus, locationOf(portPath), portPath);
  if (!device) {
    return device.error();
  }
  ftdi_context* context = bus->context.get();
  // The kernel driver goes back on the adapter when we let go of it, so the
  // serial port reappears after the pulse.
  context->module_detach_mode = AUTO_DETACH_REATACH_SIO_MODULE;
  if (ftdi_usb_open_dev(context, *device) < 0) {
    return Error{says("The FTDI adapter cannot be opened: %1")
                     .arg(QString::fromLocal8Bit(ftdi_get_error_string(context)))};
  }
  const int status = ftdi_set_bitmode(context, cbusMask(levels), kCbusBitBangMode);
  const QString failure = QString::fromLocal8Bit(ftdi_get_error_string(context));
  ftdi_usb_close(context);
  if (status < 0) {
    return Error{says("The adapter's pins cannot be set: %1").arg(failure)};
  }
  return {};
}

AdapterPresence FtdiAdapterPins::presence(const QString& portPath) {
  const auto bus = enumerate();
  if (!bus) {
    return AdapterPresence::Unavailable;
  }
  const auto location = locationOf(portPath);
  if (!location) {
    return bus->adapters.empty() ? AdapterPresence::Absent : AdapterPresence::Present;
  }
  for (libusb_device* device : bus->adapters) {
    if (isAt(device, *location)) {
      return AdapterPresence::Present;
    }
  }
  return AdapterPresence::Absent;
}

QString FtdiAdapterPins::description() const { return QStringLiteral("FTDI adapter (libftdi1)"); }

}  // namespace termika
