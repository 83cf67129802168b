#include <gtest/gtest.h>

#include <QSignalSpy>

#include "LinkTestSupport.h"
#include "core/link/PipeTransport.h"

namespace termika {
namespace {

TEST(PipeTransport, WritesReachThePeerOnlyWhileOpen) {
  PipeTransport port;
  std::vector<QByteArray> seen;
  port.setPeer([&](const QByteArray& bytes) { seen.push_back(bytes); });
  QSignalSpy written(&port, &PipeTransport::written);

  EXPECT_FALSE(port.write("ab").ok());
  ASSERT_TRUE(port.open().ok());
  EXPECT_TRUE(port.isOpen());
  EXPECT_TRUE(port.write("ab").ok());
  EXPECT_TRUE(port.write("c").ok());
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], QByteArray("ab"));
  EXPECT_EQ(seen[1], QByteArray("c"));
  EXPECT_EQ(written.count(), 2);

  port.setWriteError(true);
  const auto failed = port.write("d");
  ASSERT_FALSE(failed.ok());
  EXPECT_FALSE(failed.error().message.isEmpty());
  EXPECT_EQ(seen.size(), 2u);
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
  EXPECT_EQ(port.readAll(), QByteArray());
}

TEST(PipeTransport, DiscardAndCloseDropInput) {
  PipeTransport port;
  ASSERT_TRUE(port.open().ok());
  QSignalSpy ready(&port, &PipeTransport::readyRead);
  port.deliver("12");
  port.discardInput();
  testing::settle(10);
  EXPECT_EQ(ready.count(), 0);  // nothing left to read
  port.close();
  port.deliver("34");
  ASSERT_TRUE(port.open().ok());
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
