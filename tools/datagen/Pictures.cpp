// Writes every stock picture into the program folder: the font sheet, the explosion sheet, the
// background and the ship pictures. They are rewritten on every run with the same bytes.
#include "tools/datagen/Bmp.h"
#include "tools/datagen/Generators.h"
#include "tools/datagen/PictureMakers.h"

namespace datagen {

void GeneratePictures(const std::filesystem::path& dir) {
  WriteBmp(dir / "font.bmp", MakeFontSheet());
  WriteBmp(dir / "boom.bmp", MakeExplosionSheet());
  WriteBmp(dir / "tausta.bmp", MakeBackground());
  for (const std::string& name : ShipPictureNames()) WriteBmp(dir / name, MakeShipPicture(name));
}

}  // namespace datagen
