#include <algorithm>
#include <cmath>
#include <memory>

#include "particles/behaviour/particle/particle_record.h"
#include "particles/tree/picture_options.h"
#include "particles/tree/vertex_math.h"
#include "platform/gfx/image/d3dx_image_types.h"
#include "platform/math/d3dx_math.h"
#include "player/document/doc_res_manager.h"
#include "renderers/light/ds_2d_light.h"

namespace {

ComRef<gfx::Effect> BuiltinEffect(uint32_t id) {
  DS_DocResManager* document = CurrentDocument();
  return document != nullptr ? document->GetEffect(DS_HLSLEffectFile(u"glimres.dll", id))
                             : ComRef<gfx::Effect>();
}

// Blur targets of the render context's picture and effect 202 for a glow or shadow surface.
void PrepareBlur(ZKW_BlurSurface& blur) {
  blur.FitToRenderContext();
  blur.effect = BuiltinEffect(202);
}

int ExtraRounds(const MediaParamT<int>& passes) {
  return std::clamp(passes.Value(), 0, kMaxBlurRounds);
}

D3DXVECTOR3 Transformed(const D3DXVECTOR3& v, const D3DXMATRIX& m, bool point) {
  D3DXVECTOR3 out;
  if (point) {
    D3DXVec3TransformCoord(&out, &v, &m);
  } else {
    D3DXVec3TransformNormal(&out, &v, &m);
  }
  return out;
}

}  // namespace

void ZKW_PtclSysOption_Glow::CreateDeviceObjects() {
  PrepareBlur(blur);
}

const char* ZKW_PtclSysOption_Glow::Compose(DS_2D_Light& renderer) {
  blur.Apply(renderer, ExtraRounds(extraPasses));
  const int m = mode.Value();
  const bool overBelow = m >= 1 && m <= 3 && renderer.HasPictureBelow();
  static constexpr const char* kTechniques[] = {"DrawGlowNormal", "DrawGlowScreen",
                                                "DrawGlowColorDodge", "DrawGlowLinearDodge"};
  const char* technique = kTechniques[overBelow ? m : 0];
  gfx::Effect* effect = blur.effect.Get();
  if (effect == nullptr) return technique;
  SetGlowInputs(effect, blur.targetA.Get(), colour.Value(), brightness.Scaled());
  if (overBelow) {
    ComRef<gfx::Texture>* below = renderer.GetTargetTextureSlot();
    effect->SetTexture("Background", below != nullptr ? below->Get() : nullptr);
  }
  effect->SetTechnique(technique);
  renderer.DrawTexWithEffect(renderer.GetBackgroundNode(), effect);
  return technique;
}

void ZKW_PtclSysOption_Shadow::CreateDeviceObjects() {
  PrepareBlur(blur);
}

D3DXVECTOR3 ZKW_PtclSysOption_Shadow::Offset() const {
  unsigned cursor = 1;
  const float d = distance.FactorAt(0.0f, 0.0f, &cursor);
  const float a = angle.Radians();
  return D3DXVECTOR3(d * std::cos(a), -d * std::sin(a), 0.0f);
}

void ZKW_PtclSysOption_Shadow::Draw(DS_2D_Light& renderer, ParticleQuadBatch& batch,
                                    gfx::Effect* pictureEffect) {
  // Without targets (no picture size yet) there is no blurred picture to lay down.
  if (enabled.Value() == 0 || !blur.HasTargets() || !blur.effect) return;
  blur.BeginFirstPass(renderer);
  const D3DXMATRIX world = batch.node.world;
  const D3DXVECTOR3 shift = Offset();
  D3DXMATRIX move;
  D3DXMatrixTranslation(&move, shift.x, shift.y, shift.z);
  batch.node.world = world * move;
  if (pictureEffect != nullptr) batch.Draw(pictureEffect, "BlendNormal_AlphaPM", false);
  batch.node.world = world;
  blur.Apply(renderer, ExtraRounds(extraPasses));
  SetGlowInputs(blur.effect.Get(), blur.targetA.Get(), colour.Value(), brightness.Scaled());
  blur.effect->SetTechnique("DrawGlowNormal");
  renderer.DrawTexWithEffect(renderer.GetBackgroundNode(), blur.effect.Get());
}

