#include "objects/sprites/particle_geom_array.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <utility>

#include "core/crt_rand.h"
#include "core/float_to_int.h"
#include "core/list_limits.h"
#include "core/startup/thread_slots.h"
#include "objects/sprites/ds_base_sprite_prop.h"
#include "platform/math/d3dx_math.h"
#include "player/render/render_context.h"

std::array<D3DXVECTOR3, 4> SpriteCorners(const SpriteRecord& sprite) {
  const D3DXVECTOR3 x = sprite.axis1 * sprite.halfWidth;
  const D3DXVECTOR3 y = sprite.axis2 * sprite.halfHeight;
  const D3DXVECTOR3& p = sprite.centre;
  return {p - x + y, p - x - y, p + x + y, p + x - y};
}

ParticleGeomArray::~ParticleGeomArray() {
  // The controls leave the preset's count before the sprites go.
  callbacks_.Clear();
}

void ParticleGeomArray::BindConstructor(DS_BaseSpriteProp* preset) {
  callbacks_.Clear();
  preset_ = preset;
  if (preset_ != nullptr)
    callbacks_.WatchUnsigned(preset_->count, &ParticleGeomArray::OnCountChanged);
}

uint32_t ParticleGeomArray::CappedCount() const {
  return preset_ != nullptr ? std::min(preset_->count.Value(), kMaxParticlesPerList) : 0;
}

uint32_t ParticleGeomArray::DrawnQuads() const {
  if (preset_ == nullptr) return 0;
  const int wanted = preset_->ParticleCount();
  return wanted > 0 ? std::min(static_cast<uint32_t>(wanted), QuadCapacity()) : 0;
}

SpriteRecord ParticleGeomArray::MakeSprite() const {
  const DS_BaseSpriteProp& p = *preset_;
  SpriteRecord sprite;
  sprite.sizeFactor = p.sizeFactorMin + crt_rand_unit() * (p.sizeFactorMax - p.sizeFactorMin);
  sprite.aspect = p.PictureAspect();
  p.ApplyHalfSize(sprite);
  sprite.colour = p.SpriteColour(1.0f);
  sprite.alphaRate = crt_rand() % 2 == 1 ? -p.pulseRate : p.pulseRate;
  return sprite;
}

void ParticleGeomArray::OnCountChanged(unsigned n) {
  if (preset_ == nullptr) return;
  n = std::min(n, kMaxParticlesPerList);
  if (n != 0) {
    vertices.buffer.Reset();
    Reserve(n);
  }
  if (sprites_.size() > n) sprites_.resize(n);
  sprites_.reserve(n);
  while (sprites_.size() < n) {
    sprites_.push_back(MakeSprite());
    preset_->SpawnParticle(sprites_.back());
  }
}

void ParticleGeomArray::Update(float t) {
  if (preset_ == nullptr) return;
  DS_BaseSpriteProp& p = *preset_;
  p.AdvanceMotionClock(t);
  p.speed.Advance(t);
  // By index: a kind may re-spawn sprites, never change their number here.
  for (size_t i = 0; i < sprites_.size(); ++i)
    p.UpdateParticle(sprites_[i]);
}

void ParticleGeomArray::FillVertices(DS_BaseSpriteProp& source) {
  if (preset_ == nullptr) return;
  DS_BaseSpriteProp& p = *preset_;
  const uint32_t n = std::min<size_t>(CappedCount(), sprites_.size());
  if (vertices.count / 4 != n || n == 0) return;
  DX_V::PCT* v = LockVertices();
  if (v == nullptr) return;
  const bool flipV = p.verticalFlip.Value() != 0, flipH = p.horizontalFlip.Value() != 0;
  const float frames = static_cast<float>(p.FrameCount());
  for (uint32_t i = 0; i < n; ++i, v += 4) {
    const SpriteRecord& sprite = sprites_[i];
    const std::array<D3DXVECTOR3, 4> corners = SpriteCorners(sprite);
    const uint32_t colour = source.ApplyOpacity(sprite.colour);
    float top = sprite.topV, bottom = sprite.bottomV;
    if (flipV) std::swap(top, bottom);
    float leftU = sprite.leftU, rightU = sprite.rightU;
    if (p.frameStrip) {
      // The strip advances at most once per fill: after a change the next sprites find it
      // fresh. A frame rate of 0 never advances it.
      if (p.frameRate != 0.0f && p.motionElapsed - stripChangeTime > 1.0f / p.frameRate) {
        stripFrame = p.NextFrame(stripFrame);
        stripChangeTime = p.motionElapsed;
      } else if (stripChangeTime > p.motionElapsed) {
        stripChangeTime = 0.0f;
      }
      leftU = static_cast<float>(stripFrame) / frames;
      rightU = static_cast<float>(stripFrame + 1) / frames;
    }
    if (flipH) std::swap(leftU, rightU);
    const float u[4] = {leftU, leftU, rightU, rightU};
    const float vv[4] = {bottom, top, bottom, top};
    for (int k = 0; k < 4; ++k)
      v[k] = DX_V::PCT{corners[k].x, corners[k].y, corners[k].z, colour, u[k], vv[k]};
  }
  UnlockVertices();
}

