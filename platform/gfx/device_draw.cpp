// Drawing: checks a draw against the bound buffers, turns the device state into GL state and a
// program, and issues the GL draw.
#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/gfx/device.h"
#include "platform/gfx/fixed_function.h"
#include "platform/gfx/gl_cache.h"
#include "platform/gfx/shader_program.h"

namespace gfx {

namespace {

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

uint32_t VertexCount(PrimitiveType type, uint32_t primitives) {
  switch (type) {
    case PrimitiveType::PointList:
      return primitives;
    case PrimitiveType::LineList:
      return primitives * 2;
    case PrimitiveType::LineStrip:
      return primitives + 1;
    case PrimitiveType::TriangleList:
      return primitives * 3;
    case PrimitiveType::TriangleStrip:
    case PrimitiveType::TriangleFan:
      return primitives + 2;
  }
  return 0;
}

GLenum Mode(PrimitiveType type) {
  switch (type) {
    case PrimitiveType::PointList:
      return GL_POINTS;
    case PrimitiveType::LineList:
      return GL_LINES;
    case PrimitiveType::LineStrip:
      return GL_LINE_STRIP;
    case PrimitiveType::TriangleList:
      return GL_TRIANGLES;
    case PrimitiveType::TriangleStrip:
      return GL_TRIANGLE_STRIP;
    case PrimitiveType::TriangleFan:
      return GL_TRIANGLE_FAN;
  }
  return GL_TRIANGLES;
}

GLenum BlendFactor(uint32_t blend) {
  switch (blend) {
    case Blend::Zero:
      return GL_ZERO;
    case Blend::SrcColor:
      return GL_SRC_COLOR;
    case Blend::InvSrcColor:
      return GL_ONE_MINUS_SRC_COLOR;
    case Blend::SrcAlpha:
      return GL_SRC_ALPHA;
    case Blend::InvSrcAlpha:
      return GL_ONE_MINUS_SRC_ALPHA;
    case Blend::DestAlpha:
      return GL_DST_ALPHA;
    case Blend::InvDestAlpha:
      return GL_ONE_MINUS_DST_ALPHA;
    case Blend::DestColor:
      return GL_DST_COLOR;
    case Blend::InvDestColor:
      return GL_ONE_MINUS_DST_COLOR;
    case Blend::SrcAlphaSat:
      return GL_SRC_ALPHA_SATURATE;
    case Blend::BlendFactor:
      return GL_CONSTANT_COLOR;
    case Blend::InvBlendFactor:
      return GL_ONE_MINUS_CONSTANT_COLOR;
    default:
      return GL_ONE;
  }
}

GLenum Equation(uint32_t op) {
  switch (op) {
    case BlendOp::Subtract:
      return GL_FUNC_SUBTRACT;
    case BlendOp::RevSubtract:
      return GL_FUNC_REVERSE_SUBTRACT;
    case BlendOp::Min:
      return GL_MIN;
    case BlendOp::Max:
      return GL_MAX;
    default:
      return GL_FUNC_ADD;
  }
}

GLenum DepthFunc(uint32_t cmp) {
  switch (cmp) {
    case Cmp::Never:
      return GL_NEVER;
    case Cmp::Less:
      return GL_LESS;
    case Cmp::Equal:
      return GL_EQUAL;
    case Cmp::Greater:
      return GL_GREATER;
    case Cmp::NotEqual:
      return GL_NOTEQUAL;
    case Cmp::GreaterEqual:
      return GL_GEQUAL;
    case Cmp::Always:
      return GL_ALWAYS;
    default:
      return GL_LEQUAL;
  }
}

// Where the draw goes: whether a depth surface is attached, whether the target is the window
// (whose rows run upwards) and whether the target stores alpha that the format has (-1), stores
// none (0), or stores alpha that the format lacks (1).
struct TargetTraits {
  bool hasDepth = false;
  bool inWindow = false;
  int alpha = -1;
};

PipelineState Pipeline(const DeviceState& s, const TargetTraits& target) {
  const bool hasDepth = target.hasDepth;
  PipelineState p;
  p.blend = s.Get(RenderState::AlphaBlendEnable) != 0;
  uint32_t src = s.Get(RenderState::SrcBlend), dst = s.Get(RenderState::DestBlend);
  if (src == Blend::BothSrcAlpha) src = Blend::SrcAlpha, dst = Blend::InvSrcAlpha;
  if (src == Blend::BothInvSrcAlpha) src = Blend::InvSrcAlpha, dst = Blend::SrcAlpha;
  p.srcColor = p.srcAlpha = BlendFactor(src);
  p.dstColor = p.dstAlpha = BlendFactor(dst);
  p.equation = Equation(s.Get(RenderState::BlendOp));
  p.blendColor = s.Get(RenderState::BlendFactor);
  p.depthTest = hasDepth && s.Get(RenderState::ZEnable) != ZBuffer::False;
  p.depthWrite = s.Get(RenderState::ZWriteEnable) != 0;
  p.depthFunc = DepthFunc(s.Get(RenderState::ZFunc));
  // Targets are stored top row first, so GL sees the winding the scene sees with y downwards:
  // clockwise there is counter-clockwise (front-facing) to GL.
  const uint32_t cull = s.Get(RenderState::CullMode);
  p.cull = cull == Cull::CW || cull == Cull::CCW;
  p.cullFace = (cull == Cull::CW) != target.inWindow ? GL_FRONT : GL_BACK;
  p.colorMask = s.Get(RenderState::ColorWriteEnable) & 15;
  // Alpha the format lacks stays 1; where nothing stores it, its mask bit changes no pixel but
  // a partial mask makes every draw read the target back.
  if (target.alpha == 1) p.colorMask &= 7;
  if (target.alpha == 0) p.colorMask |= 8;
  return p;
}

}  // namespace

HResult Device::DrawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount,
                              CallSite site) {
  return Draw(type, primitiveCount, false, 0, startVertex, site);
}

