#pragma once

// The GL entry points the frame replay calls: the graphics layer's own table, and those it needs
// besides (state read back, more uniform forms, timer queries). Loaded from the current context
// through SDL, as the graphics layer loads its own.
#include <GL/glcorearb.h>
#include <SDL.h>

#include "platform/gfx/gl_functions.h"

#define REPLAY_GL_MORE_FUNCTIONS(X)                                                    \
  X(PFNGLGETFLOATVPROC, GetFloatv)                                                     \
  X(PFNGLGETBOOLEANVPROC, GetBooleanv)                                                 \
  X(PFNGLISENABLEDPROC, IsEnabled)                                                     \
  X(PFNGLGETBUFFERPARAMETERIVPROC, GetBufferParameteriv)                               \
  X(PFNGLGETBUFFERSUBDATAPROC, GetBufferSubData)                                       \
  X(PFNGLGETVERTEXATTRIBIVPROC, GetVertexAttribiv)                                     \
  X(PFNGLGETVERTEXATTRIBPOINTERVPROC, GetVertexAttribPointerv)                         \
  X(PFNGLGETSHADERSOURCEPROC, GetShaderSource)                                         \
  X(PFNGLGETATTACHEDSHADERSPROC, GetAttachedShaders)                                   \
  X(PFNGLGETACTIVEATTRIBPROC, GetActiveAttrib)                                         \
  X(PFNGLGETATTRIBLOCATIONPROC, GetAttribLocation)                                     \
  X(PFNGLBINDATTRIBLOCATIONPROC, BindAttribLocation)                                   \
  X(PFNGLGETUNIFORMFVPROC, GetUniformfv)                                               \
  X(PFNGLGETUNIFORMIVPROC, GetUniformiv)                                               \
  X(PFNGLUNIFORM2IVPROC, Uniform2iv)                                                   \
  X(PFNGLUNIFORM3IVPROC, Uniform3iv)                                                   \
  X(PFNGLUNIFORM4IVPROC, Uniform4iv)                                                   \
  X(PFNGLUNIFORMMATRIX2FVPROC, UniformMatrix2fv)                                       \
  X(PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVPROC, GetFramebufferAttachmentParameteriv) \
  X(PFNGLGENQUERIESPROC, GenQueries)                                                   \
  X(PFNGLDELETEQUERIESPROC, DeleteQueries)                                             \
  X(PFNGLBEGINQUERYPROC, BeginQuery)                                                   \
  X(PFNGLENDQUERYPROC, EndQuery)                                                       \
  X(PFNGLGETQUERYOBJECTUI64VPROC, GetQueryObjectui64v)

struct ReplayGl : gfx::GlFunctions {
#define REPLAY_GL_MEMBER(type, name) type name = nullptr;
  REPLAY_GL_MORE_FUNCTIONS(REPLAY_GL_MEMBER)
#undef REPLAY_GL_MEMBER

  // False when the current context lacks one of them.
  bool Load() {
    bool ok = gfx::GlFunctions::Load();
#define REPLAY_GL_LOAD(type, name)                                  \
  name = reinterpret_cast<type>(SDL_GL_GetProcAddress("gl" #name)); \
  ok = ok && name != nullptr;
    REPLAY_GL_MORE_FUNCTIONS(REPLAY_GL_LOAD)
#undef REPLAY_GL_LOAD
    return ok;
  }
};
