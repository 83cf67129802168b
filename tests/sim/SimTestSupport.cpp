#include "SimTestSupport.h"

namespace termika::simtest {

qint64 at(const char* text) {
  const auto t = parseCalendarTime(QString::fromLatin1(text));
  EXPECT_TRUE(t.has_value()) << text;
  return t.value_or(0);
}

}  // namespace termika::simtest
