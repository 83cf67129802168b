#include <gtest/gtest.h>

#include "core/link/PortMap.h"

namespace termika {
namespace {

TEST(PortMap, NamesPortsByPlatformAndTemplate) {
  struct Case {
    PortMap map;
    int port;
    const char* path;
  };
  const PortMap simulator = *PortMap::fromTemplate("/tmp/termika/tty%1");
  const PortMap byId = *PortMap::fromTemplate("/dev/serial/by-id/logger-%1-port%1");
  const PortMap percent = *PortMap::fromTemplate("/tmp/100%/tty%1-%2");  // other % sequences stay
  const Case cases[] = {
      {PortMap::linuxDefault(), 1, "/dev/ttyUSB0"},
      {PortMap::linuxDefault(), 3, "/dev/ttyUSB2"},
      {PortMap::linuxDefault(), 16, "/dev/ttyUSB15"},
      {PortMap::linuxDefault(), 255, "/dev/ttyUSB254"},
      {PortMap::windowsDefault(), 1, "COM1"},
      {PortMap::windowsDefault(), 16, "COM16"},
      {simulator, 3, "/tmp/termika/tty3"},
      {simulator, 16, "/tmp/termika/tty16"},
      {byId, 7, "/dev/serial/by-id/logger-7-port7"},
      {percent, 4, "/tmp/100%/tty4-%2"},
  };
  for (const Case& c : cases) {
    const auto path = c.map.devicePath(c.port);
    ASSERT_TRUE(path.ok()) << c.path;
    EXPECT_EQ(path->toStdString(), c.path);
  }
}

TEST(PortMap, RejectsPortsOutsideTheListAndTemplatesWithoutPlaceholder) {
  for (int port : {0, -1, 256, 1000}) {
    const auto path = PortMap::linuxDefault().devicePath(port);
    ASSERT_FALSE(path.ok()) << port;
    EXPECT_TRUE(path.error().message.contains(QString::number(port))) << port;
  }
  // A template needs the placeholder.
  for (const char* pattern : {"/dev/ttyUSB", "", "COM%2"}) {
    const auto map = PortMap::fromTemplate(pattern);
    ASSERT_FALSE(map.ok()) << pattern;
    EXPECT_TRUE(map.error().message.contains("%1")) << pattern;
  }
}

}  // namespace
}  // namespace termika
