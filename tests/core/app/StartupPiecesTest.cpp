#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/app/CommandLine.h"
#include "core/app/DialogFilter.h"
#include "core/app/SingleInstance.h"
#include "core/app/WindowLimits.h"

namespace termika {
namespace {

TEST(SingleInstance, ASecondCopyIsRefusedUntilTheFirstEnds) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString lock = dir.filePath(QStringLiteral("termika.lock"));
  auto first = std::make_unique<SingleInstance>(lock);
  ASSERT_TRUE(first->acquire());
  EXPECT_TRUE(first->acquire());  // asking again keeps the lock
  SingleInstance second(lock);
  EXPECT_FALSE(second.acquire());
  first.reset();
  EXPECT_TRUE(second.acquire());
  EXPECT_TRUE(SingleInstance::defaultLockPath().endsWith(QStringLiteral("/termika.lock")));
}

TEST(CommandLine, ParsesLanguageLinkOptionsAndFiles) {
  using L = UiText::Language;
  struct Case {
    const char* args;  // after the program name; empty: refused
    bool ok;
    L language;
    const char *portMap, *adapter, *files;
  };
  const Case cases[] = {
      {"", true, L::Japanese, "", "", ""},
      {"--lang en", true, L::English, "", "", ""},
      {"--lang=ja", true, L::Japanese, "", "", ""},
      {"--port-map /tmp/termika/tty%1 --adapter sim:/tmp/pins", true, L::Japanese,
       "/tmp/termika/tty%1", "sim:/tmp/pins", ""},
      {"data.csv --lang en", true, L::English, "", "", "data.csv"},
      {"--lang de", false, L::Japanese, "", "", ""},
      {"--lang", false, L::Japanese, "", "", ""},
      {"--colour", false, L::Japanese, "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    const QStringList args = QStringList{QStringLiteral("termika")} +
                             QString::fromUtf8(c.args).split(u' ', Qt::SkipEmptyParts);
    const Result<CommandLine> line = CommandLine::parse(args);
    ASSERT_EQ(line.ok(), c.ok);
    if (!line.ok()) {
      EXPECT_FALSE(line.error().message.isEmpty());
      continue;
    }
    EXPECT_EQ(line->language, c.language);
    EXPECT_EQ(line->portMap, QString::fromUtf8(c.portMap));
    EXPECT_EQ(line->adapter, QString::fromUtf8(c.adapter));
    EXPECT_EQ(line->files.join(u' '), QString::fromUtf8(c.files));
    EXPECT_FALSE(line->help);
  }
  const Result<CommandLine> line =
      CommandLine::parse({QStringLiteral("termika"), QStringLiteral("--screenshot"),
                          QStringLiteral("/tmp/a.png"), QStringLiteral("-h")});
  ASSERT_TRUE(line.ok());
  EXPECT_EQ(line->screenshot, QStringLiteral("/tmp/a.png"));
  EXPECT_TRUE(line->help);
  EXPECT_TRUE(CommandLine::usage().contains(QStringLiteral("--port-map")));
}

TEST(WindowLimits, TwipLimitsInPixels) {
  struct Case {
    double dpi;
    QSize minimum;
    QSize maximum;
  };
  // 96 dpi: 15 twips a pixel, 7000/15 = 466.7 -> 467, 11600/15 = 773.3 -> 773,
  // 6200/15 = 413.3 -> 414, 10500/15 = 700. 144 dpi: 10 twips a pixel.
  // 120 dpi: 12 twips a pixel, 7000/12 = 583.3 -> 584, 11600/12 = 966.7 -> 966,
  // 6200/12 = 516.7 -> 517, 10500/12 = 875.
  const Case cases[] = {
      {96.0, {467, 414}, {773, 700}},
      {144.0, {700, 620}, {1160, 1050}},
      {120.0, {584, 517}, {966, 875}},
      {0.0, {467, 414}, {773, 700}},  // no dpi known: the usual 96
  };
  for (const Case& c : cases) {
    const WindowLimits limits = windowLimits(c.dpi);
    EXPECT_EQ(limits.minimum, c.minimum) << c.dpi;
    EXPECT_EQ(limits.maximum, c.maximum) << c.dpi;
  }
  // The window starts at the screen size held within the limits.
  const WindowLimits limits = windowLimits(96.0);
  EXPECT_EQ(initialWindowSize({1600, 1000}, limits), QSize(773, 700));
  EXPECT_EQ(initialWindowSize({640, 480}, limits), QSize(640, 480));
  EXPECT_EQ(initialWindowSize({320, 200}, limits), QSize(467, 414));
  EXPECT_EQ(initialWindowSize({700, 1200}, limits), QSize(700, 700));
}

TEST(DialogFilter, PipeFiltersBecomeQtFilters) {
  struct Case {
    const char* pipe;
    const char* qt;
  };
  const Case cases[] = {
      {" CSVﾌｧｲﾙ(*.csv)|*.csv", "CSVﾌｧｲﾙ(*.csv)"},
      {"CSV(*.csv)|*.csv", "CSV(*.csv)"},
      {"Text|*.txt", "Text (*.txt)"},
      {"CSV|*.csv|All|*.*", "CSV (*.csv);;All (*.*)"},
      {"CSV|", ""},
      {"CSV (*.csv)", "CSV (*.csv)"},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dialogFilter(QString::fromUtf8(c.pipe)), QString::fromUtf8(c.qt)) << c.pipe;
  }
}

}  // namespace
}  // namespace termika
