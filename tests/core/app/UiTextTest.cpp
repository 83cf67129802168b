#include <gtest/gtest.h>

#include <QByteArray>

#include "core/app/UiText.h"

namespace termika {
namespace {

struct Entry {
  int index;
  const char* utf8;
};

void expectEntries(UiText::Language language, std::initializer_list<Entry> entries) {
  const UiText texts = UiText::load(language);
  for (const Entry& e : entries) {
    EXPECT_TRUE(texts.has(e.index)) << e.index;
    EXPECT_EQ(texts.text(e.index).toUtf8(), QByteArray(e.utf8)) << "index " << e.index;
  }
}

// One or more entries from every block of the table, with the blanks that
// belong to them spelled out as bytes: U+3000 is E3 80 80.
TEST(UiText, JapaneseSampleOfEveryBlock) {
  expectEntries(UiText::Language::Japanese,
                {
                    {0, "\xEF\xBE\x8C\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99(&F)"},  // ﾌｧｲﾙ half-width
                    {24, "識別名称設定(&N)"},
                    {31, "ﾀﾞｳﾝﾛｰﾄﾞ ﾓｰﾄﾞ(&D)"},
                    {33, "低速(&L)"},
                    {50, "識別名称"},
                    {56, "ダンプ"},
                    {102, "電池 "},
                    {115, "印刷"},
                    {153, "間隔設定"},
                    {200, "ファイルデータ"},
                    {209, "印刷"},
                    {253, "認識名称には次の文字は使えません"},
                    {260, "ﾊｰﾄﾞｳｪｱ    Ver."},
                    {261, "ｱﾌﾟﾘｹｰｼｮﾝ Ver.1.06"},
                    {272, "キャンセル"},
                    {282, "時計設定"},
                    {303, "グラフ印刷"},
                    {313, "選択したデータのみ印刷"},
                    {338, "----年--月--日"},
                    {339, "--時"},
                    {351, "yyyy年mm月dd日"},
                    {353, "00分"},
                    {1009, "[Termika] 温湿度ロガー "},
                    {1014, "通信中\xE3\x80\x80ポート"},
                    {1018, " \xE2\x84\x83"},              // " ℃"
                    {1020, "\xEF\xBC\xAE\xEF\xBC\xA7 "},  // "ＮＧ " full-width letters
                    {1024, " 点"},
                    {1029, "分 記録開始"},
                    {1052, " CSVﾌｧｲﾙ(*.csv)|*.csv"},
                    {1084, "最高温度\xE3\x80\x80 "},
                    {1103, "ログ記録のデータを保存しますか？"},
                    {1104, "リアルタイムデータを保存しますか？"},
                    {1106, " ℃   湿度 "},
                    {1125, "％"},
                });
}

TEST(UiText, EnglishSampleOfEveryBlockWithMends) {
  expectEntries(
      UiText::Language::English,
      {
          {0, "File(&F)"},
          {31, "Download Mode(&D)"},
          {50, "Ident_name"},
          {107, "Upper bound temperature setting"},
          {156, "Sec"},
          {204, "Identification name"},
          {253, "The next letter is not usable for a recognition name."},
          {261, "Application Ver.1.06"},
          {275, "Offline"},
          {280, "Present date"},
          {300, "Print"},
          {313, "Only the selected data is printed. "},
          {339, "--Hour"},  // mended: the hour field, not a date
          {350,
           "\xC2\xB0"
           "C"},
          {1009, "[Termika] Temperature and Humidity Logger "},  // mended: blank before the model
          {1014, "Communicating\xE3\x80\x80Port"},
          {1018, " C"},
          {1020, "NG "},  // mended: blank before the voltage
          {1024, " point"},
          {1076, "Recording points\xE3\x80\x80"},
          {1092, "May I begin the data before though it is lost?"},
          {1116,
           "\xC2\xB0"
           "C   Humidity "},
          {1126, "help/index.html"},
      });
}

TEST(UiText, UnfilledAndOutOfRangeIndexesAreEmpty) {
  for (const auto language : {UiText::Language::Japanese, UiText::Language::English}) {
    const UiText texts = UiText::load(language);
    for (const int index : {-1, 28, 40, 1012, 1040, 2000, 2001}) {
      EXPECT_FALSE(texts.has(index)) << index;
      EXPECT_TRUE(texts.text(index).isEmpty()) << index;
      EXPECT_TRUE(texts[index].isEmpty()) << index;
    }
  }
}

TEST(UiText, BothLanguagesFillTheSameIndexes) {
  const UiText ja = UiText::load(UiText::Language::Japanese);
  const UiText en = UiText::load(UiText::Language::English);
  int filled = 0;
  for (int i = 0; i < UiText::kSize; ++i) {
    EXPECT_EQ(ja.has(i), en.has(i)) << i;
    filled += ja.has(i) ? 1 : 0;
  }
  // 31 menus, 7 frames, 16 + 14 + 10 main-window captions, 4 + 5 + 6 + 3 + 4 +
  // 6 + 34 dialog texts, 122 messages.
  EXPECT_EQ(filled, 31 + 7 + 16 + 14 + 10 + 4 + 5 + 6 + 3 + 4 + 6 + 34 + 122);
}

TEST(UiText, TwoPartMessagesAreJoinedByTwoCarriageReturns) {
  EXPECT_EQ(UiText::load(UiText::Language::Japanese).joined(1093, 1094),
            QStringLiteral("先にダウンロードしたデータは保存されていません。\r\r保存しますか？"));
}

}  // namespace
}  // namespace termika
