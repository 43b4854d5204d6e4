#include "particles/behaviour/physics/random_curve.h"

#include <memory>

#include "core/crt_rand.h"
#include "core/param/param_reads.h"
#include "particles/behaviour/particle/particle_transforms.h"
#include "platform/math/d3dx_math.h"

ZKW_PtclSysPhys_RandomCurv::ZKW_PtclSysPhys_RandomCurv() : ZKW_PtclSysPhys_Curves(1) {
  SetSpeedDefault(speed, 50, 0.1f);
}

bool ZKW_PtclSysPhys_RandomCurv::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_RandomCurv", 1);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(segments.Value());
  io.WriteUInt32(roughness.Value());
  io.WriteUInt32(speed.Value());
  return ZKW_PtclSysPhys_Curves::Save(archive);
}

void ZKW_PtclSysPhys_RandomCurv::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadUInt32(segments.RawValue());
  ReadChangedUInt32(archive, roughness);
  ReadChangedUInt32(archive, speed);
  ZKW_PtclSysPhys_Curves::ReadBody(archive, ReadBaseHeader(archive));
}

std::vector<D3DXVECTOR3> ZKW_PtclSysPhys_RandomCurv::RandomWalk(unsigned count) const {
  const unsigned n = StripeSegments(count);
  const float r = roughness.Scaled();
  const D3DXVECTOR3 target(1, 0, 0);
  D3DXVECTOR3 p(0, 0, 0);
  std::vector<D3DXVECTOR3> walk;
  walk.reserve(n + 1);
  walk.push_back(p);
  for (unsigned i = 0; i + 1 < n; ++i) {
    const D3DXVECTOR3 d = target - p;
    const float step = D3DXVec3Length(&d) / static_cast<float>(n - i);
    const float e1 = r * (crt_rand_unit() * 2.0f - 1.0f);
    const float e2 = r * (crt_rand_unit() * 2.0f - 1.0f);
    const D3DXVECTOR3 bent(d.x + e1 * d.y, d.y + e2 * d.x, d.z);
    const float length = D3DXVec3Length(&bent);
    if (length > 0.0f) p += bent * (step / length);
    walk.push_back(p);
  }
  walk.push_back(target);
  return walk;
}

DS_SafePtr<ZKW_PtclSysPhys_Points> ZKW_PtclSysPhys_RandomCurv::BuildStripe(const ParticleHandle&) {
  const std::vector<D3DXVECTOR3> from = RandomWalk(segments.Value());
  const std::vector<D3DXVECTOR3> to = RandomWalk(segments.Value());
  DS_SafePtr<ZKW_PtclSysPhys_Points> stripe = MakeStripePoints();
  ParticleList& points = stripe->particles;
  points.reserve(from.size());
  for (size_t i = 0; i < from.size(); ++i) {
    ParticleHandle point(std::make_unique<ParticleRecord>(from[i]));
    point->Velocity() = to[i] - from[i];
    AttachTransform<PtclTr_Kinematic>(*point);
    points.push_back(std::move(point));
  }
  points.front()->floats[ParticleRecord::kLife] = clockTotal + 1.0f;
  return stripe;
}

ParticleList ZKW_PtclSysPhys_RandomCurv::Update(ParticleList*, float step) {
  clockStep = speed.Scaled() * step;
  clockTotal += clockStep;
  UpdateCurves(step, [this](PointStripe& stripe) {
    if (!stripe.points) return;
    ParticleList& points = stripe.points->particles;
    if (!points.empty() && clockTotal > points.front()->floats[ParticleRecord::kLife]) {
      // The new walk has as many points as the stripe, whatever the segments are now.
      const std::vector<D3DXVECTOR3> next = RandomWalk(static_cast<unsigned>(points.size() - 1));
      for (size_t i = 0; i < points.size() && i < next.size(); ++i)
        points[i]->Velocity() = next[i] - points[i]->Position();
      points.front()->floats[ParticleRecord::kLife] = clockTotal + 1.0f;
    }
    stripe.points->Update(nullptr, clockStep);
  });
  return {};
}
