#include "particles/tree/picture_node.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core/crt_rand.h"
#include "core/float_to_int.h"
#include "core/param/color_set_params.h"
#include "core/param/param_reads.h"
#include "core/scene/scene_services.h"
#include "core/startup/thread_slots.h"
#include "particles/behaviour/particle/particle_transforms.h"
#include "particles/behaviour/physics/exploding_pic.h"
#include "particles/behaviour/physics/point_groups.h"
#include "particles/tree/vertex_math.h"
#include "platform/gfx/image/d3dx_image_types.h"
#include "platform/math/d3dx_math.h"
#include "player/document/doc_res_manager.h"
#include "renderers/light/ds_2d_light.h"

namespace {

D3DXVECTOR3 Direction(const D3DXVECTOR3& v, const D3DXMATRIX& m) {
  D3DXVECTOR3 out;
  D3DXVec3TransformNormal(&out, &v, &m);
  return out;
}

void SetCorner(DX_V::PCT2& v, const D3DXVECTOR3& at, uint32_t colour, float u, float t) {
  v = DX_V::PCT2{at.x, at.y, at.z, colour, u, t, u, t};
}

}  // namespace

ZKW_PtclSysNode_Picture::ZKW_PtclSysNode_Picture() {
  SetPhysics(std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>());
}

uint32_t ZKW_PtclSysNode_Picture::Columns() const {
  const ZKW_TextureSRC* source = texture.Source();
  return source != nullptr ? std::max(source->valueA, 1u) : 1u;
}

uint32_t ZKW_PtclSysNode_Picture::Rows() const {
  const ZKW_TextureSRC* source = texture.Source();
  return source != nullptr ? std::max(source->valueB, 1u) : 1u;
}

bool ZKW_PtclSysNode_Picture::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysNode_Picture", 12);
  DS_IOF_Virtual& io = archive.io();
  WriteFileLink(archive, effectLink);
  WriteAlerterTextureSRC(archive, texture);
  io.WriteUInt32(size.Value());
  io.WriteInt32(flipVertical.Value());
  io.WriteInt32(flipHorizontal.Value());
  WriteColorAlphaParam(archive, colour);
  io.WriteInt32(additive.Value());
  io.WriteInt32(1);
  WriteOptions(archive, options);
  rotation.Save(archive);
  io.WriteInt32(atlasLoop.Value());
  io.WriteInt32(childrenOrder.Value());
  return ZKW_PtclSysNode_Emitter::Save(archive);
}

void ZKW_PtclSysNode_Picture::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadEffectLink(archive, effectLink);
  ReadAlerterTextureSRC(archive, texture);
  io.ReadUInt32(size.RawValue());
  io.ReadInt32(flipVertical.RawValue());
  io.ReadInt32(flipHorizontal.RawValue());
  if (version < 6) {
    ColorSetParams dropped;
    ReadColorSetParams(archive, dropped);
  } else {
    ReadColorAlphaParam(archive, colour);
  }
  if (version >= 4 && version <= 9) ReadGlowOption(archive, options.glow);
  if (version > 4) io.ReadInt32(additive.RawValue());
  if (version >= 10) {
    int32_t ignored = 0;
    io.ReadInt32(ignored);
    io.ReadInt32(ignored);
    ReadGlowOption(archive, options.glow);
    ReadRadialGlowOption(archive, options.radialGlow);
    ReadShadowOption(archive, options.shadow);
    if (version >= 11) {
      ReadBaseHeader(archive);
      ReadAngleSpreadPrm(archive, rotation.angles);
      rotation.ReadFields(archive, ReadBaseHeader(archive));
      io.ReadInt32(atlasLoop.RawValue());
    }
    if (version >= 12) io.ReadInt32(childrenOrder.RawValue());
  } else {
    if (version >= 7) ReadRadialGlowOption(archive, options.radialGlow);
    if (version == 9) ReadShadowOption(archive, options.shadow);
  }
  if (version == 1) {
    ReadPhysics(archive);
    ReadNodePart(archive);
  } else {
    ReadEmitterPart(archive);
  }
}