void ZKW_PtclSysOption_RadialGlow::CreateDeviceObjects() {
  effect = BuiltinEffect(185);
  OnTextureChanged();
}

void ZKW_PtclSysOption_RadialGlow::OnTextureChanged() {
  if (texture.Source() == nullptr) return;
  texture.LoadFrames(D3DX_FILTER_TRIANGLE);
  texture.MarkTextures();
}

void ZKW_PtclSysOption_RadialGlow::SetTextureSource(std::unique_ptr<ZKW_TextureSRC> source) {
  texture.SetValueSilently(DS_SafePtr<ZKW_TextureSRC>(std::move(source)));
}

void ZKW_PtclSysOption_RadialGlow::FillQuads(
    ParticleQuadBatch& batch, const std::vector<DS_SafePtr<ParticleRecord>>& particles,
    float particleSize) const {
  const uint32_t quads = batch.Prepare(static_cast<uint32_t>(particles.size()));
  if (quads == 0) return;
  DX_V::PCT2* v = batch.LockVertices();
  if (v == nullptr) return;
  const float e = size.Scaled() * particleSize;
  const uint32_t rgb = colour.Value();
  const float opacity = static_cast<float>(colour.alpha.Scaled()) / 255.0f;
  const uint32_t colourBits = UnitChannelByte(static_cast<float>(rgb & 0xFF) / 255.0f) << 16 |
                              UnitChannelByte(static_cast<float>((rgb >> 8) & 0xFF) / 255.0f) << 8 |
                              UnitChannelByte(static_cast<float>((rgb >> 16) & 0xFF) / 255.0f);
  for (uint32_t q = 0; q < quads; ++q, v += 4) {
    const ParticleRecord& p = *particles[q];
    const D3DXMATRIX m = p.WorldMatrix();
    const D3DXVECTOR3 o = Transformed(D3DXVECTOR3(0, 0, 0), m, true);
    const D3DXVECTOR3 x = Transformed(D3DXVECTOR3(e, 0, 0), m, false) * 0.5f;
    const D3DXVECTOR3 y = Transformed(D3DXVECTOR3(0, e, 0), m, false) * 0.5f;
    float alpha = p.floats[ParticleRecord::kAlpha];
    if (const ParticleRecord* parent = p.Parent()) alpha *= parent->WorldAlpha();
    const uint32_t argb = UnitChannelByte(std::min(alpha, 1.0f) * opacity) << 24 | colourBits;
    const D3DXVECTOR3 corners[4] = {o - x + y, o - x - y, o + x + y, o + x - y};
    const float uv[4][2] = {{0, 1}, {0, 0}, {1, 1}, {1, 0}};
    for (int c = 0; c < 4; ++c) {
      v[c].x = corners[c].x;
      v[c].y = corners[c].y;
      v[c].z = corners[c].z;
      v[c].diffuse = argb;
      v[c].u = uv[c][0];
      v[c].v = uv[c][1];
    }
  }
  batch.UnlockVertices();
}

void ZKW_PtclSysOption_RadialGlow::Draw(const ParticleQuadBatch& batch) {
  if (!effect) return;
  effect->SetTexture("Texture0", texture.CurrentTexture().Get());
  batch.Draw(effect.Get(), blend.Value() == 1 ? "BlendSum" : "BlendNormal_AlphaPM", false);
}

void PictureOptions::CreateDeviceObjects() {
  glow.CreateDeviceObjects();
  radialGlow.CreateDeviceObjects();
  shadow.CreateDeviceObjects();
}
