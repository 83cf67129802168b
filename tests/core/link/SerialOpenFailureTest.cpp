#include <gtest/gtest.h>

#include "core/link/SerialOpenFailure.h"

namespace termika {
namespace {

TEST(SerialOpenFailure, TellsMissingFromForbiddenFromBusy) {
  struct Case {
    QSerialPort::SerialPortError error;
    bool exists;
    bool accessible;
    SerialOpenFailure expected;
  };
  const Case cases[] = {
      {QSerialPort::DeviceNotFoundError, false, false, SerialOpenFailure::NotFound},
      {QSerialPort::DeviceNotFoundError, true, true, SerialOpenFailure::NotFound},
      // A vanished device may surface as any error; its absence decides.
      {QSerialPort::PermissionError, false, false, SerialOpenFailure::NotFound},
      {QSerialPort::OpenError, false, true, SerialOpenFailure::NotFound},
      {QSerialPort::PermissionError, true, false, SerialOpenFailure::PermissionDenied},
      {QSerialPort::OpenError, true, false, SerialOpenFailure::PermissionDenied},
      {QSerialPort::PermissionError, true, true, SerialOpenFailure::InUse},
      {QSerialPort::OpenError, true, true, SerialOpenFailure::Other},
      {QSerialPort::UnknownError, true, true, SerialOpenFailure::Other},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(classifyOpenFailure(c.error, c.exists, c.accessible), c.expected)
        << c.error << " exists=" << c.exists << " accessible=" << c.accessible;
  }
}

TEST(SerialOpenFailure, MessagesNameThePortAndTheFix) {
  const QString path = QStringLiteral("/dev/ttyUSB2");
  const QString notFound = openFailureMessage(SerialOpenFailure::NotFound, path, "x");
  const QString denied = openFailureMessage(SerialOpenFailure::PermissionDenied, path, "x");
  const QString inUse = openFailureMessage(SerialOpenFailure::InUse, path, "x");
  const QString other = openFailureMessage(SerialOpenFailure::Other, path, "Device jammed");

  for (const QString& message : {notFound, denied, inUse, other}) {
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
  }
  EXPECT_TRUE(notFound.contains("not found"));
  EXPECT_FALSE(notFound.contains("dialout"));
  EXPECT_TRUE(denied.contains("dialout"));
  EXPECT_TRUE(denied.contains("udev rule"));
  EXPECT_FALSE(denied.contains("not found"));
  EXPECT_TRUE(inUse.contains("in use"));
  EXPECT_TRUE(other.contains("Device jammed"));
}

}  // namespace
}  // namespace termika
