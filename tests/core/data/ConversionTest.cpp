#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/app/UiText.h"
#include "core/data/Conversion.h"
#include "core/data/Formats.h"

namespace termika {
namespace {

DataRecord sample(int t, int h) {
  DataRecord r;
  r.Raw = {static_cast<std::uint8_t>(t >> 8), static_cast<std::uint8_t>(t & 0xFF),
           static_cast<std::uint8_t>(h >> 8), static_cast<std::uint8_t>(h & 0xFF)};
  return r;
}

TEST(Conversion, ResolutionFollowsTheMode) {
  struct Case {
    int mode;
    bool low;
  };
  const Case cases[] = {{-5, false}, {0, false},  {1, true},  {2, true},
                        {3, false},  {10, false}, {60, false}};
  for (const Case& c : cases) EXPECT_EQ(isLowResolution(c.mode), c.low) << c.mode;
}

TEST(Conversion, RawToTemperature) {
  struct Case {
    int count;
    int mode;
    double expected;    // before clamping
    const char* shown;  // as "##.00" shows it
  };
  const Case cases[] = {
      // -39.6 + 0.01 x - 2e-8 (x - 7000)^2
      {0, 60, -40.58, "-40.58"},            // -39.6 - 0.98
      {3978, 60, -0.00264968, ".00"},       // 0.18 - 0.18264968
      {6461, 60, 25.00418958, "25.00"},     // 25.01 - 0.00581042
      {6960, 60, 29.999968, "30.00"},       // 30 - 0.000032
      {10000, 60, 60.22, "60.22"},          // 60.4 - 0.18
      {16383, 60, 122.46918622, "122.47"},  // 124.23 - 1.76081378
      // -39.6 + 0.04 x - 3.2e-7 (x - 1750)^2
      {1000, 2, 0.22, ".22"},
      {1615, 1, 24.994168, "24.99"},
      {2000, 2, 40.38, "40.38"},
      {4095, 2, 122.440312, "122.44"},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(RawToTemperature(c.count, c.mode), c.expected, 2e-5) << c.count;
    EXPECT_EQ(fmt::hash00(RawToTemperature(c.count, c.mode)), QLatin1String(c.shown)) << c.count;
  }
}

TEST(Conversion, ConvertSampleClampsAfterCompensating) {
  struct Case {
    int t, h, mode;
    float temperature;  // exact when clamped
    double humidity;
  };
  const Case cases[] = {
      // T = 25.0041896: RHlin + (T - 25)(0.01 + 0.00008 h)
      {6461, 0, 60, 25.0041896f, 0.0},            // -3.99996 -> 0
      {6461, 1800, 60, 25.0041896f, 59.8286452},  // 59.828 + 0.000645
      {6461, 3000, 60, 25.0041896f, 92.3010474},  // 92.3 + 0.001047
      {6461, 3500, 60, 25.0041896f, 100.0},       // 103.4512 -> 100
      // set 1, T = 24.994168: compensation (T - 25)(0.01 + 0.00128 h)
      {1615, 100, 2, 24.994168f, 53.5991952},
      {1615, 200, 2, 24.994168f, 96.7984487},
      // count 0 is -40.58 -> -40; humidity uses -40.58:
      // -4 + 72.9 - 9.072 + (-65.58)(0.154) = 59.828 - 10.09932 = 49.72868
      {0, 1800, 60, -40.0f, 49.72868},
      {16383, 1800, 60, 100.0f, 74.83825468},  // 59.828 + 97.46918622 * 0.154
  };
  for (const Case& c : cases) {
    DataRecord r = sample(c.t, c.h);
    ConvertSample(r, c.mode);
    EXPECT_NEAR(r.Temperature, c.temperature, 1e-5) << c.t << "/" << c.h;
    EXPECT_NEAR(r.Humidity, c.humidity, 1e-4) << c.t << "/" << c.h;
    // Clamped values are the limits exactly.
    if (c.t == 0 || c.t == 16383) {
      EXPECT_EQ(r.Temperature, c.temperature) << c.t;
    }
    if (c.humidity == 0.0 || c.humidity == 100.0) {
      EXPECT_EQ(r.Humidity, c.humidity) << c.h;
    }
  }
}

TEST(Conversion, TemperatureToRaw) {
  struct Case {
    double celsius;
    int mode;
    int count;
  };
  const Case cases[] = {
      {25, 60, 6461},  // 6460.58
      {0, 60, 3978},   // 3978.26
      {30, 3, 6960},   // 6960.003
      {70, 3, 10992},  // 10991.87
      {-20, 3, 2010},  // 2009.80
      {25, 2, 1615},   // 1615.15
      {-20, 2, 502},   // 502.45
      {70, 1, 2748},   // 2747.97
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TemperatureToRaw(c.celsius, c.mode), c.count) << c.celsius << " mode " << c.mode;
  }
  for (const double outside : {-20.01, 70.01, -40.0, 100.0, std::nan("")}) {
    EXPECT_FALSE(TemperatureToRaw(outside, 60)) << outside;
  }
}

TEST(Conversion, ExpandYearAndPackedTimes) {
  EXPECT_EQ(ExpandYear(0), 2000);
  EXPECT_EQ(ExpandYear(5), 2005);
  EXPECT_EQ(ExpandYear(99), 2099);
  EXPECT_FALSE(ExpandYear(100));
  EXPECT_FALSE(ExpandYear(-1));

  // 2013-05-01 is day 41395; 10:00:00 is 36000 s of 86400.
  const auto t = PackedDecimalTime({0x13, 0x05, 0x01, 0x10, 0x00, 0x00});
  ASSERT_TRUE(t);
  EXPECT_NEAR(*t, 41395.0 + 36000.0 / 86400.0, 1e-9);
  EXPECT_NEAR(*PackedDecimalTime({0x59, 0x12, 0x31, 0x23, 0x59, 0x59}), 58440.0 + 86399.0 / 86400.0,
              1e-9);                                                      // 2059-12-31 23:59:59
  EXPECT_FALSE(PackedDecimalTime({0x1A, 0x05, 0x01, 0x10, 0x00, 0x00}));  // nibble above 9
  EXPECT_FALSE(PackedDecimalTime({0x13, 0x05, 0x01, 0x10, 0x0F, 0x00}));
  EXPECT_FALSE(PackedDecimalTime({0x24, 0x02, 0x30, 0x00, 0x00, 0x00}));  // Feb 30
  EXPECT_FALSE(PackedDecimalTime({0x13, 0x13, 0x01, 0x00, 0x00, 0x00}));  // month 13
}

class ConvertDataSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(m_file.open(m_dir.filePath(QStringLiteral("log.rand"))).ok());
    m_set.Interval = 60;
    m_set.Model = QStringLiteral("QM120-RH");
    m_set.UpperAlarm = {30, 0, 128};
    m_set.LowerAlarm = {5, 0, 128};
  }

  void store(const std::vector<int>& counts) {
    int no = 0;
    for (const int t : counts) {
      DataRecord r = sample(t, 1800);
      r.RecordNo = static_cast<std::int16_t>(++no);
      r.Remarks = fitRemarks(QStringLiteral("memo"));
      ASSERT_TRUE(m_file.write(no, r).ok());
    }
    m_set.Count = no;
  }

  QString remark(int no) const { return m_file.read(no)->Remarks; }

  QTemporaryDir m_dir;
  RecordFile m_file;
  DataSet m_set;
  UiText m_texts = UiText::load(UiText::Language::Japanese);
};

