#pragma once

#include <GL/glcorearb.h>

// The OpenGL 3.3 core entry points the graphics layer calls, loaded from the current context
// through SDL. One table per device; nothing is linked against a GL library directly, so the
// same code runs on a window's context and on the headless EGL context of the tests.
#define GFX_GL_FUNCTIONS(X)                                      \
  X(PFNGLGETSTRINGPROC, GetString)                               \
  X(PFNGLGETINTEGERVPROC, GetIntegerv)                           \
  X(PFNGLGETERRORPROC, GetError)                                 \
  X(PFNGLENABLEPROC, Enable)                                     \
  X(PFNGLDISABLEPROC, Disable)                                   \
  X(PFNGLVIEWPORTPROC, Viewport)                                 \
  X(PFNGLDEPTHRANGEPROC, DepthRange)                             \
  X(PFNGLSCISSORPROC, Scissor)                                   \
  X(PFNGLCLEARCOLORPROC, ClearColor)                             \
  X(PFNGLCLEARDEPTHPROC, ClearDepth)                             \
  X(PFNGLCLEARSTENCILPROC, ClearStencil)                         \
  X(PFNGLCLEARPROC, Clear)                                       \
  X(PFNGLCOLORMASKPROC, ColorMask)                               \
  X(PFNGLDEPTHMASKPROC, DepthMask)                               \
  X(PFNGLSTENCILMASKPROC, StencilMask)                           \
  X(PFNGLDEPTHFUNCPROC, DepthFunc)                               \
  X(PFNGLBLENDFUNCSEPARATEPROC, BlendFuncSeparate)               \
  X(PFNGLBLENDEQUATIONSEPARATEPROC, BlendEquationSeparate)       \
  X(PFNGLBLENDCOLORPROC, BlendColor)                             \
  X(PFNGLCULLFACEPROC, CullFace)                                 \
  X(PFNGLFRONTFACEPROC, FrontFace)                               \
  X(PFNGLPROVOKINGVERTEXPROC, ProvokingVertex)                   \
  X(PFNGLPIXELSTOREIPROC, PixelStorei)                           \
  X(PFNGLFINISHPROC, Finish)                                     \
  X(PFNGLGENTEXTURESPROC, GenTextures)                           \
  X(PFNGLDELETETEXTURESPROC, DeleteTextures)                     \
  X(PFNGLBINDTEXTUREPROC, BindTexture)                           \
  X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                       \
  X(PFNGLTEXIMAGE2DPROC, TexImage2D)                             \
  X(PFNGLTEXSUBIMAGE2DPROC, TexSubImage2D)                       \
  X(PFNGLTEXPARAMETERIPROC, TexParameteri)                       \
  X(PFNGLTEXPARAMETERIVPROC, TexParameteriv)                     \
  X(PFNGLGENERATEMIPMAPPROC, GenerateMipmap)                     \
  X(PFNGLGENSAMPLERSPROC, GenSamplers)                           \
  X(PFNGLDELETESAMPLERSPROC, DeleteSamplers)                     \
  X(PFNGLBINDSAMPLERPROC, BindSampler)                           \
  X(PFNGLSAMPLERPARAMETERIPROC, SamplerParameteri)               \
  X(PFNGLSAMPLERPARAMETERFVPROC, SamplerParameterfv)             \
  X(PFNGLGENBUFFERSPROC, GenBuffers)                             \
  X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                       \
  X(PFNGLBINDBUFFERPROC, BindBuffer)                             \
  X(PFNGLBUFFERDATAPROC, BufferData)                             \
  X(PFNGLBUFFERSUBDATAPROC, BufferSubData)                       \
  X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                   \
  X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)             \
  X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                   \
  X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray)   \
  X(PFNGLDISABLEVERTEXATTRIBARRAYPROC, DisableVertexAttribArray) \
  X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)           \
  X(PFNGLDRAWARRAYSPROC, DrawArrays)                             \
  X(PFNGLDRAWELEMENTSPROC, DrawElements)                         \
  X(PFNGLDRAWELEMENTSBASEVERTEXPROC, DrawElementsBaseVertex)     \
  X(PFNGLCREATESHADERPROC, CreateShader)                         \
  X(PFNGLSHADERSOURCEPROC, ShaderSource)                         \
  X(PFNGLCOMPILESHADERPROC, CompileShader)                       \
  X(PFNGLGETSHADERIVPROC, GetShaderiv)                           \
  X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)                 \
  X(PFNGLDELETESHADERPROC, DeleteShader)                         \
  X(PFNGLCREATEPROGRAMPROC, CreateProgram)                       \
  X(PFNGLATTACHSHADERPROC, AttachShader)                         \
  X(PFNGLLINKPROGRAMPROC, LinkProgram)                           \
  X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                         \
  X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)               \
  X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                       \
  X(PFNGLUSEPROGRAMPROC, UseProgram)                             \
  X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)             \
  X(PFNGLGETACTIVEUNIFORMPROC, GetActiveUniform)                 \
  X(PFNGLUNIFORM1IPROC, Uniform1i)                               \
  X(PFNGLUNIFORM1IVPROC, Uniform1iv)                             \
  X(PFNGLUNIFORM1FVPROC, Uniform1fv)                             \
  X(PFNGLUNIFORM2FVPROC, Uniform2fv)                             \
  X(PFNGLUNIFORM3FVPROC, Uniform3fv)                             \
  X(PFNGLUNIFORM4FVPROC, Uniform4fv)                             \
  X(PFNGLUNIFORMMATRIX3FVPROC, UniformMatrix3fv)                 \
  X(PFNGLUNIFORMMATRIX4FVPROC, UniformMatrix4fv)                 \
  X(PFNGLGENFRAMEBUFFERSPROC, GenFramebuffers)                   \
  X(PFNGLDELETEFRAMEBUFFERSPROC, DeleteFramebuffers)             \
  X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)                   \
  X(PFNGLFRAMEBUFFERTEXTURE2DPROC, FramebufferTexture2D)         \
  X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, FramebufferRenderbuffer)   \
  X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, CheckFramebufferStatus)     \
  X(PFNGLGENRENDERBUFFERSPROC, GenRenderbuffers)                 \
  X(PFNGLDELETERENDERBUFFERSPROC, DeleteRenderbuffers)           \
  X(PFNGLBINDRENDERBUFFERPROC, BindRenderbuffer)                 \
  X(PFNGLRENDERBUFFERSTORAGEPROC, RenderbufferStorage)           \
  X(PFNGLBLITFRAMEBUFFERPROC, BlitFramebuffer)                   \
  X(PFNGLREADBUFFERPROC, ReadBuffer)                             \
  X(PFNGLDRAWBUFFERPROC, DrawBuffer)                             \
  X(PFNGLREADPIXELSPROC, ReadPixels)                             \
  X(PFNGLGETTEXIMAGEPROC, GetTexImage)

namespace gfx {

struct GlFunctions {
#define GFX_GL_MEMBER(type, name) type name = nullptr;
  GFX_GL_FUNCTIONS(GFX_GL_MEMBER)
#undef GFX_GL_MEMBER

  // Loads every entry point from the current context; false when one is missing.
  bool Load();
};

}  // namespace gfx
