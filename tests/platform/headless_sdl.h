#pragma once

#include <stdlib.h>

// SDL without a display or a sound card: the offscreen video driver and the dummy audio driver
// (which consumes samples in real time). Call before SDL starts a subsystem.
inline void UseHeadlessSdl() {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
}
