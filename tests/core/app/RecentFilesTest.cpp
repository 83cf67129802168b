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
  const struct {
    const char *stored, *added, *removed, *expected;  // newest first, then in order
  } cases[] = {
      {"", "a b c", "", "c b a"},
      {"a b c", "b", "x", "b a c"},
      {"a a b a", "", "", "a b"},
      {"a b c d e f g h i j", "", "b", "a c d e f g h"},
      {"", "a b c d e f g h i", "", "i h g f e d c b"},
      {"", "x/../a ./a", "", "a"},  // one file, however it is spelled
  };
  for (const auto& c : cases) {
    RecentFiles recent(paths(c.stored));
    for (const QString& p : paths(c.added)) recent.add(p);
    for (const QString& p : paths(c.removed)) recent.remove(p);
    EXPECT_EQ(recent.files(), paths(c.expected)) << c.stored << " + " << c.added;
  }
}

}  // namespace
}  // namespace termika