TEST_F(ConvertDataSetTest, AlarmRemarksReplaceTheOldRemark) {
  // 6961 -> 30.00997 (upper), 6960 -> 29.99997 (shown 30.00 but below 30),
  // 4473 -> 5.00229 (within), 4472 -> 4.99218 (lower), 16383 -> 100 clamped, 0 -> -40.
  store({6961, 6960, 4473, 4472, 16383, 0});
  ASSERT_TRUE(ConvertDataSet(m_set, m_file, m_texts).ok());
  const QString upper = QStringLiteral("上限越 ") + QString(43, u' ');  // 7 bytes + 43 blanks
  const QString lower = QStringLiteral("下限越 ") + QString(43, u' ');
  const QString memo = QStringLiteral("memo") + QString(46, u' ');
  EXPECT_EQ(remark(1), upper);
  EXPECT_EQ(remark(2), memo);
  EXPECT_EQ(remark(3), memo);
  EXPECT_EQ(remark(4), lower);
  EXPECT_EQ(remark(5), upper);
  EXPECT_EQ(remark(6), lower);
  EXPECT_NEAR(m_file.read(1)->Temperature, 30.00997, 1e-4);

  const auto& e = m_set.AllExtremes.entries;
  EXPECT_EQ(e[Extremes::kHighTemperature].PointNo, 5);
  EXPECT_EQ(e[Extremes::kHighTemperature].Value, 100.0);
  EXPECT_EQ(e[Extremes::kLowTemperature].PointNo, 6);
  EXPECT_EQ(e[Extremes::kLowTemperature].Value, -40.0);
}

