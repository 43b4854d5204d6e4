#pragma once

// One frame's GL work, captured while the player draws it and replayed through plain GL calls:
// the same shader programs (copies linked from their sources), uniform values, vertices and
// indices, textures and samplers, target sizes, clears, blending and other switches, in the
// same order, but none of the graphics layer's own work (state translation, uploads, checks,
// copies the frame log does not show). That is the cost floor of the frame's draws.
//
// The capture reads GL's state through the device's frame-log observer, after each draw and
// clear. The replay owns its programs, buffers, vertex array and render targets (the window
// stays the window), so it disturbs nothing of the device but the GL bindings, which the caller
// makes the device forget (Device::ResetGlStateCache) after each use. Pictures are sampled from
// the device's own textures, which the slide keeps while it shows.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/gfx/device.h"
#include "player/replay_gl.h"
#include "process_time.h"

class GlFrameReplay {
 public:
  // Consecutive work on one target: its clears and draws, the pixels its draws wrote (every
  // fragment that passed, overdraw counted) and the processor time of the whole (each call
  // finished before the next), and the pixels and time of each effect and technique in order
  // of use.
  struct Look {
    std::string name;
    uint64_t pixels = 0;
    double seconds = 0;
  };
  struct Pass {
    std::string target;
    uint32_t width = 0, height = 0;
    int clears = 0, draws = 0;
    uint64_t vertices = 0, pixels = 0;
    double seconds = 0;
    std::vector<Look> looks;
  };

  explicit GlFrameReplay(gfx::Device& device) : device_(device) {
    ready_ = gl_.Load();
    if (ready_) gl_.GenVertexArrays(1, &vao_);
  }
  ~GlFrameReplay() {
    Release();
    if (vao_) gl_.DeleteVertexArrays(1, &vao_);
  }
  GlFrameReplay(const GlFrameReplay&) = delete;
  GlFrameReplay& operator=(const GlFrameReplay&) = delete;

  // Records the GL work of what the device draws until EndCapture, in place of any earlier
  // recording. The frame log is on meanwhile.
  void BeginCapture() {
    Release();
    if (!ready_) return;
    device_.EnableFrameLog(true);
    device_.SetFrameLogObserver([this](const gfx::FrameLogEntry& e) { Capture(e); });
  }
  // Stops recording and makes the replay's render targets; false when nothing can be replayed.
  bool EndCapture() {
    device_.SetFrameLogObserver(nullptr);
    device_.EnableFrameLog(false);
    if (!ready_ || ops_.empty()) return false;
    for (Target& t : targets_)
      MakeTarget(t);
    for (Op& op : ops_)
      for (GLuint& texture : op.textures)
        for (const Target& t : targets_)
          if (t.kind == GL_TEXTURE && t.source == texture) texture = t.color;
    return true;
  }

  // The recorded frame, presented and finished.
  void Draw() { Run(nullptr, nullptr); }

  // The recorded frame once more, one call at a time, counting the pixels and the time of
  // each; answers its passes.
  std::vector<Pass> MeasurePasses() {
    std::vector<uint64_t> pixels(ops_.size(), 0);
    std::vector<double> seconds(ops_.size(), 0);
    Run(&pixels, &seconds);
    std::vector<Pass> passes;
    for (size_t i = 0; i < ops_.size(); ++i) {
      const Op& op = ops_[i];
      const Target& t = targets_[op.target];
      if (i == 0 || op.target != ops_[i - 1].target) {
        Pass pass;
        pass.target = t.kind == 0                 ? "window"
                      : t.kind == GL_RENDERBUFFER ? "back buffer"
                                                  : "texture " + std::to_string(op.target);
        pass.width = t.width, pass.height = t.height;
        passes.push_back(pass);
      }
      Pass& pass = passes.back();
      pass.seconds += seconds[i];
      if (op.clear) {
        ++pass.clears;
        continue;
      }
      ++pass.draws;
      pass.vertices += uint64_t(op.count);
      pass.pixels += pixels[i];
      if (pass.looks.empty() || pass.looks.back().name != op.look) pass.looks.push_back({op.look});
      pass.looks.back().pixels += pixels[i];
      pass.looks.back().seconds += seconds[i];
    }
    return passes;
  }

