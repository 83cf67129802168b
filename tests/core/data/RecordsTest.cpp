#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "CsvFixture.h"
#include "core/base/UiText.h"
#include "core/data/ExtremeMarks.h"
#include "core/data/SetRecords.h"

namespace termika {
namespace {

using testing::sjis;

TEST(DataRecord, ExactLayoutOfTheEightyFourBytes) {
  DataRecord r;
  r.temperature = 25.5f;  // 0x41CC0000
  r.humidity = 1.0f;      // 0x3F800000
  r.dateTime = 36526.0;   // 0x40E1D5C000000000
  r.segment = 1.0f;
  r.remarks = QStringLiteral("最高");  // 8D C5 8D 82
  r.recordNo = 300;                    // 0x012C
  r.raw = {0x19, 0x3D, 0x07, 0x08};
  const QByteArray bytes = r.serialize();
  ASSERT_EQ(bytes.size(), 84);
  // Temperature, humidity, 8 reserved bytes, time, segment, remarks, number, raw counts.
  const QByteArray expected =
      QByteArray::fromHex("0000cc41 0000803f 0000000000000000 00000000c0d5e140 0000803f 8dc58d82") +
      QByteArray(46, ' ') + QByteArray::fromHex("2c01 193d0708");
  EXPECT_EQ(bytes.toHex(), expected.toHex());

  const DataRecord back = DataRecord::deserialize(bytes.constData());
  EXPECT_EQ(back.serialize(), bytes);
  EXPECT_EQ(back.remarks + QString::number(back.recordNo),
            QStringLiteral("最高") + QString(46, u' ') + QStringLiteral("300"));
}

TEST(DataRecord, RemarksAreCutAtACharacterBoundary) {
  const QString x49(49, u'x');
  const std::pair<QString, QString> cases[] = {
      {QString(60, u'a'), QString(50, u'a')},
      {x49 + QStringLiteral("最"), x49 + QStringLiteral(" ")},  // 51 bytes: the kanji goes whole
      {QString(48, u'x') + QStringLiteral("最高"), QString(48, u'x') + QStringLiteral("最")},
      {QStringLiteral("ｶﾀｶﾅ"), QStringLiteral("ｶﾀｶﾅ") + QString(46, u' ')},  // single-byte kana
      {QString(), QString(50, u' ')},
      // Characters the code page lacks become "?", and the next remark is unharmed.
      {QStringLiteral("a😀b"), QStringLiteral("a?b") + QString(47, u' ')},
      {QStringLiteral("é最"), QStringLiteral("?最") + QString(47, u' ')},
      {QStringLiteral("最低"), QStringLiteral("最低") + QString(46, u' ')},
  };
  for (const auto& [remark, stored] : cases) {
    DataRecord r;
    r.remarks = remark;
    const QByteArray bytes = r.serialize();
    EXPECT_EQ(bytes.mid(28, 50), sjis(stored)) << remark.toStdString();
    EXPECT_EQ(DataRecord::deserialize(bytes.constData()).remarks, stored);
  }
}

class RecordFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_file.open(m_dir.filePath(QStringLiteral("read.rand"))).ok());
  }
  QTemporaryDir m_dir;
  RecordFile m_file;
  UiText m_texts = UiText::load(UiText::Language::Japanese);
};

TEST_F(RecordFileTest, ExtremeMarksAccumulateAndSkipStalePointNumbers) {
  const QString remarks[] = {QStringLiteral("  A  "), QString(44, u'x'), QStringLiteral("B")};
  for (int i = 0; i < 3; ++i) {
    DataRecord r;
    r.recordNo = static_cast<std::int16_t>(i + 1);
    r.remarks = fitRemarks(remarks[i]);
    ASSERT_TRUE(m_file.write(i + 1, r).ok());
  }
  DataRecord beyond;
  beyond.remarks = QStringLiteral("stale");
  ASSERT_TRUE(m_file.write(4, beyond).ok());  // left over from an earlier, longer set

  Extremes e;  // the lowest humidity at 4 lies beyond Count 3: skipped
  e.entries = {{{1, 0.0}, {2, 0.0}, {1, 0.0}, {4, 0.0}}};
  ASSERT_TRUE(markExtremeRecords(e, 3, m_file, m_texts).ok());

  // Each mark trims first: "A" + " 最高温度" + " 最高湿度 " is 1 + 9 + 10 bytes, then 30 blanks.
  EXPECT_EQ(m_file.read(1)->remarks, QStringLiteral("A 最高温度 最高湿度 ") + QString(30, u' '));
  // 44 + " 最低温度 " is 54 bytes: " 最低" is the most that fits whole (49), then a blank.
  EXPECT_EQ(m_file.read(2)->remarks, QString(44, u'x') + QStringLiteral(" 最低 "));
  EXPECT_EQ(m_file.read(3)->remarks, QStringLiteral("B") + QString(49, u' '));
  EXPECT_EQ(m_file.read(4)->remarks, QStringLiteral("stale") + QString(45, u' '));

  Extremes reset;  // every point number 0
  ASSERT_TRUE(markExtremeRecords(reset, 3, m_file, m_texts).ok());
  EXPECT_EQ(m_file.read(3)->remarks, QStringLiteral("B") + QString(49, u' '));
  // Only ASCII blanks are trimmed.
  EXPECT_EQ(trimBlanks(QStringLiteral("\u3000a\u3000")), QStringLiteral("\u3000a\u3000"));
  EXPECT_EQ(trimBlanks(QStringLiteral("   ")), "");
}

}  // namespace
}  // namespace termika
