#pragma once

// The GL entry points the frame replay calls: those that read back state, besides the ones that
// draw. Loaded from the current context through SDL, as the graphics layer loads its own.
#include <GL/glcorearb.h>
#include <SDL.h>

#define REPLAY_GL_FUNCTIONS(X)                                                         \
  X(PFNGLGETINTEGERVPROC, GetIntegerv)                                                 \
  X(PFNGLGETFLOATVPROC, GetFloatv)                                                     \
  X(PFNGLGETBOOLEANVPROC, GetBooleanv)                                                 \
  X(PFNGLISENABLEDPROC, IsEnabled)                                                     \
  X(PFNGLENABLEPROC, Enable)                                                           \
  X(PFNGLDISABLEPROC, Disable)                                                         \
  X(PFNGLVIEWPORTPROC, Viewport)                                                       \
  X(PFNGLDEPTHRANGEPROC, DepthRange)                                                   \
  X(PFNGLSCISSORPROC, Scissor)                                                         \
  X(PFNGLCLEARCOLORPROC, ClearColor)                                                   \
  X(PFNGLCLEARDEPTHPROC, ClearDepth)                                                   \
  X(PFNGLCLEARSTENCILPROC, ClearStencil)                                               \
  X(PFNGLCLEARPROC, Clear)                                                             \
  X(PFNGLCOLORMASKPROC, ColorMask)                                                     \
  X(PFNGLDEPTHMASKPROC, DepthMask)                                                     \
  X(PFNGLSTENCILMASKPROC, StencilMask)                                                 \
  X(PFNGLDEPTHFUNCPROC, DepthFunc)                                                     \
  X(PFNGLBLENDFUNCSEPARATEPROC, BlendFuncSeparate)                                     \
  X(PFNGLBLENDEQUATIONSEPARATEPROC, BlendEquationSeparate)                             \
  X(PFNGLBLENDCOLORPROC, BlendColor)                                                   \
  X(PFNGLCULLFACEPROC, CullFace)                                                       \
  X(PFNGLFRONTFACEPROC, FrontFace)                                                     \
  X(PFNGLPROVOKINGVERTEXPROC, ProvokingVertex)                                         \
  X(PFNGLFINISHPROC, Finish)                                                           \
  X(PFNGLGENTEXTURESPROC, GenTextures)                                                 \
  X(PFNGLDELETETEXTURESPROC, DeleteTextures)                                           \
  X(PFNGLBINDTEXTUREPROC, BindTexture)                                                 \
  X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                                             \
  X(PFNGLTEXIMAGE2DPROC, TexImage2D)                                                   \
  X(PFNGLTEXPARAMETERIPROC, TexParameteri)                                             \
  X(PFNGLBINDSAMPLERPROC, BindSampler)                                                 \
  X(PFNGLGENBUFFERSPROC, GenBuffers)                                                   \
  X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                                             \
  X(PFNGLBINDBUFFERPROC, BindBuffer)                                                   \
  X(PFNGLBUFFERDATAPROC, BufferData)                                                   \
  X(PFNGLGETBUFFERPARAMETERIVPROC, GetBufferParameteriv)                               \
  X(PFNGLGETBUFFERSUBDATAPROC, GetBufferSubData)                                       \
  X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                                         \
  X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)                                   \
  X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                                         \
  X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray)                         \
  X(PFNGLDISABLEVERTEXATTRIBARRAYPROC, DisableVertexAttribArray)                       \
  X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)                                 \
  X(PFNGLGETVERTEXATTRIBIVPROC, GetVertexAttribiv)                                     \
  X(PFNGLGETVERTEXATTRIBPOINTERVPROC, GetVertexAttribPointerv)                         \
  X(PFNGLDRAWARRAYSPROC, DrawArrays)                                                   \
  X(PFNGLDRAWELEMENTSBASEVERTEXPROC, DrawElementsBaseVertex)                           \
  X(PFNGLCREATESHADERPROC, CreateShader)                                               \
  X(PFNGLSHADERSOURCEPROC, ShaderSource)                                               \
  X(PFNGLCOMPILESHADERPROC, CompileShader)                                             \
  X(PFNGLDELETESHADERPROC, DeleteShader)                                               \
  X(PFNGLGETSHADERIVPROC, GetShaderiv)                                                 \
  X(PFNGLGETSHADERSOURCEPROC, GetShaderSource)                                         \
  X(PFNGLCREATEPROGRAMPROC, CreateProgram)                                             \
  X(PFNGLATTACHSHADERPROC, AttachShader)                                               \
  X(PFNGLLINKPROGRAMPROC, LinkProgram)                                                 \
  X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                                             \
  X(PFNGLUSEPROGRAMPROC, UseProgram)                                                   \
  X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                                               \
  X(PFNGLGETATTACHEDSHADERSPROC, GetAttachedShaders)                                   \
  X(PFNGLGETACTIVEATTRIBPROC, GetActiveAttrib)                                         \
  X(PFNGLGETATTRIBLOCATIONPROC, GetAttribLocation)                                     \
  X(PFNGLBINDATTRIBLOCATIONPROC, BindAttribLocation)                                   \
  X(PFNGLGETACTIVEUNIFORMPROC, GetActiveUniform)                                       \
  X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)                                   \
  X(PFNGLGETUNIFORMFVPROC, GetUniformfv)                                               \
  X(PFNGLGETUNIFORMIVPROC, GetUniformiv)                                               \
  X(PFNGLUNIFORM1FVPROC, Uniform1fv)                                                   \
  X(PFNGLUNIFORM2FVPROC, Uniform2fv)                                                   \
  X(PFNGLUNIFORM3FVPROC, Uniform3fv)                                                   \
  X(PFNGLUNIFORM4FVPROC, Uniform4fv)                                                   \
  X(PFNGLUNIFORM1IVPROC, Uniform1iv)                                                   \
  X(PFNGLUNIFORM2IVPROC, Uniform2iv)                                                   \
  X(PFNGLUNIFORM3IVPROC, Uniform3iv)                                                   \
  X(PFNGLUNIFORM4IVPROC, Uniform4iv)                                                   \
  X(PFNGLUNIFORMMATRIX2FVPROC, UniformMatrix2fv)                                       \
  X(PFNGLUNIFORMMATRIX3FVPROC, UniformMatrix3fv)                                       \
  X(PFNGLUNIFORMMATRIX4FVPROC, UniformMatrix4fv)                                       \
  X(PFNGLGENFRAMEBUFFERSPROC, GenFramebuffers)                                         \
  X(PFNGLDELETEFRAMEBUFFERSPROC, DeleteFramebuffers)                                   \
  X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)                                         \
  X(PFNGLFRAMEBUFFERTEXTURE2DPROC, FramebufferTexture2D)                               \
  X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, FramebufferRenderbuffer)                         \
  X(PFNGLGETFRAMEBUFFERATTACHMENTPARAMETERIVPROC, GetFramebufferAttachmentParameteriv) \
  X(PFNGLGENRENDERBUFFERSPROC, GenRenderbuffers)                                       \
  X(PFNGLDELETERENDERBUFFERSPROC, DeleteRenderbuffers)                                 \
  X(PFNGLBINDRENDERBUFFERPROC, BindRenderbuffer)                                       \
  X(PFNGLRENDERBUFFERSTORAGEPROC, RenderbufferStorage)                                 \
  X(PFNGLBLITFRAMEBUFFERPROC, BlitFramebuffer)                                         \
  X(PFNGLGENQUERIESPROC, GenQueries)                                                   \
  X(PFNGLDELETEQUERIESPROC, DeleteQueries)                                             \
  X(PFNGLBEGINQUERYPROC, BeginQuery)                                                   \
  X(PFNGLENDQUERYPROC, EndQuery)                                                       \
  X(PFNGLGETQUERYOBJECTUI64VPROC, GetQueryObjectui64v)

struct ReplayGl {
#define REPLAY_GL_MEMBER(type, name) type name = nullptr;
  REPLAY_GL_FUNCTIONS(REPLAY_GL_MEMBER)
#undef REPLAY_GL_MEMBER

  // False when the current context lacks one of them.
  bool Load() {
    bool ok = true;
#define REPLAY_GL_LOAD(type, name)                                  \
  name = reinterpret_cast<type>(SDL_GL_GetProcAddress("gl" #name)); \
  ok = ok && name != nullptr;
    REPLAY_GL_FUNCTIONS(REPLAY_GL_LOAD)
#undef REPLAY_GL_LOAD
    return ok;
  }
};