TEST_F(ConvertDataSetTest, NoRemarksWhenDisabledOrAnotherModel) {
  struct Case {
    QString model;
    std::uint8_t upperEnabled, lowerEnabled;
  };
  for (const Case& c : {Case{QStringLiteral("QM120-RH"), 0, 0},
                        Case{QStringLiteral("QM100-RH"), 128, 128}, Case{QString(), 1, 1}}) {
    store({6961, 4472});
    m_set.Model = c.model;
    m_set.UpperAlarm.Enabled = c.upperEnabled;
    m_set.LowerAlarm.Enabled = c.lowerEnabled;
    ASSERT_TRUE(ConvertDataSet(m_set, m_file, m_texts).ok());
    EXPECT_EQ(remark(1), QStringLiteral("memo") + QString(46, u' ')) << c.model.toStdString();
    EXPECT_EQ(remark(2), QStringLiteral("memo") + QString(46, u' ')) << c.model.toStdString();
  }
}

TEST_F(ConvertDataSetTest, ShortIntervalUsesLowResolution) {
  DataRecord r = sample(1615, 100);
  r.RecordNo = 1;
  ASSERT_TRUE(m_file.write(1, r).ok());
  m_set.Count = 1;
  m_set.Interval = 2;
  ASSERT_TRUE(ConvertDataSet(m_set, m_file, m_texts).ok());
  EXPECT_NEAR(m_file.read(1)->Temperature, 24.994168, 1e-5);
  EXPECT_NEAR(m_file.read(1)->Humidity, 53.5991952, 1e-4);
  // At high resolution the same counts are -24.03 °C and 0 %RH (clamped).
  m_set.Interval = 3;
  ASSERT_TRUE(ConvertDataSet(m_set, m_file, m_texts).ok());
  EXPECT_NEAR(m_file.read(1)->Temperature, -24.0299645, 1e-4);
  EXPECT_EQ(m_file.read(1)->Humidity, 0.0f);
}

TEST_F(ConvertDataSetTest, ZeroIntervalIsAnErrorAndChangesNothing) {
  store({6961});
  const QByteArray before = m_file.read(1)->serialize();
  m_set.Interval = 0;
  const Result<void> r = ConvertDataSet(m_set, m_file, m_texts);
  EXPECT_FALSE(r.ok());
  EXPECT_FALSE(r.error().message.isEmpty());
  EXPECT_EQ(m_file.read(1)->serialize(), before);
}

}  // namespace
}  // namespace termika
