#include "platform/Clock.h"

#include <SDL.h>

namespace quorvex {

int32_t SdlClock::Ticks() { return static_cast<int32_t>(SDL_GetTicks()); }

void SdlClock::Sleep(int ms) {
  if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
}

}  // namespace quorvex
