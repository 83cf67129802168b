#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <span>

#include "core/base/Translations.h"
#include "core/base/UiText.h"

namespace termika {
namespace {

using L = UiText::Language;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// Samples from every block, with blanks spelled out as bytes (U+3000 is E3 80 80), and the
// English entries that were mended (339 names the hour, 1009 and 1020 end in a blank).
TEST(UiText, SampleOfEveryBlockInBothLanguages) {
  struct Entry {
    int index;
    const char* utf8;
  };
  const Entry japanese[] = {{0, "\xEF\xBE\x8C\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99(&F)"},
                            {253, "認識名称には次の文字は使えません"},
                            {339, "--時"},
                            {351, "yyyy年mm月dd日"},
                            {1009, "[Termika] 温湿度ロガー "},
                            {1014, "通信中\xE3\x80\x80ポート"},
                            {1018, " \xE2\x84\x83"},
                            {1020, "\xEF\xBC\xAE\xEF\xBC\xA7 "},
                            {1024, " 点"},
                            {1084, "最高温度\xE3\x80\x80 "},
                            {1106, " ℃   湿度 "}};
  const Entry english[] = {{0, "File(&F)"},
                           {339, "--Hour"},
                           {350, "°C"},
                           {1009, "[Termika] Temperature and Humidity Logger "},
                           {1014, "Communicating\xE3\x80\x80Port"},
                           {1018, " C"},
                           {1020, "NG "},
                           {1116, "°C   Humidity "},
                           {1126, "help/index.html"}};
  const UiText ja = UiText::load(L::Japanese), en = UiText::load(L::English);
  using Table = std::pair<const UiText*, std::span<const Entry>>;
  for (const auto& [texts, table] : {Table{&ja, japanese}, Table{&en, english}}) {
    for (const auto& c : table) {
      EXPECT_TRUE(texts->has(c.index)) << c.index;
      EXPECT_EQ(texts->text(c.index).toUtf8(), QByteArray(c.utf8)) << "index " << c.index;
    }
  }
  EXPECT_EQ(ja.joined(1093, 1094),
            u("先にダウンロードしたデータは保存されていません。\r\r保存しますか？"));
}

TEST(UiText, BothLanguagesFillTheSameIndexesAndNoOthers) {
  const UiText ja = UiText::load(L::Japanese), en = UiText::load(L::English);
  int filled = 0;
  for (int i = 0; i < UiText::kSize; ++i) {
    EXPECT_EQ(ja.has(i), en.has(i)) << i;
    filled += ja.has(i) ? 1 : 0;
  }
  // 31 menus, 7 frames, 16 + 14 + 10 main-window captions, 4 + 5 + 6 + 3 + 4 +
  // 6 + 34 dialog texts, 122 messages, 8 causes and hints of termika-cli.
  EXPECT_EQ(filled, 31 + 7 + 16 + 14 + 10 + 4 + 5 + 6 + 3 + 4 + 6 + 34 + 122 + 8);
  for (const int index : {-1, 28, 40, 1012, 1040, 2000, 2001}) {
    EXPECT_FALSE(en.has(index)) << index;
    EXPECT_TRUE(en.text(index).isEmpty() && en[index].isEmpty()) << index;
  }
}

// Every `text(N)`, `Texts[N]` and `joined(N, M)` in the program's sources must name a filled entry.
TEST(UiText, EveryIndexTheCodeUsesExistsInBothTables) {
  const QString root = qEnvironmentVariable("TERMIKA_SOURCE_DIR");
  ASSERT_FALSE(root.isEmpty()) << "TERMIKA_SOURCE_DIR is not set";
  static const QRegularExpression kUse(QStringLiteral(
      R"(\b(?:text\(\s*(\d+)\s*\)|Texts\[\s*(\d+)\s*\]|joined\(\s*(\d+)\s*,\s*(\d+)\s*\)))"));
  const UiText ja = UiText::load(L::Japanese), en = UiText::load(L::English);
  int found = 0;
  QDirIterator it(root + QStringLiteral("/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                  QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QFile file(it.next());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    for (auto m = kUse.globalMatch(QString::fromUtf8(file.readAll())); m.hasNext();) {
      const auto match = m.next();
      for (int group = 1; group <= 4; ++group) {
        if (match.captured(group).isEmpty()) continue;
        const int index = match.captured(group).toInt();
        ++found;
        EXPECT_TRUE(ja.has(index) && en.has(index))
            << file.fileName().toStdString() << ": " << index;
      }
    }
  }
  // The main window alone puts dozens of captions: finding few means the scan is broken.
  EXPECT_GT(found, 50);
}

// Every says("...") of the program has a Japanese form with the same placeholders, no form is
// left without a use, and no failure message bypasses the table. Model name and text 1071
// read as words in English.
TEST(Messages, EveryMessageOfOursHasAJapaneseForm) {
  const QString root = qEnvironmentVariable("TERMIKA_SOURCE_DIR");
  ASSERT_FALSE(root.isEmpty()) << "TERMIKA_SOURCE_DIR is not set";
  static const QRegularExpression kCall(
      QStringLiteral(R"re(\bsays\(((?:\s*"(?:[^"\\]|\\.)*")+)\s*\))re"));
  static const QRegularExpression kLiteral(QStringLiteral(R"re("((?:[^"\\]|\\.)*)")re"));
  static const QRegularExpression kPlaceholder(QStringLiteral("%\\d"));
  static const QRegularExpression kBypass(QStringLiteral(R"re(Error\{\s*QStringLiteral\()re"));
  const MessageTranslator japanese;
  QSet<QString> used;
  QDirIterator it(root + QStringLiteral("/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                  QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QString source = QString::fromUtf8(file.readAll());
    // The simulator and the command-line program speak to developers and scripts.
    if (!path.contains(QLatin1String("/sim/")) && !path.contains(QLatin1String("termika-"))) {
      EXPECT_FALSE(kBypass.match(source).hasMatch()) << path.toStdString();
    }
    for (auto m = kCall.globalMatch(source); m.hasNext();) {
      QString english;
      for (auto l = kLiteral.globalMatch(m.next().captured(1)); l.hasNext();)
        english += l.next().captured(1).replace(QLatin1String("\\\""), QLatin1String("\""));
      used.insert(english);
      const QString ja = japanese.translate("termika", english.toUtf8().constData(), nullptr, -1);
      EXPECT_FALSE(ja.isEmpty()) << english.toStdString();
      QStringList want, got;
      for (auto p = kPlaceholder.globalMatch(english); p.hasNext();) want << p.next().captured();
      for (auto p = kPlaceholder.globalMatch(ja); p.hasNext();) got << p.next().captured();
      want.sort();
      got.sort();
      EXPECT_EQ(got, want) << english.toStdString();
    }
  }
  EXPECT_GT(used.size(), 80);
  for (const QString& key : japanese.keys()) EXPECT_TRUE(used.contains(key)) << key.toStdString();
  const UiText ja = UiText::load(L::Japanese), en = UiText::load(L::English);
  EXPECT_EQ(en.after(u("Termika"), 1071), u("Termika not connected."));
  EXPECT_EQ(ja.after(u("Termika"), 1071), u("Termikaが接続されていません"));
}

}  // namespace
}  // namespace termika
