// Ship pictures are drawn from flat vector models seen from above: polygons and ellipses with a
// colour and a finish, painted back to front. The renderer turns a model to each of the 32
// headings, lights it from the upper left of the screen (so the light stays put while the ship
// turns) and paints the 400 x 200 sheet the game cuts its frames from.
#pragma once
#include <string>
#include <vector>

#include "tools/datagen/Draw.h"

namespace datagen {

enum class Finish {
  Metal,  // painted hull plates: rounded edges catch the light, a soft highlight
  Glass,  // cockpit canopies: dark, domed, with a sharp bright reflection
  Glow,   // engines, lights and energy parts: they shine by themselves, brightest in the middle
};

struct ShipPart {
  bool ellipse = false;
  Polygon points;          // polygon corners, model units, nose towards -y
  Vec2 centre, radii;      // ellipse
  double angle = 0;        // ellipse turn in radians (clockwise)
  Colour colour;
  Finish finish = Finish::Metal;
  int level = 0;           // height above the hull: higher parts cast a shadow on lower ones
  double bevel = 3.0;      // width of the rounded edge, model units
  double dome = 0;         // ellipses: how strongly the top is rounded (0 flat with a bevel, 1 a half ball)
  bool decal = false;      // paint only: takes its light from the part beneath it
};

struct ShipModel {
  std::string fileName;
  std::vector<ShipPart> parts;
};

// Builders. Parts marked `mirrored` are also added reflected across the ship's axis (x = 0), so
// a design gives only its right half for symmetric pieces.
struct ModelBuilder {
  std::vector<ShipPart> parts;

  ShipPart& Poly(const Polygon& points, Colour colour, int level = 0, double bevel = 3.0);
  void MirroredPoly(const Polygon& rightHalf, Colour colour, int level = 0, double bevel = 3.0);
  // A polygon given by its right half from nose to tail along x >= 0, closed through its reflection.
  ShipPart& Hull(const Polygon& rightOutline, Colour colour, int level = 0, double bevel = 3.0);
  ShipPart& Oval(Vec2 centre, Vec2 radii, Colour colour, int level = 0, double dome = 0.5, double angle = 0);
  void MirroredOval(Vec2 centre, Vec2 radii, Colour colour, int level = 0, double dome = 0.5, double angle = 0);
  ShipPart& Canopy(Vec2 centre, Vec2 radii, Colour colour, int level = 2, double angle = 0);
  ShipPart& Light(Vec2 centre, Vec2 radii, Colour colour, int level = 1, double angle = 0);
  void MirroredLight(Vec2 centre, Vec2 radii, Colour colour, int level = 1, double angle = 0);
  ShipPart& Paint(const Polygon& points, Colour colour);
  void MirroredPaint(const Polygon& points, Colour colour);
  // A painted strip of the given width from a to b.
  ShipPart& Stripe(Vec2 a, Vec2 b, double width, Colour colour);
  void MirroredStripe(Vec2 a, Vec2 b, double width, Colour colour);
};

// Renders the 32 headings: frame f shows the ship turned f / 32 of a full turn clockwise from
// nose up, in column f mod 8 and row f / 8 of 50 x 50 cells. The model is scaled so that its
// farthest point lies `reach` pixels from the cell's middle.
Image RenderShipSheet(const ShipModel& model, double reach = 23.2);
// The same for any frame size and any headings, cell after cell in rows of `columns`.
Image RenderShipHeadings(const ShipModel& model, double reach, int frameSize, const std::vector<int>& headings,
                         int columns);

}  // namespace datagen
