// The stock ship designs. Each is drawn nose up in model units (about 100 from nose to tail);
// the renderer scales every design to fill its frames.
#include "tools/datagen/PictureMakers.h"
#include "tools/datagen/PictureShipModel.h"

namespace datagen {

namespace {

// A sleek interceptor: a needle fuselage on swept delta wings, white with red trim.
ShipModel Arrow() {
  ModelBuilder b;
  const Colour white{214, 218, 226}, red{205, 40, 36}, dark{60, 64, 74};
  b.MirroredPoly({{4, -12}, {36, 30}, {38, 42}, {26, 40}, {5, 30}}, white, 0);
  b.MirroredStripe({12, 2}, {33, 33}, 3.5, red);
  b.MirroredPoly({{6, 22}, {15, 40}, {15, 46}, {6, 40}}, red, 1, 2.0);
  b.Hull({{0, -52}, {3, -42}, {6, -22}, {8, 8}, {8, 36}, {6, 44}}, Colour{232, 234, 240}, 1);
  b.Paint({{0, -52}, {2.4, -44}, {-2.4, -44}}, dark);
  b.Stripe({0, 4}, {0, 36}, 2.0, red);
  b.Canopy({0, -20}, {3.8, 10}, {50, 120, 230});
  b.Light({0, 45}, {5, 3.5}, {255, 150, 50});
  b.MirroredLight({36, 40}, {1.6, 1.6}, {255, 60, 60});
  return {"arrow.bmp", b.parts};
}

// A wasp of a fighter: a fat yellow body banded in black, stubby wings with a gun at each tip.
ShipModel Hornet() {
  ModelBuilder b;
  const Colour yellow{236, 188, 34}, black{48, 48, 58}, steel{140, 146, 158};
  b.MirroredPoly({{8, -8}, {30, -18}, {36, -12}, {34, 6}, {10, 16}}, black, 0);
  b.MirroredPaint({{28, -16}, {36, -12}, {35, -2}, {27, -4}}, yellow);
  b.MirroredPoly({{28, -36}, {34, -36}, {34, -8}, {28, -8}}, steel, 1, 2.0);
  b.MirroredPoly({{4, 30}, {14, 42}, {13, 48}, {4, 42}}, black, 0);
  b.Hull({{0, -46}, {6, -40}, {11, -22}, {12, 0}, {11, 20}, {7, 38}, {0, 46}}, yellow, 1, 4.0);
  b.Stripe({-12, 8}, {12, 8}, 5, black);
  b.Stripe({-12, 20}, {12, 20}, 5, black);
  b.Stripe({-10, 32}, {10, 32}, 4.5, black);
  b.Canopy({0, -24}, {5.5, 9}, {170, 80, 20});
  b.MirroredLight({5, 44}, {3.2, 3.2}, {255, 180, 60});
  return {"hornet.bmp", b.parts};
}

// An insect-like striker: a green carapace, scythe arms reaching forward around an electric orb,
// long pale wings swept back.
ShipModel Mantis() {
  ModelBuilder b;
  const Colour green{78, 176, 62}, darkGreen{44, 108, 44}, wing{150, 215, 185};
  b.MirroredPoly({{8, -4}, {44, 18}, {46, 28}, {10, 12}}, wing, 0, 2.0);
  b.MirroredPoly({{6, 6}, {36, 34}, {34, 40}, {6, 16}}, Colour{120, 190, 160}, 0, 2.0);
  b.Oval({0, 28}, {11, 21}, darkGreen, 1, 0.5);
  b.Stripe({-12, 22}, {12, 22}, 3.5, Colour{30, 80, 34});
  b.Stripe({-12, 32}, {12, 32}, 3.5, Colour{30, 80, 34});
  b.MirroredPoly({{6, -18}, {20, -30}, {20, -50}, {14, -52}, {15, -34}, {4, -24}}, green, 1, 2.5);
  b.Oval({0, -2}, {10, 16}, green, 2, 0.5);
  b.Hull({{0, -32}, {9, -24}, {8, -14}, {0, -12}}, green, 3, 2.5);
  b.MirroredLight({5, -24}, {2.8, 3.6}, {210, 255, 90}, 3);
  b.Light({0, -42}, {4.5, 4.5}, {120, 255, 230}, 1);
  return {"mantis.bmp", b.parts};
}

// A gunship shaped like a bird of prey: broad feathered wings carrying missile pods, a hooked beak.
ShipModel Falcon() {
  ModelBuilder b;
  const Colour brown{150, 104, 62}, tan{196, 160, 112}, white{226, 220, 204}, steel{128, 134, 146};
  b.MirroredPoly({{6, -12}, {46, 4}, {50, 12}, {42, 12}, {44, 20}, {36, 18}, {36, 26}, {28, 22}, {26, 30}, {8, 24}}, brown, 0);
  b.MirroredStripe({10, -4}, {44, 8}, 4, tan);
  b.MirroredPoly({{2, 28}, {14, 44}, {8, 50}, {0, 44}}, brown, 0);
  b.MirroredOval({24, 0}, {3.5, 11}, steel, 1, 0.6);
  b.MirroredLight({24, -11}, {2.5, 2.5}, {255, 70, 50}, 1);
  b.Hull({{0, -50}, {5, -45}, {9, -34}, {10, -10}, {9, 20}, {6, 34}, {0, 38}}, tan, 2, 4.0);
  b.Paint({{0, -50}, {5, -45}, {7, -40}, {-7, -40}, {-5, -45}}, Colour{232, 182, 44});
  b.Paint({{-7, -40}, {7, -40}, {9, -30}, {-9, -30}}, white);
  b.Canopy({0, -26}, {4.5, 7}, {40, 140, 150});
  b.MirroredLight({5, 36}, {2.8, 2.8}, {255, 160, 60}, 2);
  return {"falcon.bmp", b.parts};
}

// A raider: a dark angular flying wing with violet trim, a red visor and violet engines.
ShipModel Raven() {
  ModelBuilder b;
  const Colour dark{70, 62, 90}, spine{92, 82, 118}, violet{150, 80, 215};
  b.Hull({{0, -48}, {10, -30}, {48, 22}, {42, 32}, {30, 24}, {22, 38}, {12, 28}, {0, 40}}, dark, 0, 3.0);
  b.MirroredStripe({13, -22}, {44, 22}, 4, violet);
  b.MirroredStripe({14, 20}, {22, 34}, 3.5, violet);
  b.Hull({{0, -42}, {6, -26}, {9, 8}, {6, 28}, {0, 32}}, spine, 1, 3.5);
  b.Light({0, -20}, {2.4, 7}, {255, 50, 70}, 2);
  b.MirroredLight({10, 31}, {4.5, 2.6}, {210, 90, 255}, 1);
  b.MirroredLight({45, 24}, {1.8, 1.8}, {255, 60, 90}, 1);
  return {"raven.bmp", b.parts};
}

// An escort built around its shields: a white hull between two glowing shield generators.
ShipModel Warden() {
  ModelBuilder b;
  const Colour white{222, 226, 236}, blue{46, 96, 206}, grey{150, 156, 170};
  b.MirroredPoly({{12, -8}, {26, -10}, {26, 16}, {12, 18}}, grey, 0, 2.0);
  b.MirroredOval({30, 4}, {10, 24}, white, 1, 0.45);
  b.MirroredLight({30, 4}, {4, 15}, {110, 190, 255}, 2);
  b.Hull({{0, -46}, {12, -36}, {16, -12}, {16, 20}, {12, 36}, {0, 42}}, white, 1, 4.0);
  b.Stripe({0, -8}, {0, 30}, 6, blue);
  b.Stripe({-14, -14}, {14, -14}, 4, blue);
  b.Canopy({0, -26}, {5.5, 7}, {40, 110, 220});
  b.MirroredLight({7, 41}, {3.4, 3}, {150, 210, 255}, 1);
  b.Light({0, 43}, {3.4, 3}, {150, 210, 255}, 1);
  return {"warden.bmp", b.parts};
}

// A torpedo boat: a long navy spear of a hull flanked by torpedo tubes, gold fins at the tail.
ShipModel Lancer() {
  ModelBuilder b;
  const Colour navy{56, 76, 128}, gold{222, 156, 52}, gun{112, 118, 130};
  b.MirroredPoly({{8, 24}, {26, 38}, {28, 48}, {8, 42}}, gold, 0);
  b.MirroredPoly({{10, -16}, {16, -20}, {19, -16}, {19, 26}, {10, 30}}, gun, 0, 2.5);
  b.MirroredLight({14.5, -16}, {2.6, 2.6}, {200, 90, 255}, 1);
  b.Hull({{0, -54}, {3, -44}, {4.5, -24}, {9, -12}, {11, 10}, {11, 36}, {7, 46}, {0, 48}}, navy, 1, 4.0);
  b.Paint({{0, -54}, {3, -44}, {3.6, -38}, {-3.6, -38}, {-3, -44}}, gold);
  b.Stripe({-11, 14}, {11, 14}, 4, gold);
  b.Canopy({0, -2}, {4.5, 8}, {60, 170, 220});
  b.Light({0, 47}, {6, 3.5}, {255, 150, 50}, 1);
  return {"lancer.bmp", b.parts};
}

// A hauler like a beetle: a round red shell split down the middle, a dark head with mandibles
// around the chaingun, engines under the shell's rear.
ShipModel Beetle() {
  ModelBuilder b;
  const Colour shell{186, 72, 40}, dark{62, 52, 48}, steel{140, 144, 152};
  b.MirroredLight({12, 44}, {4.5, 3.5}, {255, 140, 40}, 0);
  b.MirroredOval({31, 16}, {6, 12}, steel, 0, 0.5);
  b.Poly({{-2.5, -52}, {2.5, -52}, {2.5, -36}, {-2.5, -36}}, steel, 0, 1.5);
  b.MirroredPoly({{6, -36}, {14, -46}, {11, -51}, {3, -42}}, dark, 0, 2.0);
  b.Oval({0, -32}, {13, 10}, dark, 0, 0.5);
  b.MirroredLight({7, -36}, {2.6, 2.2}, {255, 200, 60}, 1);
  b.Oval({0, 8}, {30, 36}, shell, 1, 0.4);
  b.Stripe({0, -28}, {0, 44}, 3.5, Colour{70, 30, 20});
  // Spots on the shell, painted on.
  const Vec2 spots[3][2] = {{{13, -4}, {4.5, 5.5}}, {{16, 20}, {4, 5}}, {{9, 34}, {3.5, 4}}};
  for (const auto& spot : spots)
    for (int side = -1; side <= 1; side += 2)
      b.Oval({side * spot[0].x, spot[0].y}, spot[1], Colour{70, 30, 24}).decal = true;
  return {"beetle.bmp", b.parts};
}

// A capital cruiser: a long steel hull with gun sponsons, a stepped superstructure under the
// bridge, turrets fore and aft and a bank of blue engines.
ShipModel Bastion() {
  ModelBuilder b;
  const Colour steel{118, 128, 148}, light{166, 174, 192}, dark{80, 86, 102}, yellow{230, 186, 48};
  b.Hull({{0, -52}, {8, -46}, {14, -30}, {16, -12}, {25, -8}, {27, 8}, {18, 13}, {20, 30}, {29, 34}, {29, 44},
          {18, 50}, {0, 48}},
         steel, 0, 3.0);
  b.MirroredPaint({{15, -6}, {24, -4}, {25, 6}, {16, 9}}, dark);
  b.MirroredPaint({{20, 35}, {28, 37}, {28, 43}, {20, 44}}, dark);
  b.MirroredStripe({12, -32}, {15, -14}, 2.8, yellow);
  b.Hull({{0, -28}, {8, -24}, {10, 0}, {9, 26}, {0, 30}}, light, 1, 3.0);
  b.Stripe({-9, 14}, {9, 14}, 3, dark);
  b.Poly({{-6, 0}, {6, 0}, {6, 11}, {-6, 11}}, steel, 2, 2.0);
  b.Light({0, 2.5}, {4.5, 1.5}, {130, 210, 255}, 2);
  b.Poly({{-1.8, -51}, {1.8, -51}, {1.8, -40}, {-1.8, -40}}, dark, 1, 1.0);
  b.Oval({0, -38}, {5.5, 5.5}, light, 1, 0.8);
  b.MirroredOval({20, 1}, {4.5, 4.5}, light, 1, 0.8);
  b.MirroredOval({22, 40}, {4, 4}, light, 1, 0.8);
  b.Oval({0, 36}, {5, 5}, light, 1, 0.8);
  b.MirroredLight({6, 49}, {4, 2.6}, {130, 200, 255}, 0);
  b.MirroredLight({15, 49}, {3.6, 2.4}, {130, 200, 255}, 0);
  b.MirroredLight({27, 8}, {1.6, 1.6}, {255, 70, 60}, 1);
  return {"bastion.bmp", b.parts};
}

// A dreadnought: a hammer-headed hull of black and crimson with glowing seams, domed turrets on its
// spine and a wall of red engines.
ShipModel Leviathan() {
  ModelBuilder b;
  const Colour black{58, 54, 64}, crimson{128, 34, 40}, seam{255, 110, 40};
  b.Hull({{0, -44}, {18, -50}, {38, -46}, {46, -34}, {40, -24}, {22, -20}, {16, -8}, {26, 4}, {36, 20}, {36, 38},
          {24, 48}, {0, 44}},
         black, 0, 3.5);
  b.MirroredPaint({{16, -44}, {36, -42}, {42, -34}, {36, -28}, {16, -28}}, crimson);
  b.MirroredPaint({{18, 8}, {26, 8}, {33, 20}, {33, 34}, {26, 40}, {18, 32}}, crimson);
  b.MirroredLight({41, -32}, {2.8, 2.8}, seam, 1);
  b.MirroredLight({26, 24}, {1.8, 9}, seam, 1);
  b.MirroredLight({26, -36}, {7, 1.6}, seam, 1);
  b.Hull({{0, -38}, {6, -30}, {9, 0}, {11, 30}, {7, 40}, {0, 42}}, crimson, 1, 3.5);
  b.Oval({0, -20}, {5.5, 5.5}, black, 2, 0.8);
  b.Oval({0, 8}, {6.5, 6.5}, black, 2, 0.8);
  b.Light({0, 27}, {4.5, 1.8}, {255, 200, 120}, 2);
  b.MirroredLight({10, 45}, {5, 3}, {255, 80, 40}, 1);
  b.Light({0, 44}, {4, 3}, {255, 120, 60}, 1);
  b.MirroredLight({25, 46}, {4.5, 2.6}, {255, 80, 40}, 0);
  return {"leviathan.bmp", b.parts};
}

// A tiny escape pod: a white capsule with an orange band, a round window, a beacon and one nozzle.
ShipModel Pod() {
  ModelBuilder b;
  const Colour white{226, 226, 230}, orange{232, 124, 40}, steel{128, 132, 142};
  b.Poly({{-8, 24}, {8, 24}, {11, 38}, {-11, 38}}, steel, 0, 2.5);
  b.Light({0, 39}, {7, 3.5}, {255, 170, 60}, 0);
  b.MirroredPoly({{14, -8}, {22, -4}, {22, 8}, {14, 12}}, steel, 0, 2.0);
  b.Oval({0, 0}, {18, 30}, white, 1, 0.6);
  b.Stripe({-20, 6}, {20, 6}, 9, orange);
  b.Canopy({0, -15}, {8, 7}, {60, 140, 220});
  b.Light({0, 18}, {3, 3}, {255, 60, 60}, 2);
  return {"pod.bmp", b.parts};
}

// A small escape shuttle: a boxy white body on stubby wings with orange trim and a wide windscreen.
ShipModel Shuttle() {
  ModelBuilder b;
  const Colour white{226, 228, 234}, wing{198, 202, 212}, orange{234, 128, 40}, dark{70, 76, 92};
  b.MirroredPoly({{12, 2}, {34, 18}, {36, 32}, {12, 32}}, wing, 0);
  b.MirroredStripe({16, 22}, {34, 25}, 4, orange);
  b.MirroredLight({8, 42}, {4.5, 3.2}, {255, 170, 70}, 0);
  b.Hull({{0, -46}, {10, -42}, {14, -30}, {14, 30}, {12, 40}, {0, 40}}, white, 1, 3.5);
  b.Stripe({-14, -4}, {14, -4}, 5, orange);
  b.MirroredPaint({{4, 6}, {11, 6}, {11, 28}, {4, 28}}, Colour{206, 208, 216});
  b.Poly({{-2.5, 16}, {2.5, 16}, {2.5, 40}, {-2.5, 40}}, wing, 2, 1.5);
  b.Canopy({0, -32}, {9, 5}, {50, 110, 190});
  b.Paint({{-3, -42}, {3, -42}, {3, -39}, {-3, -39}}, dark);
  return {"shuttle.bmp", b.parts};
}

// The editor's default design: a saucer, a slim engineering hull and two engine nacelles.
ShipModel Trekkie() {
  ModelBuilder b;
  const Colour hull{196, 200, 208}, panel{168, 173, 182};
  b.Hull({{0, 0}, {8, 4}, {10, 18}, {9, 34}, {4, 42}}, panel, 0);
  b.MirroredPoly({{6, 16}, {19, 24}, {20, 30}, {7, 28}}, panel, 0, 2.0);
  b.MirroredOval({21, 30}, {5, 18}, hull, 1, 0.5);
  b.MirroredLight({21, 32}, {2, 13}, {90, 170, 255}, 1);
  b.MirroredLight({21, 14}, {3.2, 3.2}, {255, 90, 50}, 1);
  b.Light({0, 7}, {3.6, 3.6}, {255, 170, 60}, 0);
  b.Oval({0, -22}, {28, 28}, hull, 1, 0.22);
  b.Oval({0, -22}, {19, 19}, panel, 1, 0.3).decal = true;
  b.Oval({0, -22}, {17, 17}, hull, 1, 0.3).decal = true;
  b.Oval({0, -22}, {6.5, 6.5}, {210, 214, 222}, 2, 0.8);
  b.Canopy({0, -22}, {2.5, 2.5}, {80, 150, 230}, 3);
  b.MirroredLight({27, -22}, {1.6, 1.6}, {255, 60, 60}, 2);
  return {"trekkie.bmp", b.parts};
}

std::vector<ShipModel> StockModels() {
  return {Arrow(),   Hornet(),    Mantis(), Falcon(), Raven(),   Warden(), Lancer(),
          Beetle(),  Bastion(),   Leviathan(), Pod(),  Shuttle(), Trekkie()};
}

}  // namespace

std::vector<std::string> ShipPictureNames() {
  std::vector<std::string> names;
  for (const ShipModel& model : StockModels()) names.push_back(model.fileName);
  return names;
}

Image MakeShipPicture(const std::string& fileName) {
  for (const ShipModel& model : StockModels())
    if (model.fileName == fileName) return RenderShipSheet(model);
  return {};
}

Image MakeShipFrame(const std::string& fileName, int size, int heading) {
  for (const ShipModel& model : StockModels())
    if (model.fileName == fileName) return RenderShipHeadings(model, 23.2 * size / 50.0, size, {heading}, 1);
  return {};
}

}  // namespace datagen
