// The UDP port a network game uses unless the player picks another: the launcher's network window
// and the command line both start from it.
#pragma once
#include <cstdint>

namespace quorvex {

inline constexpr uint16_t kDefaultNetPort = 27960;

}  // namespace quorvex