HResult Device::DrawIndexedPrimitive(PrimitiveType type, int32_t baseVertexIndex,
                                     uint32_t /*minVertexIndex*/, uint32_t /*numVertices*/,
                                     uint32_t startIndex, uint32_t primitiveCount, CallSite site) {
  return Draw(type, primitiveCount, true, baseVertexIndex, startIndex, site);
}

HResult Device::Draw(PrimitiveType type, uint32_t primitiveCount, bool indexed, int32_t baseVertex,
                     uint32_t first, const CallSite& site) {
  lastClear_.reset();
  const char* call = indexed ? "DrawIndexedPrimitive" : "DrawPrimitive";
  const uint32_t count = VertexCount(type, primitiveCount);
  FvfLayout layout = FvfLayout::Decode(state_.fvf);
  layout.TrimTo(streamStride_);
  if (count == 0) {
    return Refuse(kInvalidCall, site, call, [&] {
      return std::to_string(primitiveCount) + " primitives of type " +
             std::to_string(uint32_t(type)) + " use no vertices";
    });
  }
  if (!layout.valid) {
    return Refuse(kInvalidCall, site, call, [&] {
      return "the vertex format " + Hex(state_.fvf) + " with a stride of " +
             std::to_string(streamStride_) + " bytes cannot be drawn";
    });
  }
  if (!stream_) return Refuse(kInvalidCall, site, call, "no vertex buffer is set");
  if (indexed && !indices_) return Refuse(kInvalidCall, site, call, "no index buffer is set");
  if (status_ != Status::Operational) return kOk;
  if (stream_->IsLost() || (indexed && indices_->IsLost()))
    return Refuse(kInvalidCall, site, call, "its buffer was lost with the device");

  // Every vertex the draw reads must lie inside the stream, since GL does not check.
  const uint32_t bufferSize = stream_->storage_.Size();
  const uint32_t vertexSize = uint32_t(layout.size);
  const uint64_t available = streamOffset_ <= bufferSize && bufferSize - streamOffset_ >= vertexSize
                                 ? (bufferSize - streamOffset_ - vertexSize) / streamStride_ + 1
                                 : 0;
  if (!indexed) {
    if (uint64_t(first) + count > available) {
      return Refuse(kInvalidCall, site, call, [&] {
        return "vertices " + std::to_string(first) + " to " + std::to_string(first + count - 1) +
               " pass the " + std::to_string(available) + " of the vertex buffer";
      });
    }
  } else {
    const uint32_t indexSize = indices_->IndexSize();
    const uint32_t indexCount = indices_->storage_.Size() / indexSize;
    if (uint64_t(first) + count > indexCount) {
      return Refuse(kInvalidCall, site, call, [&] {
        return "indices " + std::to_string(first) + " to " + std::to_string(first + count - 1) +
               " pass the " + std::to_string(indexCount) + " of the index buffer";
      });
    }
    auto inside = [&](uint32_t lo, uint32_t hi) {
      return int64_t(lo) + baseVertex >= 0 && int64_t(hi) + baseVertex < int64_t(available);
    };
    const auto [lo, hi] = indices_->storage_.IndexRange(indexSize);
    if (!inside(lo, hi)) {
      // Only the indices of this draw have to fit.
      const uint8_t* p = indices_->storage_.Data().data() + size_t(first) * indexSize;
      uint32_t drawLo = UINT32_MAX, drawHi = 0;
      for (uint32_t i = 0; i < count; ++i) {
        const uint32_t v = indexSize == 2
                               ? uint32_t(p[2 * i] | p[2 * i + 1] << 8)
                               : uint32_t(p[4 * i] | p[4 * i + 1] << 8 | p[4 * i + 2] << 16) |
                                     uint32_t(p[4 * i + 3]) << 24;
        drawLo = std::min(drawLo, v), drawHi = std::max(drawHi, v);
      }
      if (!inside(drawLo, drawHi)) {
        return Refuse(kInvalidCall, site, call, [&] {
          return "indices " + std::to_string(drawLo) + " to " + std::to_string(drawHi) +
                 " with base vertex " + std::to_string(baseVertex) + " pass the " +
                 std::to_string(available) + " vertices of the vertex buffer";
        });
      }
    }
  }

  MakeCurrent();
  if (renderTarget_.Get() == backBuffer_.Get()) FlushBackBufferClear();
  if (!BindTarget(state_.Get(RenderState::ZEnable) != ZBuffer::False)) return kOk;

  // Textures and samplers of the stages.
  uint32_t textured = 0;
  for (int i = 0; i < kMaxTextureStages; ++i) {
    const Texture* t = textures_[i].Get();
    if (t && !t->IsLost() && t->GlName()) {
      textured |= 1u << i;
      t->DefineUnwrittenLevels();
      cache_->BindTexture(i, t->GlName());
      const auto& ss = state_.samplerStates[i];
      const bool mipmapped = t->GetLevelCount() > 1;
      cache_->BindSampler(
          i, cache_->Sampler(
                 ss[uint32_t(SamplerState::AddressU)], ss[uint32_t(SamplerState::AddressV)],
                 ss[uint32_t(SamplerState::MagFilter)], ss[uint32_t(SamplerState::MinFilter)],
                 mipmapped ? ss[uint32_t(SamplerState::MipFilter)] : TextureFilter::None,
                 ss[uint32_t(SamplerState::BorderColor)]));
    } else {
      cache_->BindTexture(i, 0);
    }
  }

  const FfKey key = FfKey::Make(state_, layout, textured);
  const bool ok = program_ ? program_->Use(*this, key.VertexPart(), fixedVertexStage_)
                           : fixedFunction_->Use(key);
  if (!ok) return kFail;

  TargetTraits target;
  target.hasDepth = !targetInWindow_ && depthStencil_ && depthStencil_->GlRenderbuffer();
  target.inWindow = targetInWindow_;
  if (renderTarget_.Get() == backBuffer_.Get() && params_.backBufferFormat != Format::A8R8G8B8)
    target.alpha = targetInWindow_ && windowAlphaBits_ > 0 ? 1 : 0;
  cache_->Apply(Pipeline(state_, target));
  cache_->SetFlatShading(state_.Get(RenderState::ShadeMode) == ShadeMode::Flat);
  const Viewport& v = state_.viewport;
  // GL counts viewport rows from the first stored row: the top of a target, the window's bottom.
  const int y = targetInWindow_ ? int(backBuffer_->Height()) - int(v.y + v.height) : int(v.y);
  cache_->SetViewport(int(v.x), y, int(v.width), int(v.height), v.minZ, v.maxZ);

  // Vertex layout of the stream.
  const GLuint vbo = stream_->storage_.Upload(this);
  gl_.BindBuffer(GL_ARRAY_BUFFER, vbo);
  uint32_t enabled = 0;
  auto attrib = [&](int location, int offset, GLint size, GLenum type, GLboolean normalized) {
    if (offset < 0) return;
    gl_.VertexAttribPointer(GLuint(location), size, type, normalized, GLsizei(streamStride_),
                            reinterpret_cast<const void*>(uintptr_t(streamOffset_) + offset));
    enabled |= 1u << location;
  };
  attrib(kAttribPosition, 0, layout.positionComponents, GL_FLOAT, GL_FALSE);
  attrib(kAttribNormal, layout.normal, 3, GL_FLOAT, GL_FALSE);
  attrib(kAttribDiffuse, layout.diffuse, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE);
  attrib(kAttribSpecular, layout.specular, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE);
  for (int i = 0; i < layout.texCoordSets; ++i)
    attrib(kAttribTexCoord0 + i, layout.texCoord[i], layout.texCoordComponents[i], GL_FLOAT,
           GL_FALSE);
  for (int location = 0; location < kAttribTexCoord0 + kMaxTexCoordSets; ++location) {
    const bool on = (enabled >> location) & 1;
    if (on != bool((enabledAttribs_ >> location) & 1))
      on ? gl_.EnableVertexAttribArray(GLuint(location))
         : gl_.DisableVertexAttribArray(GLuint(location));
  }
  enabledAttribs_ = enabled;

  if (indexed) {
    gl_.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices_->storage_.Upload(this));
    const uint32_t indexSize = indices_->IndexSize();
    gl_.DrawElementsBaseVertex(
        Mode(type), GLsizei(count), indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
        reinterpret_cast<const void*>(uintptr_t(first) * indexSize), baseVertex);
  } else {
    gl_.DrawArrays(Mode(type), GLint(first), GLsizei(count));
  }

  if (logEnabled_) {
    FrameLogEntry e;
    e.primitiveType = type;
    e.primitiveCount = primitiveCount;
    e.vertexCount = count;
    e.indexed = indexed;
    e.first = first;
    e.baseVertex = baseVertex;
    e.indexSize = indexed ? indices_->IndexSize() : 0;
    Log(std::move(e));
  }
  return kOk;
}

}  // namespace gfx
