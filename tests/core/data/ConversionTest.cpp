#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "CsvFixture.h"
#include "core/base/PackedDecimal.h"
#include "core/base/UiText.h"
#include "core/data/Conversion.h"
#include "core/data/ExtremeMarks.h"
#include "core/data/ExtremesUpdate.h"
#include "core/data/Formats.h"
#include "core/data/SetRecords.h"

namespace termika {
namespace {

DataRecord sample(int t, int h) {
  DataRecord r;
  r.raw = {std::uint8_t(t >> 8), std::uint8_t(t), std::uint8_t(h >> 8), std::uint8_t(h)};
  return r;
}

// High resolution: -39.6 + 0.01 x - 2e-8 (x - 7000)^2, so 0 -> -39.6 - 0.98, 3978 -> 0.18 -
// 0.18264968, 6461 -> 25.01 - 0.00581042, 6960 -> 30 - 0.000032, 16383 -> 124.23 - 1.76081378. Low
// resolution (modes 1 and 2): -39.6 + 0.04 x - 3.2e-7 (x - 1750)^2.
TEST(Conversion, ByResolutionBothWaysClampingAfterCompensatingAndPackedTimes) {
  // Count and mode: the value before clamping, and as "##.00" shows it.
  const std::tuple<int, int, double, const char*> cases[] = {
      {0, 60, -40.58, "-40.58"},           {3978, 60, -0.00264968, ".00"},
      {6461, 60, 25.00418958, "25.00"},    {6960, 60, 29.999968, "30.00"},
      {16383, 60, 122.46918622, "122.47"}, {1000, 2, 0.22, ".22"},
      {1615, 1, 24.994168, "24.99"},       {4095, 2, 122.440312, "122.44"}};
  for (const auto& [count, mode, expected, shown] : cases) {
    EXPECT_NEAR(rawToTemperature(count, mode), expected, 2e-5) << count;
    EXPECT_EQ(fmt::measuredValue(rawToTemperature(count, mode), fmt::LeadingZero::Dropped),
              QLatin1String(shown))
        << count;
  }
  for (const int mode : {-5, 0, 3, 10, 60}) EXPECT_FALSE(isLowResolution(mode)) << mode;
  // 6460.58, 3978.26, 6960.003, 10991.87, 2009.80; low resolution 1615.15, 502.45, 2747.97.
  const std::tuple<double, int, int> counts[] = {{25, 60, 6461}, {0, 60, 3978},  {30, 3, 6960},
                                                 {70, 3, 10992}, {-20, 3, 2010}, {25, 2, 1615},
                                                 {-20, 2, 502},  {70, 1, 2748}};
  for (const auto& [celsius, mode, count] : counts)
    EXPECT_EQ(temperatureToRaw(celsius, mode), count) << celsius << " mode " << mode;
  for (const double outside : {-20.01, 70.01, -40.0, 100.0, std::nan("")})
    EXPECT_FALSE(temperatureToRaw(outside, 60)) << outside;
  // Humidity RHlin + (T - 25)(0.01 + 0.00008 h) at T = 25.0041896: 0 -> -3.99996 -> 0, 1800 ->
  // 59.828 + 0.000645, 3500 -> 103.4512 -> 100. Set 1 at T = 24.994168
  // uses (T - 25)(0.01 + 0.00128 h). Count 0 is -40.58 -> -40, but humidity uses -40.58:
  // 59.828 - 65.58 * 0.154 = 49.72868; 16383: 59.828 + 97.46918622 * 0.154.
  // Counts of temperature and humidity, mode: the values; clamped ones are the limits exactly.
  const std::tuple<int, int, int, float, double> samples[] = {
      {6461, 0, 60, 25.0041896f, 0.0},      {6461, 1800, 60, 25.0041896f, 59.8286452},
      {6461, 3500, 60, 25.0041896f, 100.0}, {1615, 100, 2, 24.994168f, 53.5991952},
      {0, 1800, 60, -40.0f, 49.72868},      {16383, 1800, 60, 100.0f, 74.83825468}};
  for (const auto& [t, h, mode, temperature, humidity] : samples) {
    DataRecord r = sample(t, h);
    convertSample(r, mode);
    EXPECT_NEAR(r.temperature, temperature, t == 0 || t == 16383 ? 0.0 : 1e-5) << t << "/" << h;
    EXPECT_NEAR(r.humidity, humidity, humidity == 0.0 || humidity == 100.0 ? 0.0 : 1e-4) << h;
  }
  for (const auto& [year, expanded] :
       {std::pair{0, 2000}, {5, 2005}, {99, 2099}, {100, -1}, {-1, -1}})
    EXPECT_EQ(expandYear(year).value_or(-1), expanded);
  // 2013-05-01 is day 41395, 10:00:00 is 36000 s of 86400; 2059-12-31 is day 58440.
  EXPECT_NEAR(*packedDecimalTime({0x13, 0x05, 0x01, 0x10, 0x00, 0x00}), 41395.0 + 36000.0 / 86400,
              1e-9);
  EXPECT_NEAR(*packedDecimalTime({0x59, 0x12, 0x31, 0x23, 0x59, 0x59}), 58440.0 + 86399.0 / 86400,
              1e-9);
  // A nibble above 9, Feb 30 and month 13 are no times.
  for (const auto& bytes : {std::array<std::uint8_t, 6>{0x1A, 0x05, 0x01, 0x10, 0x00, 0x00},
                            {0x13, 0x05, 0x01, 0x10, 0x0F, 0x00},
                            {0x24, 0x02, 0x30, 0x00, 0x00, 0x00},
                            {0x13, 0x13, 0x01, 0x00, 0x00, 0x00}})
    EXPECT_FALSE(packedDecimalTime(bytes)) << int(bytes[0]);
  const std::pair<std::uint8_t, std::optional<int>> packed[] = {
      {0x59, 59}, {0x09, 9}, {0x1A, std::nullopt}, {0xA1, std::nullopt}};
  for (const auto& [byte, value] : packed) EXPECT_EQ(fromPackedDecimal(byte), value) << int(byte);
  EXPECT_EQ(toPackedDecimal(59), 0x59);
}

class ConvertDataSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_file.open(m_dir.filePath(QStringLiteral("log.rand"))).ok());
    m_set.interval = 60;
    m_set.model = QStringLiteral("QM120-RH");
    m_set.upperAlarm = {30, 0, 128};
    m_set.lowerAlarm = {5, 0, 128};
  }

  void store(const std::vector<int>& counts, int humidity = 1800) {
    int no = 0;
    for (const int t : counts) {
      DataRecord r = sample(t, humidity);
      r.recordNo = static_cast<std::int16_t>(++no);
      r.remarks = fitRemarks(QStringLiteral("memo"));
      ASSERT_TRUE(m_file.write(no, r).ok());
    }
    m_set.count = no;
  }

  QString remark(int no) const { return m_file.read(no)->remarks; }
  Result<void> convert() { return convertDataSet(m_set, m_file, m_texts); }

  QTemporaryDir m_dir;
  RecordFile m_file;
  DataSet m_set;
  UiText m_texts = UiText::load(UiText::Language::Japanese);
  const QString m_memo = QStringLiteral("memo") + QString(46, u' ');
};

