// The appearance's device objects and drawing: frame sequences, effect, glow, quad filling.
#include <algorithm>

#include "core/math/matrix_helpers.h"
#include "core/startup/thread_slots.h"
#include "particles/classic/appearance/particle_appearance.h"
#include "particles/classic/control/particle_system_mech.h"
#include "platform/gfx/image/d3dx_image_types.h"
#include "platform/math/d3dx_math.h"
#include "player/document/doc_res_manager.h"
#include "renderers/light/ds_2d_light.h"

namespace {

constexpr gfx::EffectHandle kBlendTechniques[] = {"BlendNormal", "BlendSum"};

}  // namespace

void ParticleAppearance::LoadTextures() {
  frames.clear();
  DS_DocResManager* document = CurrentDocument();
  if (document == nullptr) return;
  const uint32_t filter = (flags & kFilteredPicture) ? D3DX_DEFAULT : D3DX_FILTER_NONE;
  for (const DS_ImageFileLink& link : picture.Value().links)
    frames.push_back(document->BuildLinkTextures(link, filter));
}

void ParticleAppearance::LoadEffect() {
  DS_DocResManager* document = CurrentDocument();
  effect = document != nullptr ? document->GetEffect(effectLink) : ComRef<gfx::Effect>();
  // Only a glowing appearance needs the blur targets.
  if (glowMode.Value() >= kGlow) glowSurface.FitToRenderContext();
  glowSurface.effect = document != nullptr
                           ? document->GetEffect(DS_HLSLEffectFile(u"glimres.dll", 202))
                           : ComRef<gfx::Effect>();
}

void ParticleAppearance::Tick(double t) {
  frameSpeed.Advance(t);
  spinSpeed.Advance(t);
  const float time = frameSpeed.localTime;
  for (LinkTextureSet& sequence : frames) {
    if (framesBackwards.Value() != 0) {
      sequence.AdvanceFrameBackward(time);
    } else {
      sequence.AdvanceFrame(time);
    }
  }
}

ComRef<gfx::Texture> ParticleAppearance::CurrentFrame() const {
  return frames.empty() ? ComRef<gfx::Texture>() : frames.front().CurrentTexture();
}

void ParticleAppearance::FillBatch(const RoutineParticleList& particles,
                                   ZKW_ParticleSystemMech& mech, float quadSize,
                                   uint8_t batch) const {
  uint32_t quads = 0;
  ZKW_ParticleSystemMech::QuadUVs uvs{};
  DX_V::PCT* v = mech.LockQuadsUnmapped(batch, particles.size(), *this, quads, uvs);
  if (v == nullptr) return;
  const float w = quadSize, h = quadSize * frames.front().aspect;
  const float opacityByte = static_cast<float>(colorSet.opacity.Scaled());
  // Fixed quads are drawn with the particle's own matrix (QuadMatrix answers a copy).
  const bool turned = orientation.Value() != kFixed;
  uint32_t q = 0;
  for (auto it = particles.begin(); it != particles.end() && q < quads; ++it) {
    const RoutineParticle* p = it->Get();
    if (p == nullptr) continue;
    const float life = LifeFraction(*p);
    const float k = SizeAt(*p, life);
    D3DXMATRIX turn;
    if (turned) turn = QuadMatrix(*p, p->velocity);
    const D3DXMATRIX& m = turned ? turn : p->matrix;
    const D3DXVECTOR3 xAxis(w * k, 0, 0), yAxis(0, h * k, 0);
    D3DXVECTOR3 a, b;
    D3DXVec3TransformCoord(&a, &xAxis, &m);
    D3DXVec3TransformCoord(&b, &yAxis, &m);
    WriteParticleQuad(v, p->DrawnCentre(), a * 0.5f, b * 0.5f, p->atlasCell, uvs);
    SetQuadVertexColors(p->colour, OpacityAt(*p, life) * opacityByte, v);
    v += 4;
    ++q;
  }
  mech.UnlockQuads(batch, q, uvs);
}

