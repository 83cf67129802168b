#include <gtest/gtest.h>

#include "core/views/FormLayout.h"

namespace termika {
namespace {

TEST(TwipsToPixels, FifteenTwipsPerPixelAt96Dpi) {
  EXPECT_EQ(TwipsToPixels(255, 96.0), 17);
  EXPECT_EQ(TwipsToPixels(7000, 96.0), 467);
  EXPECT_EQ(TwipsToPixels(11600, 96.0), 773);
  EXPECT_EQ(TwipsToPixels(255, 192.0), 34);
}

struct LayoutCase {
  QSize window;
  QSize client;
  QSize clampedWindow;
  bool bars;
  QRect frame;
  int hMax;
  int vMax;
};

TEST(LayOutForm, ClampsTheWindowAndShowsBarsOnlyWhenNeeded) {
  // At 96 dpi: width 467..773, height 413..700 pixels, bars 17 pixels thick.
  const QSize content(700, 600);
  const std::vector<LayoutCase> cases{
      // Big enough: no bars, the frame is the client area.
      {{760, 680}, {750, 650}, {760, 680}, false, {0, 0, 750, 650}, 0, 0},
      // Too wide and too tall: clamped to 773 x 700, client follows.
      {{900, 800}, {890, 770}, {773, 700}, false, {0, 0, 763, 670}, 0, 0},
      // Small: 600 x 500 client, frame 583 x 483, bars reach the hidden rest.
      {{610, 530}, {600, 500}, {610, 530}, true, {0, 0, 583, 483}, 117, 117},
      // Below the minimum: widened to 467 x 413 first.
      {{300, 300}, {290, 270}, {467, 413}, true, {0, 0, 440, 366}, 260, 234},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.window.width());
    const FormLayout l = LayOutForm(c.window, c.client, content, 96.0);
    EXPECT_EQ(l.window, c.clampedWindow);
    EXPECT_EQ(l.showScrollBars, c.bars);
    EXPECT_EQ(l.frame, c.frame);
    EXPECT_EQ(l.horizontalMaximum, c.hMax);
    EXPECT_EQ(l.verticalMaximum, c.vMax);
    if (c.bars) {
      EXPECT_EQ(l.verticalBar, QRect(c.frame.width(), 0, 17, c.frame.height()));
      EXPECT_EQ(l.horizontalBar, QRect(0, c.frame.height(), c.frame.width(), 17));
      EXPECT_EQ(l.horizontalPage, c.frame.width());
    } else {
      EXPECT_TRUE(l.verticalBar.isNull());
    }
  }
}

}  // namespace
}  // namespace termika
