#include <gtest/gtest.h>

#include "core/app/NameRules.h"
#include "core/app/UiText.h"

namespace termika {
namespace {

using name_rules::NameFault;

TEST(NameRules, SingleByteNamesPassAndDoubleByteOnesAreRefused) {
  const struct {
    const char* name;
    NameFault fault;
  } cases[] = {
      {"AB12", NameFault::None},
      {"", NameFault::None},
      {"a-_.", NameFault::None},
      {"ｱｲｳｴ", NameFault::None},  // half-width katakana: one byte each
      {"テスト", NameFault::DoubleByteCharacter},
      {"AＢ", NameFault::DoubleByteCharacter},
      {"é", NameFault::DoubleByteCharacter},
      {"あ/", NameFault::ForbiddenCharacter},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(name_rules::check(QString::fromUtf8(c.name)), c.fault) << c.name;
  }
  for (const QChar c : QStringLiteral("\\/:*?\"<>|")) {
    const QString name = QStringLiteral("A") + c + QStringLiteral("B");
    EXPECT_EQ(name_rules::check(name), NameFault::ForbiddenCharacter) << name.toStdString();
  }
}

TEST(NameRules, RefusalMessageJoinsHeadingAndLine) {
  EXPECT_EQ(name_rules::forbiddenCharacterLine(), QStringLiteral("           \\ / : * ? \" < > |"));
  const UiText ja = UiText::load(UiText::Language::Japanese);
  EXPECT_EQ(name_rules::refusalMessage(ja, 253, QStringLiteral("A/")),
            QStringLiteral("認識名称には次の文字は使えません\r\r           \\ / : * ? \" < > |"));
  EXPECT_EQ(name_rules::refusalMessage(ja, 349, QStringLiteral("あAあい")),
            QStringLiteral("認識名称には次の文字は使えません\r\r           あ い"));
}

TEST(NameRules, PaddedNamesAreFourCharactersFromTheLeft) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"AB", "  AB"}, {"", "    "}, {"ABCD", "ABCD"}, {"ABCDE", "ABCD"}, {"X", "   X"}};
  for (const auto& c : cases)
    EXPECT_EQ(name_rules::padded(QString::fromUtf8(c.in)), QString::fromUtf8(c.out));
}

}  // namespace
}  // namespace termika
