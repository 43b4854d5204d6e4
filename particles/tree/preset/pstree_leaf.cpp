#include "particles/tree/preset/pstree_leaf.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "core/crt_rand.h"
#include "core/float_to_int.h"
#include "core/link/ds_named_file_link.h"
#include "core/param/param_reads.h"
#include "particles/behaviour/particle/colour_transforms.h"
#include "particles/tree/vertex_math.h"
#include "platform/gfx/image/d3dx_image_types.h"
#include "platform/math/d3dx_math.h"
#include "player/document/doc_res_manager.h"
#include "player/resources/zkw_texture_src.h"
#include "renderers/light/ds_2d_light.h"

ZKW_PSTree_Leaf::ZKW_PSTree_Leaf(DS_SafePtr<ZKW_PtclSys_Geometry> geometry)
    : ZKW_PSTree_Node(std::move(geometry)) {}

bool ZKW_PSTree_Leaf::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSTree_Leaf", 5);
  DS_IOF_Virtual& io = archive.io();
  WriteFileLink(archive, blurEffectLink);
  WriteAlerterTextureSRC(archive, texture);
  io.WriteInt32(flipVertical.Value());
  io.WriteInt32(flipHorizontal.Value());
  io.WriteUInt32(size.Value());
  WriteColorSetParams(archive, colours);
  io.WriteInt32(blend.Value());
  io.WriteInt32(glowMode.Value());
  io.WriteUInt32(glowBlurSize.Value());
  io.WriteUInt32(glowColour.Value());
  io.WriteUInt32(glowBrightness.Value());
  io.WriteInt32(glowRepeats.Value());
  WriteGraphSpreadPrm(archive, sizeSpread);
  io.WriteUInt32(stretchDirection.Value());
  io.WriteUInt32(pivotX.Value());
  io.WriteUInt32(pivotY.Value());
  return ZKW_PSTree_Node::Save(archive);
}

void ZKW_PSTree_Leaf::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadEffectLink(archive, blurEffectLink);
  if (version >= 2) {
    ReadAlerterTextureSRC(archive, texture);
  } else {
    // The oldest record holds the picture list of a resource picture and its animation.
    auto pictures = std::make_unique<ZKW_ResIDTex>();
    ReadNamedFileLinkData(archive, *pictures);
    texture.SetValueSilently(
        DS_SafePtr<ZKW_TextureSRC>(std::unique_ptr<ZKW_TextureSRC>(std::move(pictures))));
    ReadChangedUInt32(archive, texture.speed);
    io.ReadInt32(texture.direction.RawValue());
  }
  io.ReadInt32(flipVertical.RawValue());
  io.ReadInt32(flipHorizontal.RawValue());
  io.ReadUInt32(size.RawValue());
  ReadColorSetParams(archive, colours);
  io.ReadInt32(blend.RawValue());
  io.ReadInt32(glowMode.RawValue());
  io.ReadUInt32(glowBlurSize.RawValue());
  io.ReadUInt32(glowColour.RawValue());
  ReadChangedUInt32(archive, glowBrightness);
  io.ReadInt32(glowRepeats.RawValue());
  if (version == 3) {
    ReadChangedUInt32(archive, sizeSpread.value);
    ReadChangedUInt32(archive, sizeSpread.spread);
  } else if (version >= 4) {
    ReadGraphSpreadPrm(archive, sizeSpread);
  }
  if (version >= 3) {
    io.ReadUInt32(stretchDirection.RawValue());
    stretchDirection.Recompute();
  }
  if (version >= 5) {
    ReadChangedUInt32(archive, pivotX);
    ReadChangedUInt32(archive, pivotY);
  } else {
    pivotX.SetValue(50);
    pivotY.SetValue(50);
  }
  ReadNodePart(archive);
}

void ZKW_PSTree_Leaf::SpawnForParent(ParticleHandle parent) {
  for (const ParticleHandle& p : source->SpawnForParent(std::move(parent)))
    AttachTransform<PtclTr_Color>(*p, &colours, crt_rand_unit());
}

unsigned ZKW_PSTree_Leaf::UpdateParticles(float step, const ParticleList&) {
  texture.Advance(step);
  source->UpdateParticles(step);
  return 1;
}

void ZKW_PSTree_Leaf::CreateDeviceObjects() {
  OnTextureChanged();
  glowBlur.FitToRenderContext();
  DS_DocResManager* document = CurrentDocument();
  glowBlur.effect =
      document != nullptr ? document->GetEffect(blurEffectLink) : ComRef<gfx::Effect>();
}

void ZKW_PSTree_Leaf::OnTextureChanged() {
  const ZKW_TextureSRC* pictures = texture.Source();
  if (pictures == nullptr) return;
  texture.LoadFrames(D3DX_FILTER_TRIANGLE);
  texture.MarkTextures();
  source->SetAtlasGrid(static_cast<int>(std::min<uint32_t>(pictures->valueA, INT32_MAX)),
                       static_cast<int>(std::min<uint32_t>(pictures->valueB, INT32_MAX)));
  for (const ParticleHandle& p : source->particles)
    source->DrawAtlasCell(*p);
}

bool ZKW_PSTree_Leaf::HasPicture() const {
  return texture.Source() != nullptr && !texture.frameSets.empty() &&
         texture.frameSets.front().sourceWidth > 0;
}

ParticleQuadBatch* ZKW_PSTree_Leaf::NextBatch(QuadBatches& batches, size_t* index) {
  const size_t at = (*index)++;
  return at < batches.size() ? &batches[at] : nullptr;
}

