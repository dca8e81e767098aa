#include "game/render/Graphics.h"

#include "game/core/GameError.h"
#include "platform/DataFiles.h"
#include "platform/Files.h"

namespace quorvex {

Rect ShipFrameRect(int frame) {
  const int column = frame % 8;
  const int row = frame < 8 ? 0 : frame < 16 ? 1 : frame < 24 ? 2 : 3;
  const int left = kShipFrameSize * column, top = kShipFrameSize * row;
  return Rect{left, top, left + kShipFrameSize, top + kShipFrameSize};
}

void LoadPicture(const GameWindow& w, const std::string& name, Surface* out) {
  if (!name.empty() && !IsBareFileName(name)) {
    throw GameError(kErrorFileNotFound, "Refused picture name \"" + name + "\": not a file of the program folder");
  }
  const std::filesystem::path path = FindGameFile(Folders(w), name);
  std::error_code ec;
  if (name.empty() || !std::filesystem::exists(path, ec)) throw GameError(kErrorFileNotFound, "File not found: " + path.string());
  if (!std::filesystem::is_regular_file(path, ec)) {
    throw GameError(kErrorFileNotFound, "Not a regular file: " + path.string());
  }
  std::string error;
  if (!LoadBitmap(path.string(), out, &error)) throw GameError(kErrorInvalidPicture, error);
}

namespace {

// Loads a picture the game cuts cells of `needed` size from. A smaller picture draws nothing where
// its cells are missing (no text from a tiny font sheet, a frame never cleared by a tiny
// background), so the player is told which picture and what size it needs, and the game goes on.
// A picture reloaded at the same wrong size was reported when it first came.
void LoadPictureOfSize(GameWindow& w, const std::string& name, PictureSize needed, Surface* out) {
  const int oldWidth = out->width(), oldHeight = out->height();
  LoadPicture(w, name, out);
  if (out->width() >= needed.width && out->height() >= needed.height) return;
  if (out->width() == oldWidth && out->height() == oldHeight) return;
  w.messages.Show("ERROR!", name + " is " + std::to_string(out->width()) + " x " + std::to_string(out->height()) +
                                " pixels; the game needs a picture of at least " + std::to_string(needed.width) +
                                " x " + std::to_string(needed.height) + " pixels");
}

}  // namespace

void LoadGraphics(GameWindow& w) {
  w.back.SetForeColor(255, 255, 255);
  w.back.SetFillColor(255, 255, 255);
  // Colour keys are given per blit: the background is copied whole, the others skip black.
  LoadPictureOfSize(w, "tausta.bmp", kBackgroundSize, &w.background);
  LoadShipPictures(w);
  LoadPictureOfSize(w, "boom.bmp", kExplosionSheetSize, &w.explosionSheet);
  LoadPictureOfSize(w, "font.bmp", kFontSheetSize, &w.fontSheet);
}

void LoadShipPictures(GameWindow& w) {
  for (int p = 0; p < 2; ++p) LoadPictureOfSize(w, w.ship[p].spriteFile, kShipPictureSize, &w.shipPicture[p]);
}

}  // namespace quorvex
