#include "particles/classic/kinds/ray_of_light.h"

#include <algorithm>

#include "core/crt_rand.h"
#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/routines/age_routines.h"
#include "particles/classic/routines/motion_routines.h"
#include "particles/classic/routines/value_routines.h"
#include "platform/math/d3dx_math.h"

namespace {

// A jittered value: the value less a random share of up to the jitter percent.
float Jittered(const ZKW_JitterParam& param) {
  const float q = param.jitter.Scaled();
  return param.value.Scaled() * (crt_rand_unit() * (1.0f - q) + q);
}

D3DXVECTOR3 UnitOr0(const D3DXVECTOR3& v) {
  D3DXVECTOR3 out(0, 0, 0);
  if (D3DXVec3LengthSq(&v) > 0.0f) D3DXVec3Normalize(&out, &v);
  return out;
}

void Place(DX_V::PCT& vertex, const D3DXVECTOR3& at, float u, float v) {
  vertex.x = at.x;
  vertex.y = at.y;
  vertex.z = at.z;
  vertex.u = u;
  vertex.v = v;
}

}  // namespace

DS_RayOfLight::DS_RayOfLight() {
  lifetime.value.SetFactor(0.1f);
  drift.value.SetFactor(0.0002f);
}

bool DS_RayOfLight::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_RayOfLight", kVersion);
  DS_IOF_Virtual& io = archive.io();
  WriteMediaQuad(archive, area);
  io.WriteUInt32(count.Value());
  for (const ZKW_JitterParam* param : {&lifetime, &width, &drift}) {
    io.WriteUInt32(param->value.Value());
    io.WriteUInt32(param->jitter.Value());
  }
  io.WriteUInt32(farWidth.Value());
  io.WriteUInt32(head.Value());
  io.WriteUInt32(tail.Value());
  io.WriteUInt32(edgeFade.Value());
  io.WriteInt32(kept.Value());
  return ZKW_ParticleSystemCtrl::Save(archive);
}

bool DS_RayOfLight::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadMediaQuad(archive, area);
  archive.io().ReadUInt32(count.RawValue());
  for (ZKW_JitterParam* param : {&lifetime, &width, &drift}) {
    ReadChangedUInt32(archive, param->value);
    ReadChangedUInt32(archive, param->jitter);
  }
  for (UINTSclaleTo<float>* param : {&farWidth, &head, &tail, &edgeFade})
    ReadChangedUInt32(archive, *param);
  archive.io().ReadInt32(kept.RawValue());
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_RayOfLight::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  AttachWithBatches(runtime, 1);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_RayOfLight::Clone() const {
  return std::make_unique<DS_RayOfLight>(*this);
}

uint32_t DS_RayOfLight::RayCount() const {
  return std::min(count.Value(), kMaxRays);
}

RoutineParticleList DS_RayOfLight::Emit(float) {
  while (particles.size() < RayCount()) {
    auto ray = MakeParticle(D3DXVECTOR3(crt_rand_unit(), 0.0f, 0.0f));
    RoutineParticle& p = *ray;
    const float life = Jittered(lifetime);
    // The opacity rises over the first half of the life and falls over the second; a life of
    // no length has no rate.
    const float rate = RatioOr0(1.0f, life * 0.5f);
    p.AddRoutine(MakeRoutine<IPR_ConstantAge>(life), false);
    p.AddRoutine(MakeRoutine<IPR_Increment>(RoutineParticle::kOpacity, 0.0f, 1.0f, rate), false);
    p.AddRoutine(MakeRoutine<IPR_Increment>(RoutineParticle::kOpacity, life * 0.5f, 1.0f, -rate),
                 false);
    p.AddRoutine(MakeRoutine<IPR_Kinematic>(), false);
    p.ownOpacity = 0.0f;
    p.ownSize = Jittered(width);
    const int side = crt_rand();
    const float v = Jittered(drift);
    p.velocity = D3DXVECTOR3(side % 2 != 0 ? -v : v, 0.0f, 0.0f);
    particles.push_back(std::move(ray));
  }
  return {};
}

void DS_RayOfLight::Update(float t) {
  speed.Advance(t);
  UpdateRoutineParticles(particles, speed.step);
  Advance(speed.step);
  FillQuads();
}