void ZKW_PSTree_Leaf::FillVertices(QuadBatches& batches, size_t* index) {
  ParticleQuadBatch* batch = NextBatch(batches, index);
  if (batch == nullptr) return;
  // A texture without pictures has no size or coordinates: the batch stays, empty.
  const ParticleList& particles = source->particles;
  const uint32_t quads = batch->Prepare(HasPicture() ? static_cast<uint32_t>(particles.size()) : 0);
  if (quads == 0) return;

  const D3DXMATRIX& r = stretchDirection.Matrix();
  D3DXMATRIX rt;
  D3DXMatrixTranspose(&rt, &r);
  DX_V::PCT2* v = batch->LockVertices();
  if (v == nullptr) return;

  const LinkTextureSet& first = texture.frameSets.front();
  const float opacity = static_cast<float>(colours.opacity.Scaled());
  const float w = static_cast<float>(size.Value());
  const float h = w * first.aspect * static_cast<float>(source->atlasColumns) /
                  static_cast<float>(source->atlasRows);
  D3DXMATRIX t;
  D3DXMatrixTranslation(&t, -w * pivotX.Scaled(), -h * pivotY.Scaled(), -0.0f);
  const D3DXMATRIX tr = t * r;

  float uL = 0.0f, uR = first.usedU, vA = first.usedV, vB = 0.0f;
  if (flipHorizontal.Value() != 0) std::swap(uL, uR);
  if (flipVertical.Value() != 0) std::swap(vA, vB);
  const float us[4] = {uL, uL, uR, uR}, vs[4] = {vA, vB, vA, vB};
  const D3DXVECTOR3 corners[4] = {D3DXVECTOR3(-w / 2, h / 2, 0), D3DXVECTOR3(-w / 2, -h / 2, 0),
                                  D3DXVECTOR3(w / 2, h / 2, 0), D3DXVECTOR3(w / 2, -h / 2, 0)};

  for (uint32_t q = 0; q < quads; ++q, v += 4) {
    const ParticleRecord& p = *particles[q];
    float alpha = p.floats[ParticleRecord::kAlpha];
    if (const ParticleRecord* parentParticle = p.Parent()) alpha *= parentParticle->WorldAlpha();
    const float a = std::min(1.0f, alpha) * opacity;

    unsigned cursor = 1;
    const float s = sizeSpread.FactorAt(crt_rand_unit(), p.floats[ParticleRecord::kLife], &cursor);
    D3DXMATRIX stretch;
    D3DXMatrixScaling(&stretch, s, 1.0f, 1.0f);
    const D3DXMATRIX m = tr * stretch * rt * p.rotationA;
    const D3DXVECTOR3 at = p.WorldPosition();

    const uint32_t argb = PackedVertexColour(a, p.vectors[ParticleRecord::kColour]);
    for (int n = 0; n < 4; ++n) {
      const D3DXVECTOR3 corner =
          TransformedPoint(TransformedPoint(corners[n], m) + at, p.scaleMatrix);
      const float u = p.presetCell[0] * us[n] + p.presetCell[2];
      const float tv = p.presetCell[1] * vs[n] + p.presetCell[3];
      v[n] = DX_V::PCT2{corner.x, corner.y, corner.z, argb, u, tv, u, tv};
    }
  }
  batch->UnlockVertices();
}

const char* ZKW_PSTree_Leaf::BlendTechnique() const {
  static constexpr const char* kTechniques[] = {"BlendNormal", "BlendNormal_AlphaPM", "BlendSum",
                                                "BlendSum"};
  const int premultiplied = texture.Source() != nullptr && texture.Source()->premultiplied ? 1 : 0;
  const int b = blend.Value() == 1 ? 1 : 0;
  return kTechniques[2 * b + premultiplied];
}

void ZKW_PSTree_Leaf::Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
                             int* readerCount) {
  // The target is switched exactly as often as the node announced, whether it can draw or not.
  if (NeedsPictureBelow() != 0) renderer.SwitchTarget(readerCount, false);
  ParticleQuadBatch* batch = NextBatch(batches, index);
  gfx::Effect* effect = TreeEffect();
  if (batch == nullptr || effect == nullptr || !HasPicture()) return;
  GlowPass(*batch, effect, renderer);
  effect->SetTexture("Texture0", texture.CurrentTexture().Get());
  batch->Draw(effect, BlendTechnique(), false);
}

void ZKW_PSTree_Leaf::GlowPass(ParticleQuadBatch& batch, gfx::Effect* effect,
                               DS_2D_Light& renderer) {
  // Without blur targets there is no blurred picture: the glow is left out.
  if (glowMode.Value() <= 0 || !glowBlur.HasTargets()) return;
  effect->SetTexture("Texture0", texture.CurrentTexture().Get());
  glowBlur.BeginFirstPass(renderer);
  // The quads go into the glow with the leaf's own blend, not whatever the effect last drew.
  batch.Draw(effect, BlendTechnique(), false);
  glowBlur.Apply(renderer, std::clamp(glowRepeats.Value(), 0, kMaxBlurRounds));
  gfx::Texture* blurred = glowBlur.targetA.Get();
  SetGlowInputs(effect, blurred, glowColour.Value(), glowBrightness.Scaled());
  effect->SetTexture("Texture0", blurred);
  if (glowMode.Value() > 1 && renderer.HasPictureBelow()) {
    ComRef<gfx::Texture>* below = renderer.GetTargetTextureSlot();
    effect->SetTexture("Background", below != nullptr ? below->Get() : nullptr);
    effect->SetTechnique("DrawGlowScreen");
  } else {
    effect->SetTechnique("DrawGlowNormal");
  }
  renderer.DrawTexWithEffect(renderer.GetBackgroundNode(), effect);
}
