// Helpers of the game spine's tests: a private folder with ship files, and a headless game window.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "game/core/GameWindow.h"
#include "shipdef/ShipFile.h"

namespace quorvex::testing {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A small valid ship whose figures are all different, so a field taken from the wrong line shows.
ShipDefinition SampleShip(const std::string& name, const std::string& picture);
// Writes `def` as a current ship file `name` into `dir` (fails the test when it cannot).
void WriteShip(const std::filesystem::path& dir, const std::string& name, const ShipDefinition& def);
// Writes raw text as file `name` into `dir`.
void WriteText(const std::filesystem::path& dir, const std::string& name, const std::string& text);
// The first `lines` lines of a ship file's text, with the first line replaced by `versionLine`.
std::string ShipTextWith(const ShipDefinition& def, const std::string& versionLine, int lines);

// A 24-bit bitmap of one colour.
void WriteBitmap(const std::filesystem::path& path, int width, int height, int r, int g, int b);
// The pictures the game loads at start-up (background, explosion sheet, font sheet) and the ship
// pictures named, so that a game can start in `dir`.
void WriteGamePictures(const std::filesystem::path& dir, const std::vector<std::string>& shipPictures);

// A window that opens nothing: message boxes recorded, a clock moved by hand.
std::unique_ptr<GameWindow> HeadlessWindow(const std::filesystem::path& programDir, Clock* clock);

}  // namespace quorvex::testing
