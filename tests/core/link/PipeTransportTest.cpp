#include <gtest/gtest.h>

#include <QSignalSpy>

#include "LinkTestSupport.h"
#include "core/link/PipeTransport.h"

namespace termika {
namespace {

TEST(PipeTransport, WritesReachThePeerOnlyWhileOpenAndWorking) {
  PipeTransport port;
  std::vector<QByteArray> seen;
  port.setPeer([&](const QByteArray& bytes) { seen.push_back(bytes); });
  EXPECT_FALSE(port.write("ab").ok());
  ASSERT_TRUE(port.open().ok());
  EXPECT_TRUE(port.write("ab").ok());
  EXPECT_TRUE(port.write("c").ok());
  port.setWriteError(true);
  EXPECT_FALSE(port.write("d").ok());
  EXPECT_EQ(seen, (std::vector<QByteArray>{"ab", "c"}));
}

TEST(PipeTransport, DeliveredBytesArriveOnALaterTurnInOneRead) {
  PipeTransport port;
  ASSERT_TRUE(port.open().ok());
  QSignalSpy ready(&port, &PipeTransport::readyRead);
  port.deliver("12");
  port.deliver("34");
  EXPECT_EQ(ready.count(), 0);  // never from inside deliver()
  ASSERT_TRUE(testing::waitUntil([&] { return ready.count() > 0; }));
  testing::settle(10);
  EXPECT_EQ(ready.count(), 1);
  EXPECT_EQ(port.readAll(), QByteArray("1234"));
  // Discarded or sent to a closed port, input is gone.
  port.deliver("56");
  port.discardInput();
  port.close();
  port.deliver("78");
  ASSERT_TRUE(port.open().ok());
  testing::settle(10);
  EXPECT_EQ(ready.count(), 1);
  EXPECT_EQ(port.readAll(), QByteArray());
}

TEST(PipeTransport, FailureClosesAndReports) {
  PipeTransport port;
  ASSERT_TRUE(port.open().ok());
  QSignalSpy failed(&port, &Transport::failed);
  port.fail(QStringLiteral("unplugged"));
  EXPECT_FALSE(port.isOpen());
  ASSERT_EQ(failed.count(), 1);
  EXPECT_EQ(failed.at(0).at(0).toString(), QStringLiteral("unplugged"));
}

}  // namespace
}  // namespace termika
