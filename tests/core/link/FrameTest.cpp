#include <gtest/gtest.h>

#include "core/link/Frame.h"

namespace termika::frame {
namespace {

QByteArray hex(const char* text) { return QByteArray::fromHex(text); }

TEST(Frame, EncodesCommandsAsPairsAndTerminator) {
  struct Case {
    Bytes4 command;
    const char* wire;
  };
  const Case cases[] = {
      {{1, 87, 14, 0}, "0001008700140000ff"},     {{1, 1, 12, 24}, "0001000100120024ff"},
      {{1, 99, 0, 0}, "0001009900000000ff"},      {{1, 8, 240, 0}, "0001000802400000ff"},
      {{200, 255, 100, 9}, "0200025501000009ff"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(encode(c.command).toHex(), hex(c.wire).toHex()) << c.wire;
  }
}

TEST(Frame, DecodesTheLastEightBytesBeforeTheTerminator) {
  struct Case {
    const char* wire;
    std::optional<Bytes4> expected;
  };
  const Case cases[] = {
      {"0001000400120024ff", Bytes4{1, 4, 12, 24}},
      {"abcd0001000400120024ff", Bytes4{1, 4, 12, 24}},  // leading noise
      {"0255025502550255ff", Bytes4{255, 255, 255, 255}},
      {"00010004001200ff", std::nullopt},    // too short
      {"0001000400120256ff", std::nullopt},  // 256 does not fit a byte
      {"000100040012003aff", std::nullopt},  // nibble above 9
      {"0301000400120024ff", std::nullopt},  // hundreds above 2
  };
  for (const Case& c : cases) {
    EXPECT_EQ(decodeAnswer(hex(c.wire)), c.expected) << c.wire;
  }
}

TEST(Frame, PackedDecimalRejectsNibblesAboveNine) {
  EXPECT_EQ(fromPackedDecimal(0x59), 59);
  EXPECT_EQ(fromPackedDecimal(0x09), 9);
  EXPECT_EQ(fromPackedDecimal(0x1A), std::nullopt);
  EXPECT_EQ(fromPackedDecimal(0xA1), std::nullopt);
  EXPECT_EQ(toPackedDecimal(59), 0x59);
}

}  // namespace
}  // namespace termika::frame
