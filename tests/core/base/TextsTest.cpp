#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include "core/base/Translations.h"
#include "core/base/UiText.h"

namespace termika {
namespace {

using L = UiText::Language;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// The loader fills exactly the entries the key column names, in both languages.
TEST(UiText, BothLanguagesFillEveryNamedEntryAndEveryMessageOfOursHasAJapaneseForm) {
  const UiText ja = UiText::load(L::Japanese), en = UiText::load(L::English);
  int filled = 0;
  for (int i = 0; i < UiText::kSize; ++i) filled += ja.hasNumber(i) && en.hasNumber(i) ? 1 : 0;
  EXPECT_EQ(filled, static_cast<int>(kAllTextIds.size()));
  for (const TextId id : kAllTextIds)
    EXPECT_TRUE(ja.hasNumber(static_cast<int>(id)) && en.hasNumber(static_cast<int>(id)))
        << static_cast<int>(id);
  // The English entries that were mended: the hour's blank names the hour, the title and "NG"
  // end in a blank.
  EXPECT_EQ(en[TextId::ReserveHourBlank] + en[TextId::BatteryNg] + en[TextId::WindowTitle],
            u("--HourNG [Termika] Temperature and Humidity Logger "));
  EXPECT_EQ(ja.joined(TextId::DownloadNotSaved, TextId::SaveItQuestion),
            u("先にダウンロードしたデータは保存されていません。\r\r保存しますか？"));
  EXPECT_EQ(en.inRange(TextId::DumpRecordNumber, 4), en[TextId::DumpRemarks]);
  for (const int number : {-1, 28, 40, 1012, 1040, 2000, 2001})
    EXPECT_TRUE(!en.hasNumber(number) && en.numbered(number).isEmpty()) << number;
  // Every says("...") of the program has a Japanese form with the same placeholders, no form is
  // left without a use, and no failure message bypasses the table. The model name and "not
  // connected" read as words in English.
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
  EXPECT_EQ(en.after(u("Termika"), TextId::ModelNotConnected), u("Termika not connected."));
  EXPECT_EQ(ja.after(u("Termika"), TextId::ModelNotConnected), u("Termikaが接続されていません"));
}

}  // namespace
}  // namespace termika