namespace {

int Sign(float value) {
  return value > 0.0f ? 1 : value < 0.0f ? -1 : 0;
}

int Truncated(float value) {
  return SaturatingTruncate<int>(value);
}

}  // namespace

std::string ParticleGeomArray::FrameText() const {
  const RenderContext* context = RenderContextTlsSlot::Get();
  D3DXMATRIX view;
  D3DXMatrixIdentity(&view);
  if (context != nullptr) view = context->view;
  std::ostringstream out;
  out << "[ ";
  const size_t n = std::min<size_t>(CappedCount(), sprites_.size());
  for (size_t i = 0; i < n; ++i) {
    const SpriteRecord& s = sprites_[i];
    const D3DXVECTOR3 corner = SpriteCorners(s)[1];
    D3DXVECTOR4 at(corner.x, corner.y, corner.z, 1.0f);
    D3DXVec4Transform(&at, &at, &view);
    D3DXVECTOR4 extent(2.0f * std::fabs(s.halfWidth), 2.0f * std::fabs(s.halfHeight), 0.0f, 1.0f);
    D3DXVec4Transform(&extent, &extent, &view);
    const float sw = static_cast<float>(Sign(s.halfWidth));
    const float sh = static_cast<float>(Sign(s.halfHeight));
    D3DXMATRIX axes;
    D3DXMatrixIdentity(&axes);
    axes._11 = s.axis1.x * sw, axes._12 = s.axis1.y * sw, axes._13 = s.axis1.z * sw;
    axes._21 = s.axis2.x * sh, axes._22 = s.axis2.y * sh, axes._23 = s.axis2.z * sh;
    D3DXMATRIX inverse;
    D3DXMatrixInverse(&inverse, nullptr, &axes);
    const float alpha = static_cast<float>(preset_->ApplyOpacity(s.colour) >> 24) / 255.0f;
    out << "{x:" << Truncated(at.x) << ",y:" << Truncated(at.y) << ",cx:" << Truncated(extent.x)
        << ",cy:" << Truncated(extent.y) << ",tr:[" << inverse._11 << "," << inverse._12 << ","
        << inverse._13 << "," << inverse._21 << "," << inverse._22 << "," << inverse._23
        << "],a:" << alpha << "},";
  }
  out << " ],";
  return out.str();
}

void ParticleGeomArray::ExportSpriteFrames(SpriteExportState& state, bool last) {
  if (preset_ == nullptr) return;
  const ZKW_Timing* timeline = preset_->timing.Current();
  const int s = timeline != nullptr ? static_cast<int>(timeline->GetState()) : 0;
  state.frames += 1;
  if (state.head.empty()) {
    state.head += "[ [0,1,";
    state.body += "[ ";
    state.body += FrameText();
  } else if (!last) {
    if (preset_->SplitExportBlock(state.frames) || s != exportState) {
      state.body += FrameText();
      state.block += 1;
      state.head += std::to_string(state.frames) + "],[" + std::to_string(state.block) + "," +
                    std::to_string(state.block + 1) + ",";
      state.frames = 0;
    }
  } else {
    state.body += FrameText();
    state.body += " ]";
    state.head += std::to_string(state.frames) + "] ]";
  }
  if (exportState != -1) exportState = s;
}
