// A caption over the game's picture, as the window shows it: its black pixels let the picture
// through, its other pixels cover it, and it stays over every picture until taken away.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/Display.h"

namespace quorvex {
namespace {

// The colour the window shows at (x, y) of the 800 x 600 picture, as 0xRRGGBB.
uint32_t Shown(const Display& d, int x, int y) {
  const SDL_Rect at{x, y, 1, 1};
  uint32_t pixel = 0;
  EXPECT_EQ(0, SDL_RenderReadPixels(d.renderer, &at, SDL_PIXELFORMAT_RGB888, &pixel, 4)) << SDL_GetError();
  return pixel & 0xFFFFFF;
}

TEST(DisplayCaption, CoversThePictureWhereItIsNotBlack) {
  Display d;
  std::string error;
  ASSERT_TRUE(OpenDisplay(d, true, &error)) << error;
  Surface back(kScreenWidth, kScreenHeight);
  back.BltColorFill(Rect{0, 0, kScreenWidth, kScreenHeight}, Rgb565(0, 0, 255));
  Surface caption(3, 1);
  caption.setPixel(0, 0, Rgb565(255, 255, 255));
  caption.setPixel(2, 0, Rgb565(255, 0, 0));
  SetDisplayCaption(d, caption, 10, 590);

  PresentSurface(d, back);
  EXPECT_EQ(Shown(d, 10, 590), 0xFFFFFFu);
  EXPECT_EQ(Shown(d, 11, 590), 0x0000FFu) << "black lets the picture through";
  EXPECT_EQ(Shown(d, 12, 590), 0xFF0000u);
  EXPECT_EQ(Shown(d, 13, 590), 0x0000FFu) << "nothing beside it";

  SetDisplayCaption(d, Surface(), 0, 0);
  PresentSurface(d, back);
  EXPECT_EQ(Shown(d, 10, 590), 0x0000FFu) << "taken away";
  CloseDisplay(d);
}

}  // namespace
}  // namespace quorvex
