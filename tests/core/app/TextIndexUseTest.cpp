#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>

#include "core/app/UiText.h"

namespace termika {
namespace {

struct Use {
  QString file;
  int index;
};

// Every `text(N)`, `Texts[N]` and `joined(N, M)` in the program's sources.
std::vector<Use> textUses(const QString& sourceRoot) {
  static const QRegularExpression single(
      QStringLiteral(R"(\b(?:text\(\s*(\d+)\s*\)|Texts\[\s*(\d+)\s*\]))"));
  static const QRegularExpression pair(QStringLiteral(R"(\bjoined\(\s*(\d+)\s*,\s*(\d+)\s*\))"));
  std::vector<Use> uses;
  QDirIterator it(QDir(sourceRoot).filePath(QStringLiteral("src")),
                  {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QString source = QString::fromUtf8(file.readAll());
    for (auto m = single.globalMatch(source); m.hasNext();) {
      const auto match = m.next();
      const QString number = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
      uses.push_back({path, number.toInt()});
    }
    for (auto m = pair.globalMatch(source); m.hasNext();) {
      const auto match = m.next();
      uses.push_back({path, match.captured(1).toInt()});
      uses.push_back({path, match.captured(2).toInt()});
    }
  }
  return uses;
}

TEST(TextIndexUse, EveryIndexTheCodeUsesExistsInBothTables) {
  const QString root = qEnvironmentVariable("TERMIKA_SOURCE_DIR");
  ASSERT_FALSE(root.isEmpty()) << "TERMIKA_SOURCE_DIR is not set";
  const std::vector<Use> uses = textUses(root);
  // The main window alone puts dozens of captions; finding few means the
  // scan is broken, not that the code is clean.
  ASSERT_GT(uses.size(), 50u);
  const UiText ja = UiText::load(UiText::Language::Japanese);
  const UiText en = UiText::load(UiText::Language::English);
  for (const Use& use : uses) {
    EXPECT_TRUE(ja.has(use.index)) << use.file.toStdString() << ": text " << use.index;
    EXPECT_TRUE(en.has(use.index)) << use.file.toStdString() << ": text " << use.index;
  }
}

TEST(TextIndexUse, ScannerFindsEachForm) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("src/ui")));
  QFile file(root.filePath(QStringLiteral("src/ui/Sample.cpp")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "a = texts.text(1103);\nb = m_state.Texts[ 7 ];\nc = t.joined(1091, 1092);\n"
      "d = label->text();\ne = Texts[index];\n");
  file.close();
  std::vector<int> found;
  for (const Use& use : textUses(root.path())) found.push_back(use.index);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<int>{7, 1091, 1092, 1103}));
}

}  // namespace
}  // namespace termika
