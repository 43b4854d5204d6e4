#include "objects/sprites/generators/ds_smoke.h"

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "platform/math/d3dx_math.h"

bool DS_Smoke::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_Smoke", kVersion);
  archive.io().WriteUInt32(wind.Value());
  return DS_ParticleOriginGenerator::Save(archive);
}

bool DS_Smoke::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadChangedUInt32(archive, wind);
  return DS_ParticleOriginGenerator::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleGenerator> DS_Smoke::Clone() const {
  return std::make_unique<DS_Smoke>(*this);
}

void DS_Smoke::AttachRuntimeObject(DS_ParticlesObj& obj) {
  DS_StaticGenerator::AttachRuntimeObject(obj);
  obj.SetLayerCount(1);
  for (int i = 0; i < 100; ++i)
    StepOrigins(0.05f);
}

void DS_Smoke::Update(float t, DS_ParticlesObj& obj) {
  StepOrigins(Step(ownSpeed, t));
  FillLayer(obj);
}

ParticleOrigin DS_Smoke::NewOrigin() {
  const float life = originLife.Scaled();
  const float v = timing.TimelineValue();
  const float r = crt_rand_unit();
  ParticleOrigin puff = DS_ParticleOriginGenerator::NewOrigin();
  puff.acceleration = D3DXVECTOR3(wind.Scaled(), 0.0f, 0.0f);
  puff.SetBehaviours({{OriginMove, {}},
                      {OriginGrow, {RatioOr0(1.0f, life), 0.0f}},
                      {OriginFadeIn, {v * 5.0f, life * 0.8f}},
                      {OriginFadeOut, {1.0f, life}},
                      {OriginSpin, {r * 100.0f - 50.0f, 0.0f}}});
  puff.size = 0.5f;
  puff.opacity = 0.0f;
  D3DXMATRIX turn;
  D3DXMatrixRotationZ(&turn, crt_rand_unit() * 360.0f * 3.1415927f / 180.0f);
  const D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0);
  D3DXVec3TransformCoord(&puff.axis1, &x, &turn);
  D3DXVec3TransformCoord(&puff.axis2, &y, &turn);
  return puff;
}

void DS_Smoke::FillLayer(DS_ParticlesObj& obj) {
  const unsigned n = static_cast<unsigned>(std::min<size_t>(origins.size(), kMaxParticlesPerList));
  obj.SetQuadCount(0, n);
  if (n == 0 || !obj.LockLayer(0)) return;
  const float side = static_cast<float>(originSize.Value());
  unsigned i = 0;
  for (const ParticleOrigin& puff : origins) {
    if (i == n) break;
    QuadVertices quad;
    MakeOrientedQuad(quad, puff.position, puff.axis1, puff.axis2, side * puff.size);
    ColourQuad(quad, colour1, puff.opacity);
    obj.WriteQuad(0, i++, quad);
  }
  obj.UnlockLayer(0);
}

void DS_Smoke::Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  RenderSingleLayer(renderer, obj);
}