float DS_RayOfLight::EdgeDimming(float a) const {
  const float e = edgeFade.Scaled();
  if (a < e) return RatioOr0(a, e);
  if (a > 1.0f - e) return RatioOr0(1.0f - a, e);
  return 1.0f;
}

void DS_RayOfLight::FillQuads() {
  if (mech == nullptr || mech->batches.empty()) return;
  PCTSpriteArray& batch = mech->batches[0];
  const uint32_t rays = static_cast<uint32_t>(std::min<size_t>(particles.size(), kMaxRays));
  if (batch.QuadCapacity() < rays * 3) {
    batch.vertices.buffer.Reset();
    batch.Reserve(rays * 3);
  }
  mech->quadCounts[0] = 0;
  DX_V::PCT* v = batch.LockVertices();
  if (v == nullptr) return;
  const LinkTextureSet* frames = appearance.frames.empty() ? nullptr : &appearance.frames[0];
  const float uMax = frames != nullptr ? frames->usedU : 1.0f;
  const float vMax = frames != nullptr ? frames->usedV : 1.0f;
  const D3DXVECTOR3& c0 = area.corners[0].Value();
  const D3DXVECTOR3& c1 = area.corners[1].Value();
  const D3DXVECTOR3& c2 = area.corners[2].Value();
  const D3DXVECTOR3& c3 = area.corners[3].Value();
  const D3DXVECTOR3 startAcross = UnitOr0(c2 - c0), endAcross = UnitOr0(c3 - c1);
  const float f = head.Scaled(), i = tail.Scaled();
  const std::vector<uint32_t>& colours = appearance.colorSet.colors.Value();
  const uint32_t colour = colours.empty() ? 0xFFFFFF : colours.front();
  const float opacityByte = static_cast<float>(appearance.colorSet.opacity.Scaled());
  const uint32_t quads = std::min(rays * 3, batch.QuadCapacity());
  uint32_t q = 0;
  for (auto it = particles.begin(); it != particles.end() && q + 3 <= quads; ++it) {
    const RoutineParticle* ray = it->Get();
    if (ray == nullptr) continue;
    const float a = ray->position.x;
    const float alpha = ray->ownOpacity * EdgeDimming(a);
    const D3DXVECTOR3 s = c2 + (c0 - c2) * a, e = c3 + (c1 - c3) * a;
    const D3DXVECTOR3 p1 = s + (e - s) * f, p2 = e + (s - e) * i;
    const D3DXVECTOR3 h1 = startAcross * (ray->ownSize * 0.5f);
    const D3DXVECTOR3 h2 = endAcross * (ray->ownSize * 0.5f * farWidth.Scaled());
    const D3DXVECTOR3 g1 = h1 + (h2 - h1) * f, g2 = h2 + (h1 - h2) * i;
    const float vHead = vMax * f, vTail = vMax * (1.0f - i);
    // Middle, head and tail, each c0..c3.
    Place(v[0], p2 - g2, 0.0f, vTail);
    Place(v[1], p1 - g1, 0.0f, vHead);
    Place(v[2], p2 + g2, uMax, vTail);
    Place(v[3], p1 + g1, uMax, vHead);
    Place(v[4], p1 - g1, 0.0f, vHead);
    Place(v[5], s - h1, 0.0f, 0.0f);
    Place(v[6], p1 + g1, uMax, vHead);
    Place(v[7], s + h1, uMax, 0.0f);
    Place(v[8], e - h2, 0.0f, vMax);
    Place(v[9], p2 - g2, 0.0f, vTail);
    Place(v[10], e + h2, uMax, vMax);
    Place(v[11], p2 + g2, uMax, vTail);
    for (int k = 0; k < 3; ++k)
      SetQuadVertexColors(colour, opacityByte * alpha, v + 4 * k);
    // The head fades in from the start edge, the tail out towards the far edge.
    const uint32_t clear = v[0].diffuse & 0x00FFFFFFu;
    v[5].diffuse = v[7].diffuse = clear;
    v[8].diffuse = v[10].diffuse = clear;
    v += 12;
    q += 3;
  }
  batch.UnlockVertices();
  mech->quadCounts[0] = q;
}