void ZKW_PtclSysNode_Picture::CreateDeviceObjects() {
  ZKW_PtclSys_Node::CreateDeviceObjects();
  DS_DocResManager* document = CurrentDocument();
  effect = document != nullptr ? document->GetEffect(effectLink) : ComRef<gfx::Effect>();
  OnTextureChanged();
  options.CreateDeviceObjects();
}

void ZKW_PtclSysNode_Picture::OnTextureChanged() {
  if (texture.Source() == nullptr) return;
  texture.LoadFrames(D3DX_FILTER_TRIANGLE);
  texture.MarkTextures();
  if (texture.frameSets.empty()) return;
  const LinkTextureSet& first = texture.frameSets.front();
  if (size.Value() == 0) size.SetValue(first.sourceWidth / Columns());
  axisY.y = static_cast<float>(Columns()) * first.aspect / static_cast<float>(Rows());
}

void ZKW_PtclSysNode_Picture::Reset() {
  ZKW_PtclSysNode_Emitter::Reset();
  texture.speed.localTime = 0.0f;
  texture.speed.step = 0.0f;
  for (LinkTextureSet& set : texture.frameSets)
    set.RestartFrames();
}

int ZKW_PtclSysNode_Picture::UpdateParticles(float step, ParticleList* parents) {
  const int own = options.radialGlow.enabled.Value() != 0 ? 2 : 1;
  return own + StepPicture(step, parents);
}

int ZKW_PtclSysNode_Picture::StepPicture(float step, ParticleList* parents) {
  texture.Advance(step);
  if (physics && NeedsDepthSort()) SortParticlesByDepth(physics->particles);
  MoveAndSpawn(step, parents);
  return ChildBatches(step, parents);
}

void ZKW_PtclSysNode_Picture::InitNewParticle(ParticleHandle& particle) {
  ZKW_PtclSysNode_Emitter::InitNewParticle(particle);
  if (!particle) return;
  ParticleRecord& p = *particle;
  AttachTransform<PtclTr_InheritAge>(p);
  AttachTransform<ZKW_PtclSysEffect<ZKW_PtclSysEffect_Rotation>>(p, rotation);
  const ZKW_TextureSRC* source = texture.Source();
  const uint32_t columns = Columns(), rows = Rows();
  if (source != nullptr && !texture.frameSets.empty() && uint64_t{columns} * rows > 1) {
    if (source->modeParam.Value() == 0) {
      AttachTransform<PtclTr_TexAtlasAnimation>(p, static_cast<int>(columns),
                                                static_cast<int>(rows), &texture.speed, &atlasLoop);
    } else if (source->modeParam.Value() == 1) {
      p.atlasCell[0] = static_cast<float>(static_cast<uint32_t>(crt_rand()) % columns);
      p.atlasCell[2] = static_cast<float>(static_cast<uint32_t>(crt_rand()) % rows);
    }
  }
  p.flags |= ParticleRecord::kRelativeToParent;
  p.birthMatrix = p.WorldMatrix();
}

bool ZKW_PtclSysNode_Picture::CanDraw() const {
  return effect && !texture.frameSets.empty() && texture.frameSets.front().sourceWidth > 0;
}

void ZKW_PtclSysNode_Picture::FillVertices(QuadBatches& batches, size_t* index) {
  if (childrenOrder.Value() == 0) FillChildren(batches, index);
  backgroundFlags = 0;
  if (*index < batches.size()) FillOwnBatch(batches[*index]);
  ++*index;
  if (options.radialGlow.enabled.Value() != 0) {
    const ParticleList empty;
    if (*index < batches.size())
      options.radialGlow.FillQuads(batches[*index], physics ? physics->particles : empty,
                                   static_cast<float>(size.Value()));
    ++*index;
  }
  if (childrenOrder.Value() != 0) FillChildren(batches, index);
}

