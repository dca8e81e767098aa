#include "game/render/Graphics.h"

#include "game/core/GameError.h"
#include "platform/Files.h"

namespace quorvex {

Rect ShipFrameRect(int frame) {
  const int column = frame % 8;
  const int row = frame < 8 ? 0 : frame < 16 ? 1 : frame < 24 ? 2 : 3;
  const int left = kShipFrameSize * column, top = kShipFrameSize * row;
  return Rect{left, top, left + kShipFrameSize, top + kShipFrameSize};
}

void LoadPicture(const GameWindow& w, const std::string& name, Surface* out) {
  const std::filesystem::path path = FindGameFile(Folders(w), name);
  std::error_code ec;
  if (name.empty() || !std::filesystem::is_regular_file(path, ec)) {
    throw GameError(kErrorFileNotFound, "File not found: " + path.string());
  }
  std::string error;
  if (!LoadBitmap(path.string(), out, &error)) throw GameError(kErrorInvalidPicture, error);
}

void LoadGraphics(GameWindow& w) {
  w.back.SetForeColor(255, 255, 255);
  w.back.SetFillColor(255, 255, 255);
  // Colour keys are given per blit: the background is copied whole, the others skip black.
  LoadPicture(w, "tausta.bmp", &w.background);
  LoadShipPictures(w);
  LoadPicture(w, "boom.bmp", &w.explosionSheet);
  LoadPicture(w, "font.bmp", &w.fontSheet);
}

void LoadShipPictures(GameWindow& w) {
  for (int p = 0; p < 2; ++p) LoadPicture(w, w.ship[p].spriteFile, &w.shipPicture[p]);
}

}  // namespace quorvex
