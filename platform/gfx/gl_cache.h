#pragma once

#include <GL/glcorearb.h>

#include <array>
#include <cstdint>
#include <map>
#include <tuple>

#include "platform/gfx/gl_functions.h"
#include "platform/gfx/states.h"

namespace gfx {

// The fixed-function state that maps to GL pipeline switches.
struct PipelineState {
  bool blend = false;
  GLenum srcColor = GL_ONE, dstColor = GL_ZERO, srcAlpha = GL_ONE, dstAlpha = GL_ZERO;
  GLenum equation = GL_FUNC_ADD;
  uint32_t blendColor = 0xFFFFFFFF;
  bool depthTest = false;
  bool depthWrite = true;
  GLenum depthFunc = GL_LEQUAL;
  bool cull = false;
  GLenum cullFace = GL_BACK;
  uint32_t colorMask = 15;
  friend bool operator==(const PipelineState&, const PipelineState&) = default;
};

// GL objects and bindings the device reuses: the vertex array, framebuffers per attachment
// pair, sampler objects per sampler state, and the last applied bindings and switches, so that
// draws only issue the GL calls that change something.
class GlCache {
 public:
  explicit GlCache(const GlFunctions& gl);
  ~GlCache();  // the device's context must be current
  GlCache(const GlCache&) = delete;
  GlCache& operator=(const GlCache&) = delete;

  GLuint VertexArray() const { return vao_; }

  // A framebuffer with the given colour attachment (texture level, or renderbuffer when
  // colorTexture is 0) and depth-stencil renderbuffer (0 for none); 0 when incomplete.
  GLuint Framebuffer(GLuint colorTexture, GLint level, GLuint colorRenderbuffer,
                     GLuint depthRenderbuffer);
  void BindFramebuffer(GLuint fbo);
  GLuint Sampler(uint32_t addressU, uint32_t addressV, uint32_t magFilter, uint32_t minFilter,
                 uint32_t mipFilter, uint32_t borderColor);

  void BindTexture(int unit, GLuint texture);
  void BindSampler(int unit, GLuint sampler);
  void UseProgram(GLuint program);
  void Apply(const PipelineState& state);
  void SetViewport(int x, int y, int width, int height, float minZ, float maxZ);
  void SetFlatShading(bool flatFirst);

  // Drops cached objects and bindings that refer to a GL object about to be deleted.
  void ForgetTexture(GLuint texture);
  void ForgetRenderbuffer(GLuint renderbuffer);
  void ForgetProgram(GLuint program);
  // The applied switches are no longer known (someone else issued GL calls).
  void Invalidate();

 private:
  const GlFunctions& gl_;
  GLuint vao_ = 0;
  std::map<std::tuple<GLuint, GLint, GLuint, GLuint>, GLuint> framebuffers_;
  std::map<std::tuple<uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t>, GLuint>
      samplers_;
  std::array<GLuint, kMaxTextureStages + 1> boundTextures_{};
  std::array<GLuint, kMaxTextureStages + 1> boundSamplers_{};
  GLuint program_ = 0;
  GLuint fbo_ = 0;
  PipelineState applied_;
  bool known_ = false;
  std::array<float, 6> viewport_{-1, -1, -1, -1, -1, -1};
  int flat_ = -1;
};

}  // namespace gfx
