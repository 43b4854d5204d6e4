#include "platform/gfx/gl_functions.h"

#include <SDL2/SDL_video.h>

namespace gfx {

bool GlFunctions::Load() {
  bool complete = true;
#define GFX_GL_LOAD(type, name)                                     \
  name = reinterpret_cast<type>(SDL_GL_GetProcAddress("gl" #name)); \
  complete = complete && name != nullptr;
  GFX_GL_FUNCTIONS(GFX_GL_LOAD)
#undef GFX_GL_LOAD
  return complete;
}

}  // namespace gfx