D3DXMATRIX ParticleAppearance::QuadMatrix(const RoutineParticle& p,
                                          const D3DXVECTOR3& heading) const {
  D3DXMATRIX m = p.matrix;
  const int turn = orientation.Value();
  if (turn == kSpinning) {
    const float angle = spinSpeed.Value() != 0 ? p.spinFactor * spinSpeed.localTime : 0.0f;
    if (angle != 0.0f) {
      D3DXMATRIX r;
      D3DXMatrixRotationZ(&r, angle);
      D3DXMatrixMultiply(&m, &m, &r);
    }
  } else if (turn == kAlongVelocity) {
    D3DXVECTOR3 unit(0, 0, 0);
    if (D3DXVec3LengthSq(&heading) > 0.0f) D3DXVec3Normalize(&unit, &heading);
    D3DXMATRIX r;
    RotationZBetweenVectors(&r, unit.x, unit.y, unit.z, 1.0f, 0.0f, 0.0f);
    D3DXMatrixMultiply(&m, &m, &r);
  }
  return m;
}

void WriteParticleQuad(DX_V::PCT* v, const D3DXVECTOR3& centre, const D3DXVECTOR3& halfA,
                       const D3DXVECTOR3& halfB, const std::array<float, 4>& cell,
                       const ZKW_ParticleSystemMech::QuadUVs& uvs) {
  const D3DXVECTOR3 corners[4] = {centre - halfA + halfB, centre - halfA - halfB,
                                  centre + halfA + halfB, centre + halfA - halfB};
  const float us[4] = {uvs.u0, uvs.u0, uvs.u1, uvs.u1};
  const float vs[4] = {uvs.v0, uvs.v1, uvs.v0, uvs.v1};
  for (int i = 0; i < 4; ++i) {
    v[i].x = corners[i].x;
    v[i].y = corners[i].y;
    v[i].z = corners[i].z;
    v[i].u = us[i] * cell[0] + cell[2];
    v[i].v = vs[i] * cell[1] + cell[3];
  }
}

void ParticleAppearance::Draw(ZKW_ParticleSystemMech& mech, uint8_t batch, DS_2D_Light& renderer) {
  if (!effect || frames.empty() || batch >= mech.batches.size()) return;
  DrawGlow(mech, batch, renderer);
  effect->SetTexture("Texture0", CurrentFrame().Get());
  const int mode = blend.Value();
  const gfx::EffectHandle technique = kBlendTechniques[mode == 1 ? 1 : 0];
  renderer.DrawIndexedColorTexBlend(mech.batches[batch], effect.Get(), technique,
                                    2 * mech.quadCounts[batch]);
}

void ParticleAppearance::DrawGlow(ZKW_ParticleSystemMech& mech, uint8_t batch,
                                  DS_2D_Light& renderer) {
  const int mode = glowMode.Value();
  if (mode < kGlow || !effect || frames.empty()) return;
  // Targets are made when the render context first has a picture size; without them there is
  // no blurred picture, and the glow composed from an unset texture would cover everything.
  if (!glowSurface.HasTargets()) glowSurface.FitToRenderContext();
  if (!glowSurface.HasTargets()) return;
  effect->SetTexture("Texture0", CurrentFrame().Get());
  glowSurface.BeginFirstPass(renderer);
  mech.DrawBatch(effect.Get(), "BlendNormal", batch);
  glowSurface.Apply(renderer, std::clamp(glowPasses.Value(), 0, kMaxBlurRounds));
  const ComRef<gfx::Texture> glow = glowSurface.targetA;
  SetGlowInputs(effect.Get(), glow.Get(), glowColour.Value(), glowBrightness.Scaled());
  if (mode == kScreenGlow) {
    effect->SetTexture("Background", renderer.GetTargetTextureSlot()->Get());
    effect->SetTechnique("DrawGlowScreen");
  } else {
    effect->SetTechnique("DrawGlowNormal");
  }
  renderer.DrawTexWithEffect(renderer.GetBackgroundNode(), effect.Get());
}
