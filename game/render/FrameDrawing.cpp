#include "game/render/FrameDrawing.h"

#include <algorithm>
#include <cmath>

#include "game/combat/Damage.h"
#include "game/combat/Guns.h"
#include "game/combat/Missiles.h"
#include "game/render/BattleTexts.h"
#include "game/render/Graphics.h"
#include "game/render/Particles.h"
#include "platform/Numbers.h"

namespace quorvex {

namespace {

// A colour component computed from reals; the surface clamps it to 0..255.
int Part(double v) { return nearestInt(v); }

void Line(Surface& s, double x1, double y1, double x2, double y2) {
  s.DrawLine(nearestInt(x1), nearestInt(y1), nearestInt(x2), nearestInt(y2));
}

void Box(Surface& s, double x1, double y1, double x2, double y2) {
  s.DrawBox(nearestInt(x1), nearestInt(y1), nearestInt(x2), nearestInt(y2));
}

// The outline of one bar pair: player 2's from x 5 to 105 and player 1's from 795 to 695, the top
// edge at `top`, the bottom edge at top + 5, the sides reaching top + 6.
void BarOutlines(Surface& s, int top) {
  s.DrawLine(5, top, 105, top);
  s.DrawLine(5, top + 5, 105, top + 5);
  s.DrawLine(105, top, 105, top + 6);
  s.DrawLine(5, top, 5, top + 6);
  s.DrawLine(795, top, 695, top);
  s.DrawLine(795, top + 5, 695, top + 5);
  s.DrawLine(695, top, 695, top + 6);
  s.DrawLine(795, top, 795, top + 6);
}

void DrawStars(GameWindow& w, double z) {
  const double count = std::min(w.options.starCount, static_cast<double>(kMaxStars));
  for (int i = 1; i <= count; ++i) {
    const double d = w.stars.depth[i];
    // The star's colour is the background's pixel at (d + 6, 5), one of the three at x 7..9.
    const Rect src{nearestInt(d + 6), 5, nearestInt(d + 7), 6};
    const int x = nearestInt(400 + d * w.stars.x[i] * z / 200);
    const int y = nearestInt(300 + d * w.stars.y[i] * z / 200);
    w.back.BltFast(x, y, w.background, src, false);
  }
}

void DrawTrail(GameWindow& w) {
  TrailPool& t = w.trail;
  for (int i = 0; i <= 100; ++i) {
    if (!(t.life[i] > 0)) continue;
    t.life[i] -= 1;
    t.x[i] += t.vx[i] * w.zoom / 100;
    t.y[i] += t.vy[i] * w.zoom / 100;
    // Dots fade from yellow through red to black; a dot that has just died is drawn black once more.
    w.back.SetForeColor(Part(std::min(255.0, t.life[i] * 100)), Part(std::min(255.0, t.life[i] * 50)), 0);
    Line(w.back, t.x[i], t.y[i], t.x[i] + 1, t.y[i] + 1);
  }
}

void DrawShots(GameWindow& w) {
  ShotPool& s = w.shots;
  for (int i = 0; i <= 100; ++i) {
    if (!(s.life[i] > 0)) continue;
    if (s.life[i] < 200) {
      // A flying shot: a streak as long as one frame's travel behind it.
      if (s.kind[i] == 0) w.back.SetForeColor(255, 0, 0);
      else if (s.kind[i] == 1) w.back.SetForeColor(0, 255, 0);
      else if (s.kind[i] == 2) w.back.SetForeColor(0, 0, 255);
      Line(w.back, s.x[i], s.y[i], s.x[i] - s.vx[i] * w.zoom / 100, s.y[i] - s.vy[i] * w.zoom / 100);
    }
    if (s.life[i] > 400) {
      // A shot that has hit: one pixel where it landed, shown until its life falls below 485.
      if (s.life[i] < 485) s.life[i] = 0;
      if (s.kind[i] < 2) w.back.SetForeColor(255, 225, 0);
      else if (s.kind[i] == 2) w.back.SetForeColor(0, 255, 255);
      Line(w.back, s.x[i], s.y[i], s.x[i] + 1, s.y[i] + 1);
    }
  }
}

void DrawAimMarkers(GameWindow& w) {
  w.back.SetFillSolid(false);
  w.back.SetForeColor(255, 255, 255);
  for (const ShipState& s : w.ship) {
    if (!s.alive) continue;
    const double a = s.heading * (360.0 / 32) * (3.14 / 180) - 3.14 / 2;
    w.back.DrawCircle(nearestInt(s.x + 50 * std::cos(a)), nearestInt(s.y + 50 * std::sin(a)), 2);
  }
}

void DrawShieldBars(GameWindow& w) {
  Surface& b = w.back;
  b.SetForeColor(0, 0, 220);
  BarOutlines(b, 5);
  const ShipState& p1 = w.ship[0];
  const ShipState& p2 = w.ship[1];
  b.SetFillColor(0, 0, Part(50 + 205 * p2.shield / (p2.shieldMax + 1)));
  if (p2.shieldMax > 0) Box(b, 5, 5, 5 + p2.shield * (100 / p2.shieldMax), 11);
  b.SetFillColor(0, 0, Part(50 + 205 * p1.shield / (p1.shieldMax + 1)));
  if (p1.shieldMax > 0) Box(b, 795, 5, 795 - p1.shield * (100 / p1.shieldMax), 11);
}

void DrawHullBars(GameWindow& w) {
  Surface& b = w.back;
  b.SetForeColor(220, 0, 0);
  BarOutlines(b, 11);
  const ShipState& p1 = w.ship[0];
  const ShipState& p2 = w.ship[1];
  // A ship without hull has nothing to show, as a ship without shield shows no shield box.
  b.SetFillColor(Part(50 + 205 * p2.hull / (p2.hullMax + 1)), 0, 0);
  if (p2.hullMax > 0) Box(b, 5, 11, 5 + p2.hull * (100 / p2.hullMax), 17);
  b.SetFillColor(Part(50 + 205 * p1.hull / (p1.hullMax + 1)), 0, 0);
  if (p1.hullMax > 0) Box(b, 795, 11, 795 - p1.hull * (100 / p1.hullMax), 17);
}

void DrawEnergyBars(GameWindow& w) {
  Surface& b = w.back;
  b.SetForeColor(0, 220, 0);
  BarOutlines(b, 17);
  const ShipState& p1 = w.ship[0];
  const ShipState& p2 = w.ship[1];
  b.SetFillColor(0, Part(50 + 205 * p2.energy / 100), 0);
  Box(b, 5, 17, 5 + p2.energy, 23);
  b.SetFillColor(0, Part(50 + 205 * p1.energy / 100), 0);
  Box(b, 795, 17, 795 - p1.energy, 23);
}

void DrawPowerMarks(GameWindow& w) {
  Surface& b = w.back;
  b.SetForeColor(255, 255, 255);
  b.SetFillColor(255, 255, 255);
  // A white square beside the energy bar (balanced), the hull bar (weapons) or the shield bar (shields).
  const int p2 = w.ship[1].powerRedir, p1 = w.ship[0].powerRedir;
  b.DrawBox(107, 22 - 6 * p2, 112, 17 - 6 * p2);
  b.DrawBox(693, 22 - 6 * p1, 688, 17 - 6 * p1);
}

}  // namespace

Rect BackgroundSourceRect(double zoom) {
  return Rect{nearestInt(2 * zoom - 50), nearestInt(2 * zoom - 50), nearestInt(850 - 2 * zoom),
              nearestInt(650 - 2 * zoom)};
}

double ZoomForShips(const ShipState& s1, const ShipState& s2) {
  const double dist = std::sqrt((s1.x - s2.x) * (s1.x - s2.x) + (s1.y - s2.y) * (s1.y - s2.y));
  return 50 - dist / 40;
}

Rect ShipScreenRect(const ShipState& s, double zoom) {
  const double h = s.radius * zoom / 100;
  return Rect{nearestInt(s.x - h), nearestInt(s.y - h), nearestInt(s.x + h), nearestInt(s.y + h)};
}

void FramenPiirtely(GameWindow& w, int frame1, int frame2) {
  // 1. Frame pacing starts with the first frame drawn.
  if (w.lastFrameTick == 0 && w.clock) w.lastFrameTick = w.clock->Ticks();

  // 2. The ships' picture frames.
  const Rect source1 = ShipFrameRect(frame1);
  const Rect source2 = ShipFrameRect(frame2);

  // 3. Background, zoomed by the previous frame's zoom: it comes nearer as the ships close in.
  const double z = w.zoom;
  if (w.options.backgroundZoom) {
    w.back.Blt(Rect{0, 0, 800, 600}, w.background, BackgroundSourceRect(z), false);
  } else {
    w.back.BltFast(0, 0, w.background, Rect{0, 0, 800, 600}, false);
  }

  // 4. Stars, streaming outwards as the zoom grows.
  if (w.options.starCount > 0) DrawStars(w, z);

  // 5. Missiles and torpedoes.
  MissileMoves(w);

  // 6. Zoom from the ships' distance, whether or not they are alive.
  w.zoom = ZoomForShips(w.ship[0], w.ship[1]);

  // 7. Ship rectangles, which the hit tests use as well.
  for (ShipState& s : w.ship) s.shipRect = ShipScreenRect(s, w.zoom);

  // 8. Engine trail dots.
  DrawTrail(w);

  // 9. Electrogun arcs, then chaingun bullets and their ricochets.
  ElectroGun(w);
  ChainGun(w);

  // 10. Debris, when the debris option is on.
  if (w.options.debrisOn) Hylsytys(w);

  // 11. Ships.
  if (w.ship[0].alive) w.back.Blt(w.ship[0].shipRect, w.shipPicture[0], source1, true);
  if (w.ship[1].alive) w.back.Blt(w.ship[1].shipRect, w.shipPicture[1], source2, true);

  // 12. Explosions, then flashes.
  Poksista(w);
  Flashit(w);

  // 13. Critical-system levels decay whatever the repair system's state.
  for (int i = 0; i <= 10; ++i) {
    for (ShipState& s : w.ship) {
      if (s.systems[i] > 0) s.systems[i] -= 0.1;
      else s.systems[i] = 0;
    }
  }

  // 14. Shots.
  DrawShots(w);

  // 15. Smoke, then sparks, then flames.
  Savutus(w);
  Kipinat(w);
  Liekit(w);

  // 16. Aim markers.
  if (w.aimMarkers) DrawAimMarkers(w);

  // 17, 18. Shield and hull bars, filled boxes whether or not markers were drawn.
  w.back.SetFillSolid(true);
  DrawShieldBars(w);
  DrawHullBars(w);

  // 19. The damaged-systems lists, then the weapon texts.
  Crits(w);
  WeaponTexts(w);

  // 20, 21. Energy bars and power marks.
  DrawEnergyBars(w);
  DrawPowerMarks(w);
}

}  // namespace quorvex