// 6961 -> 30.00997 (upper), 6960 -> 29.99997 (shown 30.00 but below 30), 4473 -> 5.00229
// (within), 4472 -> 4.99218 (lower), 16383 -> 100 clamped, 0 -> -40.
TEST_F(ConvertDataSetTest, AlarmRemarksExtremesLowResolutionAndExtremeMarks) {
  store({6961, 6960, 4473, 4472, 16383, 0});
  ASSERT_TRUE(convert().ok());
  const QString upper = QStringLiteral("上限越 ") + QString(43, u' ');  // 7 bytes + 43 blanks
  const QString lower = QStringLiteral("下限越 ") + QString(43, u' ');
  const QString expected[] = {upper, m_memo, m_memo, lower, upper, lower};
  for (int no = 1; no <= 6; ++no) EXPECT_EQ(remark(no), expected[no - 1]) << no;
  EXPECT_NEAR(m_file.read(1)->temperature, 30.00997, 1e-4);
  const auto& [high, low, highH, lowH] = m_set.allExtremes.entries;
  EXPECT_EQ(std::tuple(high.pointNo, high.value, low.pointNo, low.value),
            std::tuple(5, 100.0, 6, -40.0));
  // Disabled alarms, or a model without alarms, leave the remarks alone.
  for (const auto& [model, enabled] :
       {std::pair{"QM120-RH", 0}, std::pair{"QM100-RH", 128}, std::pair{"", 1}}) {
    store({6961, 4472});
    m_set.model = QString::fromUtf8(model);
    m_set.upperAlarm.enabled = m_set.lowerAlarm.enabled = static_cast<std::uint8_t>(enabled);
    ASSERT_TRUE(convert().ok());
    EXPECT_EQ(remark(1) + remark(2), m_memo + m_memo) << model;
  }
  // The same counts are 24.99 °C / 53.60 % at low resolution and -24.03 °C / 0 % (clamped) at high.
  store({1615}, 100);
  m_set.interval = 2;
  ASSERT_TRUE(convert().ok());
  EXPECT_NEAR(m_file.read(1)->temperature, 24.994168, 1e-5);
  EXPECT_NEAR(m_file.read(1)->humidity, 53.5991952, 1e-4);
  m_set.interval = 3;
  ASSERT_TRUE(convert().ok());
  EXPECT_NEAR(m_file.read(1)->temperature, -24.0299645, 1e-4);
  EXPECT_EQ(m_file.read(1)->humidity, 0.0f);
  const QByteArray before = m_file.read(1)->serialize();
  m_set.interval = 0;
  const Result<void> r = convert();
  ASSERT_FALSE(r.ok());
  EXPECT_FALSE(r.error().message.isEmpty());
  EXPECT_EQ(m_file.read(1)->serialize(), before);
  // Extremes tie to the lower point number whatever the order; marks accumulate.
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
  std::vector<DataRecord> points(4);
  const float values[4][2] = {{20.f, 50.f}, {25.f, 40.f}, {25.f, 60.f}, {18.f, 40.f}};
  for (int i = 0; i < 4; ++i) {
    points[i].recordNo = static_cast<std::int16_t>(i + 1);
    points[i].temperature = values[i][0];
    points[i].humidity = values[i][1];
  }
  Extremes forward, backward;
  EXPECT_FALSE(forward.hasValues());
  for (int i = 0; i < 4; ++i) {
    updateExtremes(points[i], forward);
    updateExtremes(points[3 - i], backward);
  }
  for (const Extremes& e : {forward, backward}) {  // highest and lowest temperature, humidity
    EXPECT_TRUE(e.hasValues());
    const auto& [highT, lowT, highH, lowH] = e.entries;
    EXPECT_EQ(std::tuple(highT.pointNo, lowT.pointNo, highH.pointNo, lowH.pointNo, lowT.value),
              std::tuple(2, 4, 3, 2, 18.0));
  }
}

