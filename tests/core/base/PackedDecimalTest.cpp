#include <gtest/gtest.h>

#include "core/base/PackedDecimal.h"

namespace termika {
namespace {

TEST(PackedDecimal, ReadsDecimalNibblesOnlyAndWritesThemBack) {
  const std::pair<std::uint8_t, std::optional<int>> packed[] = {
      {0x59, 59}, {0x09, 9}, {0x1A, std::nullopt}, {0xA1, std::nullopt}};
  for (const auto& [byte, value] : packed) EXPECT_EQ(fromPackedDecimal(byte), value) << int(byte);
  EXPECT_EQ(toPackedDecimal(59), 0x59);
}

}  // namespace
}  // namespace termika