 private:
  struct Target {
    GLenum kind = 0;  // 0 the window, GL_TEXTURE or GL_RENDERBUFFER
    GLuint source = 0;
    uint32_t width = 0, height = 0;
    bool depth = false;
    GLuint color = 0, depthBuffer = 0, fbo = 0;  // the replay's own
  };
  struct Uniform {
    GLint source = -1, own = -1;
    GLenum type = 0;
  };
  struct Program {
    GLuint own = 0;
    std::vector<Uniform> uniforms;
  };
  struct Value {
    GLint location = -1;
    GLenum type = 0;
    std::array<float, 16> f{};
    std::array<GLint, 4> i{};
  };
  struct Attrib {
    GLuint index = 0;
    GLint size = 0;
    GLenum type = 0;
    GLboolean normalized = GL_FALSE;
    GLsizei stride = 0;
    uintptr_t offset = 0;
    GLuint buffer = 0;
  };
  struct Op {
    bool clear = false;
    size_t target = 0;
    std::string look;
    // A clear.
    GLbitfield mask = 0;
    std::array<float, 4> color{};
    float depthValue = 1.0f;
    GLint stencil = 0;
    std::array<GLint, 4> box{};
    // A draw.
    GLuint program = 0;
    std::vector<Value> values;
    std::vector<Attrib> attribs;
    GLuint elements = 0;
    GLenum mode = GL_TRIANGLES, indexType = 0;
    GLsizei count = 0;
    GLint first = 0, baseVertex = 0;
    std::array<GLuint, gfx::kMaxTextureStages> textures{}, samplers{};
    bool blend = false, depthTest = false, cull = false;
    GLboolean depthWrite = GL_TRUE;
    std::array<GLint, 4> blendFunc{}, viewport{};
    std::array<GLint, 2> equation{};
    std::array<float, 4> blendColor{};
    std::array<float, 2> depthRange{};
    GLint depthFunc = GL_LESS, cullFace = GL_BACK, frontFace = GL_CCW, provoking = 0;
    std::array<GLboolean, 4> colorMask{};
  };

  static constexpr GLuint kAttribs = 16;

  static GLenum Mode(gfx::PrimitiveType type) {
    using P = gfx::PrimitiveType;
    switch (type) {
      case P::PointList:
        return GL_POINTS;
      case P::LineList:
        return GL_LINES;
      case P::LineStrip:
        return GL_LINE_STRIP;
      case P::TriangleStrip:
        return GL_TRIANGLE_STRIP;
      case P::TriangleFan:
        return GL_TRIANGLE_FAN;
      default:
        return GL_TRIANGLES;
    }
  }

  // Values a uniform of the type holds, and whether they are floats.
  static std::pair<int, bool> Components(GLenum type) {
    switch (type) {
      case GL_FLOAT:
        return {1, true};
      case GL_FLOAT_VEC2:
        return {2, true};
      case GL_FLOAT_VEC3:
        return {3, true};
      case GL_FLOAT_VEC4:
      case GL_FLOAT_MAT2:
        return {4, true};
      case GL_FLOAT_MAT3:
        return {9, true};
      case GL_FLOAT_MAT4:
        return {16, true};
      case GL_INT_VEC2:
      case GL_BOOL_VEC2:
        return {2, false};
      case GL_INT_VEC3:
      case GL_BOOL_VEC3:
        return {3, false};
      case GL_INT_VEC4:
      case GL_BOOL_VEC4:
        return {4, false};
      default:  // int, bool and samplers
        return {1, false};
    }
  }

