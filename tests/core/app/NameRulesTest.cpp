#include <gtest/gtest.h>

#include "core/app/NameRules.h"
#include "core/base/UiText.h"

namespace termika {
namespace {

using name_rules::NameFault;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(NameRules, SingleByteNamesPassAndDoubleByteOnesAreRefused) {
  const std::pair<const char*, NameFault> cases[] = {
      {"AB12", NameFault::None},
      {"", NameFault::None},
      {"a-_.", NameFault::None},
      {"ｱｲｳｴ", NameFault::None},  // half-width katakana: one byte each
      {"テスト", NameFault::DoubleByteCharacter},
      {"AＢ", NameFault::DoubleByteCharacter},
      {"é", NameFault::DoubleByteCharacter},
      {"あ/", NameFault::ForbiddenCharacter},
      {"ABCDE", NameFault::TooLong},
      {"A\tB", NameFault::ControlCharacter},
      {"\x7f", NameFault::ControlCharacter}};
  for (const auto& [name, fault] : cases) EXPECT_EQ(name_rules::check(u(name)), fault) << name;
  for (const QChar c : QStringLiteral("\\/:*?\"<>|")) {
    const QString name = QStringLiteral("A") + c + QStringLiteral("B");
    EXPECT_EQ(name_rules::check(name), NameFault::ForbiddenCharacter) << name.toStdString();
  }
  const std::pair<const char*, const char*> pads[] = {
      {"AB", "  AB"}, {"", "    "}, {"ABCD", "ABCD"}, {"ABCDE", "ABCD"}, {"X", "   X"}};
  for (const auto& [in, out] : pads) EXPECT_EQ(name_rules::padded(u(in)), u(out)) << in;
}

TEST(NameRules, RefusalMessageJoinsHeadingAndLine) {
  const UiText ja = UiText::load(UiText::Language::Japanese);
  EXPECT_EQ(name_rules::refusalMessage(ja, TextId::NameCharactersRefused, QStringLiteral("A/")),
            u("認識名称には次の文字は使えません\r\r           \\ / : * ? \" < > |"));
  EXPECT_EQ(name_rules::refusalMessage(ja, TextId::RecordingNameRefused, QStringLiteral("あAあい")),
            u("認識名称には次の文字は使えません\r\r           あ い"));
}

}  // namespace
}  // namespace termika
