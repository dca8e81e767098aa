// Particle effects of the battle: explosions, flashes, smoke, sparks, flames and debris. The creators
// (Luo...) put one particle into the first free slot of its pool and drop it when the pool is full;
// the per-frame procedures age, move and draw every live particle into the back surface.
#pragma once
#include "game/core/GameWindow.h"
#include "platform/Surface.h"

namespace quorvex {

// The raster operation of the effect pictures: a plain copy when transparency effects are off,
// otherwise the picture ORed onto the frame so that fire glows over what lies beneath.
RasterOp EffectRasterOp(const GameOptions& options);

// Creators.
void LuoBoom(GameWindow& w, double x, double y, int size);  // an explosion centred on (x, y)
void LuoFlashi(GameWindow& w, double x, double y);          // a short flash
void LuoSavu(GameWindow& w, double x, double y);            // a smoke puff
void LuoSpark(GameWindow& w, double x, double y, int n);    // n sparks flying off (when sparks are on)
void LuoHylsy(GameWindow& w, double x, double y);           // a piece of debris (when debris is on)

// Per-frame procedures: age, move and draw.
void Flashit(GameWindow& w);
void Savutus(GameWindow& w);
void Kipinat(GameWindow& w);
void Liekit(GameWindow& w);
void Hylsytys(GameWindow& w);
void Poksista(GameWindow& w);  // runs the explosion animation

}  // namespace quorvex