  size_t TargetOf(const gfx::FrameLogEntry& e) {
    Target t;
    GLint fbo = 0;
    gl_.GetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &fbo);
    t.width = e.targetWidth, t.height = e.targetHeight;
    if (fbo != 0) {
      GLint type = 0, name = 0, depthType = 0;
      gl_.GetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                              GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
      gl_.GetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                              GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
      gl_.GetFramebufferAttachmentParameteriv(GL_DRAW_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                              GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &depthType);
      t.kind = GLenum(type);
      t.source = GLuint(name);
      t.depth = depthType != GL_NONE;
    }
    for (size_t i = 0; i < targets_.size(); ++i)
      if (targets_[i].kind == t.kind && targets_[i].source == t.source &&
          targets_[i].depth == t.depth)
        return i;
    targets_.push_back(t);
    return targets_.size() - 1;
  }

  void MakeTarget(Target& t) {
    if (t.kind == 0) return;
    if (t.kind == GL_TEXTURE) {
      gl_.GenTextures(1, &t.color);
      gl_.BindTexture(GL_TEXTURE_2D, t.color);
      gl_.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, GLsizei(t.width), GLsizei(t.height), 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, nullptr);
      gl_.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    } else {
      gl_.GenRenderbuffers(1, &t.color);
      gl_.BindRenderbuffer(GL_RENDERBUFFER, t.color);
      gl_.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, GLsizei(t.width), GLsizei(t.height));
    }
    if (t.depth) {
      gl_.GenRenderbuffers(1, &t.depthBuffer);
      gl_.BindRenderbuffer(GL_RENDERBUFFER, t.depthBuffer);
      gl_.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, GLsizei(t.width),
                              GLsizei(t.height));
    }
    gl_.GenFramebuffers(1, &t.fbo);
    gl_.BindFramebuffer(GL_FRAMEBUFFER, t.fbo);
    if (t.kind == GL_TEXTURE)
      gl_.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, t.color, 0);
    else
      gl_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, t.color);
    if (t.depth)
      gl_.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                  t.depthBuffer);
  }

  // A copy of the device's program linked from the same sources with the same attribute
  // locations, and where each of its uniforms lies in both.
  Program& ProgramOf(GLuint source) {
    if (auto it = programs_.find(source); it != programs_.end()) return it->second;
    Program& p = programs_[source];
    p.own = gl_.CreateProgram();
    GLuint shaders[4] = {};
    GLsizei count = 0;
    gl_.GetAttachedShaders(source, 4, &count, shaders);
    for (GLsizei s = 0; s < count; ++s) {
      GLint type = 0, length = 0;
      gl_.GetShaderiv(shaders[s], GL_SHADER_TYPE, &type);
      gl_.GetShaderiv(shaders[s], GL_SHADER_SOURCE_LENGTH, &length);
      std::string text(size_t(std::max(length, 1)), '\0');
      gl_.GetShaderSource(shaders[s], GLsizei(text.size()), nullptr, text.data());
      const GLuint copy = gl_.CreateShader(GLenum(type));
      const char* code = text.c_str();
      gl_.ShaderSource(copy, 1, &code, nullptr);
      gl_.CompileShader(copy);
      gl_.AttachShader(p.own, copy);
      gl_.DeleteShader(copy);
    }
    char name[256];
    GLint active = 0;
    gl_.GetProgramiv(source, GL_ACTIVE_ATTRIBUTES, &active);
    for (GLint a = 0; a < active; ++a) {
      GLint size = 0;
      GLenum type = 0;
      gl_.GetActiveAttrib(source, GLuint(a), sizeof name, nullptr, &size, &type, name);
      const GLint location = gl_.GetAttribLocation(source, name);
      if (location >= 0) gl_.BindAttribLocation(p.own, GLuint(location), name);
    }
    gl_.LinkProgram(p.own);
    gl_.GetProgramiv(source, GL_ACTIVE_UNIFORMS, &active);
    for (GLint u = 0; u < active; ++u) {
      GLint size = 0;
      GLenum type = 0;
      gl_.GetActiveUniform(source, GLuint(u), sizeof name, nullptr, &size, &type, name);
      std::string base = name;
      if (base.size() > 3 && base.ends_with("[0]")) base.resize(base.size() - 3);
      for (GLint k = 0; k < size; ++k) {
        const std::string element = size > 1 ? base + "[" + std::to_string(k) + "]" : base;
        Uniform entry{gl_.GetUniformLocation(source, element.c_str()),
                      gl_.GetUniformLocation(p.own, element.c_str()), type};
        if (entry.source >= 0 && entry.own >= 0) p.uniforms.push_back(entry);
      }
    }
    return p;
  }

  // The replay's own copy of a buffer's whole contents as they are now; equal contents share one.
  GLuint CopyBuffer(GLuint source) {
    if (source == 0) return 0;
    gl_.BindBuffer(GL_COPY_READ_BUFFER, source);
    GLint size = 0;
    gl_.GetBufferParameteriv(GL_COPY_READ_BUFFER, GL_BUFFER_SIZE, &size);
    std::string bytes(size_t(std::max(size, 0)), '\0');
    if (size > 0) gl_.GetBufferSubData(GL_COPY_READ_BUFFER, 0, size, bytes.data());
    const size_t hash = std::hash<std::string_view>()(bytes);
    for (const auto& [key, own] : buffers_)
      if (key.first == hash && key.second == bytes) return own;
    GLuint own = 0;
    gl_.GenBuffers(1, &own);
    gl_.BindBuffer(GL_COPY_WRITE_BUFFER, own);
    gl_.BufferData(GL_COPY_WRITE_BUFFER, size, bytes.data(), GL_STATIC_DRAW);
    buffers_.emplace_back(std::pair{hash, std::move(bytes)}, own);
    return own;
  }

  void Capture(const gfx::FrameLogEntry& e) {
    Op op;
    if (e.kind == gfx::FrameLogEntry::Kind::Clear) {
      if (e.redundant) return;
      op.clear = true;
      op.target = TargetOf(e);
      if (e.clearFlags & gfx::ClearFlags::Target) op.mask |= GL_COLOR_BUFFER_BIT;
      if (e.clearFlags & gfx::ClearFlags::ZBuffer) op.mask |= GL_DEPTH_BUFFER_BIT;
      if (e.clearFlags & gfx::ClearFlags::Stencil) op.mask |= GL_STENCIL_BUFFER_BIT;
      gl_.GetFloatv(GL_COLOR_CLEAR_VALUE, op.color.data());
      gl_.GetFloatv(GL_DEPTH_CLEAR_VALUE, &op.depthValue);
      gl_.GetIntegerv(GL_STENCIL_CLEAR_VALUE, &op.stencil);
      // The clear's rectangle is the scissor box it left behind.
      gl_.GetIntegerv(GL_SCISSOR_BOX, op.box.data());
      ops_.push_back(std::move(op));
      return;
    }
    op.target = TargetOf(e);
    op.look = (e.effect.empty() ? "fixed function" : e.effect) +
              (e.technique.empty() ? "" : "/" + e.technique);
    GLint program = 0;
    gl_.GetIntegerv(GL_CURRENT_PROGRAM, &program);
    const Program& p = ProgramOf(GLuint(program));
    op.program = p.own;
    for (const Uniform& u : p.uniforms) {
      Value v{u.own, u.type};
      if (Components(u.type).second)
        gl_.GetUniformfv(GLuint(program), u.source, v.f.data());
      else
        gl_.GetUniformiv(GLuint(program), u.source, v.i.data());
      op.values.push_back(v);
    }
    for (GLuint index = 0; index < kAttribs; ++index) {
      GLint enabled = 0;
      gl_.GetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
      if (!enabled) continue;
      Attrib a;
      a.index = index;
      GLint value = 0;
      gl_.GetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_SIZE, &a.size);
      gl_.GetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_TYPE, &value);
      a.type = GLenum(value);
      gl_.GetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, &value);
      a.normalized = value ? GL_TRUE : GL_FALSE;
      gl_.GetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &a.stride);
      gl_.GetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &value);
      a.buffer = CopyBuffer(GLuint(value));
      void* pointer = nullptr;
      gl_.GetVertexAttribPointerv(index, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
      a.offset = reinterpret_cast<uintptr_t>(pointer);
      op.attribs.push_back(a);
    }
    op.mode = Mode(e.primitiveType);
    op.count = GLsizei(e.vertexCount);
    if (e.indexed) {
      GLint elements = 0;
      gl_.GetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elements);
      op.elements = CopyBuffer(GLuint(elements));
      op.indexType = e.indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT;
      op.first = GLint(e.first * e.indexSize);
      op.baseVertex = e.baseVertex;
    } else {
      op.first = GLint(e.first);
    }
    GLint unit = 0;
    gl_.GetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    for (int stage = 0; stage < gfx::kMaxTextureStages; ++stage) {
      GLint texture = 0, sampler = 0;
      gl_.ActiveTexture(GLenum(GL_TEXTURE0 + stage));
      gl_.GetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
      gl_.GetIntegerv(GL_SAMPLER_BINDING, &sampler);
      op.textures[size_t(stage)] = GLuint(texture);
      op.samplers[size_t(stage)] = GLuint(sampler);
    }
    gl_.ActiveTexture(GLenum(unit));
    op.blend = gl_.IsEnabled(GL_BLEND);
    gl_.GetIntegerv(GL_BLEND_SRC_RGB, &op.blendFunc[0]);
    gl_.GetIntegerv(GL_BLEND_DST_RGB, &op.blendFunc[1]);
    gl_.GetIntegerv(GL_BLEND_SRC_ALPHA, &op.blendFunc[2]);
    gl_.GetIntegerv(GL_BLEND_DST_ALPHA, &op.blendFunc[3]);
    gl_.GetIntegerv(GL_BLEND_EQUATION_RGB, &op.equation[0]);
    gl_.GetIntegerv(GL_BLEND_EQUATION_ALPHA, &op.equation[1]);
    gl_.GetFloatv(GL_BLEND_COLOR, op.blendColor.data());
    op.depthTest = gl_.IsEnabled(GL_DEPTH_TEST);
    gl_.GetBooleanv(GL_DEPTH_WRITEMASK, &op.depthWrite);
    gl_.GetIntegerv(GL_DEPTH_FUNC, &op.depthFunc);
    op.cull = gl_.IsEnabled(GL_CULL_FACE);
    gl_.GetIntegerv(GL_CULL_FACE_MODE, &op.cullFace);
    gl_.GetIntegerv(GL_FRONT_FACE, &op.frontFace);
    gl_.GetBooleanv(GL_COLOR_WRITEMASK, op.colorMask.data());
    gl_.GetIntegerv(GL_VIEWPORT, op.viewport.data());
    gl_.GetFloatv(GL_DEPTH_RANGE, op.depthRange.data());
    gl_.GetIntegerv(GL_PROVOKING_VERTEX, &op.provoking);
    ops_.push_back(std::move(op));
  }

  void Toggle(GLenum cap, bool on) { on ? gl_.Enable(cap) : gl_.Disable(cap); }

  void SetValue(const Value& v) {
    switch (v.type) {
      case GL_FLOAT:
        return gl_.Uniform1fv(v.location, 1, v.f.data());
      case GL_FLOAT_VEC2:
        return gl_.Uniform2fv(v.location, 1, v.f.data());
      case GL_FLOAT_VEC3:
        return gl_.Uniform3fv(v.location, 1, v.f.data());
      case GL_FLOAT_VEC4:
        return gl_.Uniform4fv(v.location, 1, v.f.data());
      case GL_FLOAT_MAT2:
        return gl_.UniformMatrix2fv(v.location, 1, GL_FALSE, v.f.data());
      case GL_FLOAT_MAT3:
        return gl_.UniformMatrix3fv(v.location, 1, GL_FALSE, v.f.data());
      case GL_FLOAT_MAT4:
        return gl_.UniformMatrix4fv(v.location, 1, GL_FALSE, v.f.data());
      default:
        break;
    }
    switch (Components(v.type).first) {
      case 2:
        return gl_.Uniform2iv(v.location, 1, v.i.data());
      case 3:
        return gl_.Uniform3iv(v.location, 1, v.i.data());
      case 4:
        return gl_.Uniform4iv(v.location, 1, v.i.data());
      default:
        return gl_.Uniform1iv(v.location, 1, v.i.data());
    }
  }

  // Every recorded call in order, then the back buffer into the window when it lay offscreen,
  // the swap and the wait. With `pixels` and `seconds`, each call is finished before the next,
  // its time and its draw's fragments counted into them.
  void Run(std::vector<uint64_t>* pixels, std::vector<double>* seconds) {
    if (ops_.empty()) return;
    std::vector<GLuint> queries;
    gl_.BindVertexArray(vao_);
    const Target* backBuffer = nullptr;
    for (size_t n = 0; n < ops_.size(); ++n) {
      const double start = seconds ? ProcessSeconds() : 0.0;
      const Op& op = ops_[n];
      const Target& t = targets_[op.target];
      if (t.kind == GL_RENDERBUFFER) backBuffer = &t;
      gl_.BindFramebuffer(GL_FRAMEBUFFER, t.fbo);
      if (op.clear) {
        gl_.Enable(GL_SCISSOR_TEST);
        gl_.Scissor(op.box[0], op.box[1], op.box[2], op.box[3]);
        gl_.ClearColor(op.color[0], op.color[1], op.color[2], op.color[3]);
        gl_.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        gl_.ClearDepth(op.depthValue);
        gl_.DepthMask(GL_TRUE);
        gl_.ClearStencil(op.stencil);
        gl_.StencilMask(0xFF);
        gl_.Clear(op.mask);
        gl_.Disable(GL_SCISSOR_TEST);
        if (seconds) {
          gl_.Finish();
          (*seconds)[n] = ProcessSeconds() - start;
        }
        continue;
      }
      gl_.UseProgram(op.program);
      for (const Value& v : op.values)
        SetValue(v);
      uint32_t enabled = 0;
      for (const Attrib& a : op.attribs) {
        gl_.BindBuffer(GL_ARRAY_BUFFER, a.buffer);
        gl_.VertexAttribPointer(a.index, a.size, a.type, a.normalized, a.stride,
                                reinterpret_cast<const void*>(a.offset));
        gl_.EnableVertexAttribArray(a.index);
        enabled |= 1u << a.index;
      }
      for (GLuint index = 0; index < kAttribs; ++index)
        if (!(enabled >> index & 1)) gl_.DisableVertexAttribArray(index);
      for (int stage = 0; stage < gfx::kMaxTextureStages; ++stage) {
        gl_.ActiveTexture(GLenum(GL_TEXTURE0 + stage));
        gl_.BindTexture(GL_TEXTURE_2D, op.textures[size_t(stage)]);
        gl_.BindSampler(GLuint(stage), op.samplers[size_t(stage)]);
      }
      Toggle(GL_BLEND, op.blend);
      gl_.BlendFuncSeparate(GLenum(op.blendFunc[0]), GLenum(op.blendFunc[1]),
                            GLenum(op.blendFunc[2]), GLenum(op.blendFunc[3]));
      gl_.BlendEquationSeparate(GLenum(op.equation[0]), GLenum(op.equation[1]));
      gl_.BlendColor(op.blendColor[0], op.blendColor[1], op.blendColor[2], op.blendColor[3]);
      Toggle(GL_DEPTH_TEST, op.depthTest);
      gl_.DepthMask(op.depthWrite);
      gl_.DepthFunc(GLenum(op.depthFunc));
      Toggle(GL_CULL_FACE, op.cull);
      gl_.CullFace(GLenum(op.cullFace));
      gl_.FrontFace(GLenum(op.frontFace));
      gl_.ColorMask(op.colorMask[0], op.colorMask[1], op.colorMask[2], op.colorMask[3]);
      gl_.Viewport(op.viewport[0], op.viewport[1], op.viewport[2], op.viewport[3]);
      gl_.DepthRange(op.depthRange[0], op.depthRange[1]);
      gl_.ProvokingVertex(GLenum(op.provoking));
      GLuint query = 0;
      if (pixels) {
        gl_.GenQueries(1, &query);
        gl_.BeginQuery(GL_SAMPLES_PASSED, query);
        queries.push_back(query);
      }
      if (op.indexType) {
        gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, op.elements);
        gl_.DrawElementsBaseVertex(op.mode, op.count, op.indexType,
                                   reinterpret_cast<const void*>(uintptr_t(op.first)),
                                   op.baseVertex);
      } else {
        gl_.DrawArrays(op.mode, op.first, op.count);
      }
      if (pixels) {
        gl_.EndQuery(GL_SAMPLES_PASSED);
        (*pixels)[n] = query;  // the query's name until the results are read
      }
      if (seconds) {
        gl_.Finish();
        (*seconds)[n] = ProcessSeconds() - start;
      }
    }
    if (backBuffer) {
      // As Present does: the offscreen back buffer, top row first, into the window.
      const auto w = GLint(backBuffer->width), h = GLint(backBuffer->height);
      gl_.BindFramebuffer(GL_READ_FRAMEBUFFER, backBuffer->fbo);
      gl_.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
      gl_.BlitFramebuffer(0, 0, w, h, 0, h, w, 0, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    }
    SDL_GL_SwapWindow(SDL_GL_GetCurrentWindow());
    gl_.Finish();
    if (pixels) {
      for (size_t n = 0; n < ops_.size(); ++n) {
        if (ops_[n].clear) continue;
        const GLuint query = GLuint((*pixels)[n]);
        gl_.GetQueryObjectui64v(query, GL_QUERY_RESULT, &(*pixels)[n]);
      }
      gl_.DeleteQueries(GLsizei(queries.size()), queries.data());
    }
  }

  void Release() {
    if (!ready_) return;
    for (Target& t : targets_) {
      if (t.fbo) gl_.DeleteFramebuffers(1, &t.fbo);
      if (t.kind == GL_TEXTURE && t.color) gl_.DeleteTextures(1, &t.color);
      if (t.kind == GL_RENDERBUFFER && t.color) gl_.DeleteRenderbuffers(1, &t.color);
      if (t.depthBuffer) gl_.DeleteRenderbuffers(1, &t.depthBuffer);
    }
    for (auto& [source, p] : programs_)
      gl_.DeleteProgram(p.own);
    for (auto& [key, own] : buffers_)
      gl_.DeleteBuffers(1, &own);
    targets_.clear();
    programs_.clear();
    buffers_.clear();
    ops_.clear();
  }

  gfx::Device& device_;
  ReplayGl gl_;
  bool ready_ = false;
  GLuint vao_ = 0;
  std::vector<Target> targets_;
  std::map<GLuint, Program> programs_;
  std::vector<std::pair<std::pair<size_t, std::string>, GLuint>> buffers_;
  std::vector<Op> ops_;
};