void ZKW_PtclSysNode_Picture::FillOwnBatch(ParticleQuadBatch& batch) {
  const ParticleList empty;
  const ParticleList& particles = physics && CanDraw() ? physics->particles : empty;
  const uint32_t quads = batch.Prepare(static_cast<uint32_t>(particles.size()));
  if (quads == 0) return;
  DX_V::PCT2* v = batch.LockVertices();
  if (v == nullptr) return;

  const LinkTextureSet& first = texture.frameSets.front();
  const float s = static_cast<float>(size.Value());
  const float columns = static_cast<float>(Columns()), rows = static_cast<float>(Rows());
  const float k = s / static_cast<float>(first.sourceWidth);
  const D3DXVECTOR3 offset = texture.Source()->vectorParam.Value();
  const D3DXVECTOR3 centreOffset(columns * offset.x * k, rows * offset.y * k, offset.z * k);
  const float cw = first.usedU / columns, ch = first.usedV / rows;
  const float opacity = 255.0f - 2.55f * static_cast<float>(colour.alpha.Value());
  const uint32_t rgb = colour.Value();
  const float red = static_cast<float>(rgb & 0xFF), green = static_cast<float>((rgb >> 8) & 0xFF),
              blue = static_cast<float>((rgb >> 16) & 0xFF);

  for (uint32_t q = 0; q < quads; ++q, v += 4) {
    const ParticleRecord& p = *particles[q];
    const D3DXMATRIX world = p.WorldMatrix();
    const D3DXVECTOR3& scale = p.vectors[ParticleRecord::kScaleXYZ];
    const D3DXVECTOR3 a = Direction(axisX * (s * scale.x), world) * 0.5f;
    const D3DXVECTOR3 b = Direction(axisY * (s * scale.y), world) * 0.5f;
    const D3DXVECTOR3 c = TransformedPoint(centreOffset, world);

    float alpha = p.floats[ParticleRecord::kAlpha];
    if (const ParticleRecord* parentParticle = p.Parent()) alpha *= parentParticle->WorldAlpha();
    alpha = std::min(alpha, 1.0f);
    const D3DXVECTOR3& tint = p.vectors[ParticleRecord::kColour];
    const uint32_t argb = VertexChannel(alpha * opacity) << 24 | VertexChannel(red * tint.x) << 16 |
                          VertexChannel(green * tint.y) << 8 | VertexChannel(blue * tint.z);

    const float i = p.atlasCell[0], j = p.atlasCell[2];
    float ua = i * cw + p.texRect[0] * cw, ub = i * cw + p.texRect[1] * cw;
    float va = j * ch + p.texRect[2] * ch, vb = j * ch + p.texRect[3] * ch;
    if (flipHorizontal.Value() != 0) std::swap(ua, ub);
    if (flipVertical.Value() != 0) std::swap(va, vb);
    SetCorner(v[0], c - a + b, argb, ua, vb);
    SetCorner(v[1], c - a - b, argb, ua, va);
    SetCorner(v[2], c + a + b, argb, ub, vb);
    SetCorner(v[3], c + a - b, argb, ub, va);

    if (p.Has(ParticleRecord::kSamplesBackground)) {
      backgroundFlags |= 1;
      const float h = s / 2.0f;
      const D3DXVECTOR3 a2 = Direction(axisX * h, p.birthMatrix);
      const D3DXVECTOR3 b2 = Direction(axisY * h, p.birthMatrix);
      const D3DXVECTOR3 c2 = TransformedPoint(offset * k, p.birthMatrix);
      const D3DXVECTOR3 corners[4] = {c2 - a2 + b2, c2 - a2 - b2, c2 + a2 + b2, c2 + a2 - b2};
      float w = 0.0f, t = 0.0f;
      CurrentTargetSize(w, t);
      for (int n = 0; n < 4; ++n) {
        v[n].u1 = w > 0.0f ? corners[n].x / w : 0.0f;
        v[n].v1 = t > 0.0f ? corners[n].y / t : 0.0f;
      }
    }
  }
  batch.UnlockVertices();
}

void ZKW_PtclSysNode_Picture::Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
                                     int* readerCount) {
  if (childrenOrder.Value() == 0) RenderChildren(batches, index, renderer, readerCount);
  if (*index < batches.size()) DrawOwnBatch(batches[*index], renderer, readerCount);
  ++*index;
  if (options.radialGlow.enabled.Value() != 0) {
    if (*index < batches.size() && CanDraw()) options.radialGlow.Draw(batches[*index]);
    ++*index;
  }
  if (childrenOrder.Value() != 0) RenderChildren(batches, index, renderer, readerCount);
}

