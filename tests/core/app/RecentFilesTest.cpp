#include <gtest/gtest.h>

#include "core/app/RecentFiles.h"

namespace termika {
namespace {

QStringList paths(const char* names) {
  QStringList out;
  for (const QString& n : QString::fromLatin1(names).split(u' ', Qt::SkipEmptyParts))
    out << QStringLiteral("/data/") + n + QStringLiteral(".csv");
  return out;
}

TEST(RecentFiles, NewestFirstEachFileOnceAtMostEight) {
  // Stored (newest first), added and removed in order: the list.
  const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
      {"", "a b c", "", "c b a"},
      {"a b c", "b", "x", "b a c"},
      {"a a b a", "", "", "a b"},
      {"a b c d e f g h i j", "", "b", "a c d e f g h"},
      {"", "a b c d e f g h i", "", "i h g f e d c b"},
      {"", "x/../a ./a", "", "a"},  // one file, however it is spelled
  };
  for (const auto& [stored, added, removed, expected] : cases) {
    RecentFiles recent(paths(stored));
    for (const QString& p : paths(added)) recent.add(p);
    for (const QString& p : paths(removed)) recent.remove(p);
    EXPECT_EQ(recent.files(), paths(expected)) << stored << " + " << added;
  }
}

}  // namespace
}  // namespace termika
