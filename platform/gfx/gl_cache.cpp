#include "platform/gfx/gl_cache.h"

namespace gfx {

GlCache::GlCache(const GlFunctions& gl) : gl_(gl) {
  gl_.GenVertexArrays(1, &vao_);
  gl_.BindVertexArray(vao_);
}

GlCache::~GlCache() {
  for (auto& [key, fbo] : framebuffers_)
    gl_.DeleteFramebuffers(1, &fbo);
  for (auto& [key, sampler] : samplers_)
    gl_.DeleteSamplers(1, &sampler);
  gl_.BindVertexArray(0);
  gl_.DeleteVertexArrays(1, &vao_);
}

GLuint GlCache::Framebuffer(GLuint colorTexture, GLint level, GLuint colorRenderbuffer,
                            GLuint depthRenderbuffer) {
  const auto key = std::make_tuple(colorTexture, level, colorRenderbuffer, depthRenderbuffer);
  if (auto it = framebuffers_.find(key); it != framebuffers_.end()) return it->second;
  GLuint fbo = 0;
  gl_.GenFramebuffers(1, &fbo);
  gl_.BindFramebuffer(GL_FRAMEBUFFER, fbo);
  fbo_ = fbo;
  if (colorTexture)
    gl_.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture,
                             level);
  else
    gl_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                colorRenderbuffer);
  if (depthRenderbuffer)
    gl_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                depthRenderbuffer);
  if (gl_.CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
    gl_.BindFramebuffer(GL_FRAMEBUFFER, 0);
    gl_.DeleteFramebuffers(1, &fbo);
    fbo_ = 0;
    return 0;
  }
  framebuffers_.emplace(key, fbo);
  return fbo;
}

void GlCache::BindFramebuffer(GLuint fbo) {
  if (fbo_ == fbo) return;
  gl_.BindFramebuffer(GL_FRAMEBUFFER, fbo);
  fbo_ = fbo;
}

namespace {

GLint Address(uint32_t mode) {
  switch (mode) {
    case TextureAddress::Mirror:
      return GL_MIRRORED_REPEAT;
    case TextureAddress::Clamp:
      return GL_CLAMP_TO_EDGE;
    case TextureAddress::Border:
      return GL_CLAMP_TO_BORDER;
    default:
      return GL_REPEAT;
  }
}

}  // namespace

GLuint GlCache::Sampler(uint32_t addressU, uint32_t addressV, uint32_t magFilter,
                        uint32_t minFilter, uint32_t mipFilter, uint32_t borderColor) {
  const auto key =
      std::make_tuple(addressU, addressV, magFilter, minFilter, mipFilter, borderColor);
  if (auto it = samplers_.find(key); it != samplers_.end()) return it->second;
  GLuint s = 0;
  gl_.GenSamplers(1, &s);
  gl_.SamplerParameteri(s, GL_TEXTURE_WRAP_S, Address(addressU));
  gl_.SamplerParameteri(s, GL_TEXTURE_WRAP_T, Address(addressV));
  const bool magLinear = magFilter == TextureFilter::Linear;
  const bool minLinear = minFilter == TextureFilter::Linear;
  gl_.SamplerParameteri(s, GL_TEXTURE_MAG_FILTER, magLinear ? GL_LINEAR : GL_NEAREST);
  GLint min = minLinear ? GL_LINEAR : GL_NEAREST;
  if (mipFilter == TextureFilter::Point)
    min = minLinear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
  else if (mipFilter == TextureFilter::Linear)
    min = minLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
  gl_.SamplerParameteri(s, GL_TEXTURE_MIN_FILTER, min);
  const float border[4] = {((borderColor >> 16) & 0xFF) / 255.0f,
                           ((borderColor >> 8) & 0xFF) / 255.0f, (borderColor & 0xFF) / 255.0f,
                           (borderColor >> 24) / 255.0f};
  gl_.SamplerParameterfv(s, GL_TEXTURE_BORDER_COLOR, border);
  samplers_.emplace(key, s);
  return s;
}

void GlCache::BindTexture(int unit, GLuint texture) {
  if (boundTextures_[unit] == texture) return;
  gl_.ActiveTexture(GL_TEXTURE0 + unit);
  gl_.BindTexture(GL_TEXTURE_2D, texture);
  boundTextures_[unit] = texture;
}