void ZKW_PtclSysNode_Picture::DrawOwnBatch(ParticleQuadBatch& batch, DS_2D_Light& renderer,
                                           int* readerCount) {
  // The glow reads the picture below only in modes above 0: the target is switched exactly as
  // often as the node announced, whether or not the node can draw.
  const bool glowOn = options.glow.enabled.Value() != 0;
  const bool readsBelow = glowOn && options.glow.mode.Value() > 0;
  if (!CanDraw()) {
    if (readsBelow) renderer.SwitchTarget(readerCount, false);
    return;
  }
  bool wrap = false;
  for (const DS_SafePtr<ZKW_ParticlSystem_Effect>& e : effects.Value())
    wrap = wrap || (e && e->NeedsWrapAddressing());
  const ComRef<gfx::Texture> frame = texture.CurrentTexture();
  effect->SetTexture("Texture0", frame.Get());
  std::string technique = additive.Value() != 0 ? "BlendSum" : "BlendNormal";
  if ((backgroundFlags & 1) != 0) {
    ComRef<gfx::Texture>* below = renderer.GetTargetTextureSlot();
    effect->SetTexture("Texture1", below != nullptr ? below->Get() : nullptr);
  } else {
    effect->SetTexture("Texture1", frame.Get());
    technique += "_PMTexture";
  }
  options.shadow.Draw(renderer, batch, effect.Get());
  if (readsBelow) renderer.SwitchTarget(readerCount, false);
  // Without blur targets there is no blurred picture: the glow pass is left out.
  if (glowOn && options.glow.blur.HasTargets()) {
    options.glow.blur.BeginFirstPass(renderer);
    batch.Draw(effect.Get(), "BlendNormal_AlphaPM", wrap);
    options.glow.Compose(renderer);
  }
  batch.Draw(effect.Get(), technique.c_str(), wrap);
}

int ZKW_PtclSysNode_Picture::NeedsPictureBelow() const {
  const int own = options.glow.enabled.Value() != 0 && options.glow.mode.Value() > 0 ? 1 : 0;
  return ZKW_PtclSys_Node::NeedsPictureBelow() + own;
}

bool ZKW_PtclSysNode_Blank::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysNode_Blank", 1);
  return ZKW_PtclSysNode_Emitter::Save(archive);
}

void ZKW_PtclSysNode_Blank::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadEmitterPart(archive);
}

void ZKW_PtclSysNode_Blank::FillVertices(QuadBatches& batches, size_t* index) {
  FillChildren(batches, index);
}

void ZKW_PtclSysNode_Blank::Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
                                   int* readerCount) {
  RenderChildren(batches, index, renderer, readerCount);
}

ZKW_PtclSysNodePic_TexDynamic::ZKW_PtclSysNodePic_TexDynamic() = default;

bool ZKW_PtclSysNodePic_TexDynamic::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysNodePic_TexDynamic", 1);
  return ZKW_PtclSysNode_Picture::Save(archive);
}

void ZKW_PtclSysNodePic_TexDynamic::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadPicturePart(archive);
}

ZKW_PtclSysNodePic_Explode::ZKW_PtclSysNodePic_Explode() {
  SetPhysics(std::make_unique<ZKW_PtclSysPhys_ExplodingPic>());
}

bool ZKW_PtclSysNodePic_Explode::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysNodePic_Explode", 1);
  return ZKW_PtclSysNode_Picture::Save(archive);
}

void ZKW_PtclSysNodePic_Explode::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadPicturePart(archive);
}

void ZKW_PtclSysNodePic_Explode::InitNewParticle(ParticleHandle& particle) {
  ZKW_PtclSysNode_Picture::InitNewParticle(particle);
  if (!particle) return;
  ParticleRecord& p = *particle;
  const float h = p.floats[ParticleRecord::kScale] / 2.0f;
  const float x = p.Position().x, y = p.Position().y;
  p.texRect[0] = x + 0.5f - h;
  p.texRect[1] = x + 0.5f + h;
  p.texRect[2] = y + 0.5f - h;
  p.texRect[3] = y + 0.5f + h;
  const float s = static_cast<float>(size.Value());
  p.Position().x *= s * axisX.x;
  p.Position().y *= s * axisY.y;
}