using testing::sjis;

TEST(DataRecord, ExactLayoutOfTheEightyFourBytesWithRemarksCutAtACharacterBoundary) {
  DataRecord r;
  r.temperature = 25.5f;  // 0x41CC0000
  r.humidity = 1.0f;      // 0x3F800000
  r.dateTime = 36526.0;   // 0x40E1D5C000000000
  r.segment = 1.0f;
  r.remarks = QStringLiteral("最高");  // 8D C5 8D 82
  r.recordNo = 300;                    // 0x012C
  r.raw = {0x19, 0x3D, 0x07, 0x08};
  const QByteArray bytes = r.serialize();
  // Temperature, humidity, 8 reserved bytes, time, segment, remarks, number, raw counts.
  const QByteArray expected =
      QByteArray::fromHex("0000cc41 0000803f 0000000000000000 00000000c0d5e140 0000803f 8dc58d82") +
      QByteArray(46, ' ') + QByteArray::fromHex("2c01 193d0708");
  EXPECT_EQ(bytes.toHex(), expected.toHex());

  EXPECT_EQ(DataRecord::deserialize(bytes.constData()).serialize(), bytes);
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
  };
  for (const auto& [remark, stored] : cases) {
    DataRecord r;
    r.remarks = remark;
    const QByteArray bytes = r.serialize();
    EXPECT_EQ(bytes.mid(28, 50), sjis(stored)) << remark.toStdString();
    EXPECT_EQ(DataRecord::deserialize(bytes.constData()).remarks, stored);
  }
}

}  // namespace
}  // namespace termika