void GlCache::BindSampler(int unit, GLuint sampler) {
  if (boundSamplers_[unit] == sampler) return;
  gl_.BindSampler(unit, sampler);
  boundSamplers_[unit] = sampler;
}

void GlCache::UseProgram(GLuint program) {
  if (program_ == program) return;
  gl_.UseProgram(program);
  program_ = program;
}

void GlCache::Apply(const PipelineState& s) {
  const bool all = !known_;
  const PipelineState& a = applied_;
  auto toggle = [&](GLenum cap, bool on) { on ? gl_.Enable(cap) : gl_.Disable(cap); };
  if (all || s.blend != a.blend) toggle(GL_BLEND, s.blend);
  if (all || s.srcColor != a.srcColor || s.dstColor != a.dstColor || s.srcAlpha != a.srcAlpha ||
      s.dstAlpha != a.dstAlpha)
    gl_.BlendFuncSeparate(s.srcColor, s.dstColor, s.srcAlpha, s.dstAlpha);
  if (all || s.equation != a.equation) gl_.BlendEquationSeparate(s.equation, s.equation);
  if (all || s.blendColor != a.blendColor) {
    const uint32_t c = s.blendColor;
    gl_.BlendColor(((c >> 16) & 0xFF) / 255.0f, ((c >> 8) & 0xFF) / 255.0f, (c & 0xFF) / 255.0f,
                   (c >> 24) / 255.0f);
  }
  if (all || s.depthTest != a.depthTest) toggle(GL_DEPTH_TEST, s.depthTest);
  if (all || s.depthWrite != a.depthWrite) gl_.DepthMask(s.depthWrite ? GL_TRUE : GL_FALSE);
  if (all || s.depthFunc != a.depthFunc) gl_.DepthFunc(s.depthFunc);
  if (all || s.cull != a.cull) toggle(GL_CULL_FACE, s.cull);
  if (all || s.cullFace != a.cullFace) gl_.CullFace(s.cullFace);
  if (all || s.colorMask != a.colorMask)
    gl_.ColorMask(s.colorMask & 1, (s.colorMask >> 1) & 1, (s.colorMask >> 2) & 1,
                  (s.colorMask >> 3) & 1);
  applied_ = s;
  known_ = true;
}

void GlCache::SetViewport(int x, int y, int width, int height, float minZ, float maxZ) {
  const std::array<float, 6> v{float(x), float(y), float(width), float(height), minZ, maxZ};
  if (v == viewport_) return;
  gl_.Viewport(x, y, width, height);
  gl_.DepthRange(minZ, maxZ);
  viewport_ = v;
}

void GlCache::SetFlatShading(bool flatFirst) {
  if (flat_ == int(flatFirst)) return;
  gl_.ProvokingVertex(flatFirst ? GL_FIRST_VERTEX_CONVENTION : GL_LAST_VERTEX_CONVENTION);
  flat_ = flatFirst;
}

void GlCache::ForgetTexture(GLuint texture) {
  for (auto it = framebuffers_.begin(); it != framebuffers_.end();) {
    if (std::get<0>(it->first) == texture) {
      if (fbo_ == it->second) BindFramebuffer(0);
      gl_.DeleteFramebuffers(1, &it->second);
      it = framebuffers_.erase(it);
    } else {
      ++it;
    }
  }
  for (GLuint& bound : boundTextures_)
    if (bound == texture) bound = ~0u;  // unknown: rebind before the next use
}

void GlCache::ForgetRenderbuffer(GLuint renderbuffer) {
  for (auto it = framebuffers_.begin(); it != framebuffers_.end();) {
    if (std::get<2>(it->first) == renderbuffer || std::get<3>(it->first) == renderbuffer) {
      if (fbo_ == it->second) BindFramebuffer(0);
      gl_.DeleteFramebuffers(1, &it->second);
      it = framebuffers_.erase(it);
    } else {
      ++it;
    }
  }
}

void GlCache::ForgetProgram(GLuint program) {
  if (program_ == program) program_ = ~0u;
}

void GlCache::Invalidate() {
  known_ = false;
  boundTextures_.fill(~0u);
  boundSamplers_.fill(~0u);
  program_ = ~0u;
  fbo_ = ~0u;
  viewport_.fill(-1);
  flat_ = -1;
}

}  // namespace gfx
