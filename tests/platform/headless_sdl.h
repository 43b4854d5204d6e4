#pragma once

#include <dlfcn.h>
#include <stdlib.h>

// SDL without a display or a sound card: the offscreen video driver and the dummy audio driver
// (which consumes samples in real time). Call before SDL starts a subsystem.
inline void UseHeadlessSdl() {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  // llvmpipe renders on the calling thread: test pictures are tiny, parallel test programs share
  // few cores, and the leak check at exit then has no driver threads to stop.
  setenv("LP_NUM_THREADS", "0", 0);
  // Mesa's shader disk cache writes from a thread of its own that ends while the leak check
  // stops the world at exit, which now and then crashes the check's tracer.
  setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
  // Mesa's drivers keep one-time allocations they never free. Kept loaded until exit, those stay
  // reachable, so the leak check neither reports them nor trips over an unloaded driver.
  // libGLdispatch (thread-local state, loaded with the GL and EGL dispatch libraries that SDL
  // unloads when its video ends) stays too: once unloaded, its stale thread-local block crashed
  // the leak check's walk over every thread's blocks.
  for (const char* lib : {"libEGL_mesa.so.0", "libglapi.so.0", "libGLdispatch.so.0",
                          "libLLVM-15.so.1", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
                          "/usr/lib/x86_64-linux-gnu/dri/kms_swrast_dri.so"})
    dlopen(lib, RTLD_LAZY | RTLD_NODELETE);
}
