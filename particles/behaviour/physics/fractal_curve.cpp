#include "particles/behaviour/physics/fractal_curve.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/crt_rand.h"
#include "core/param/param_reads.h"

namespace {

// A stripe of 2^15 + 1 points is the largest that stays within kMaxStripePoints.
constexpr unsigned kMaxLevels = 15;

// Smoothstep of the fifth order: 0 and 1 with flat ends.
float Smoother(float t) {
  return t * t * t * (10.0f - 15.0f * t + 6.0f * t * t);
}

float Signed() {
  return crt_rand_unit() * 2.0f - 1.0f;
}

// Updates, by 0, the midpoints strictly between lo and hi, each before the ones that depend on it.
void UpdateRange(const ParticleList& points, size_t lo, size_t hi) {
  size_t i = lo + (hi - lo) / 2;
  while (i > lo) {
    points[i]->Update(0.0f);
    UpdateRange(points, lo, i);
    lo = i;
    i = i + (hi - i) / 2;
  }
}

}  // namespace

ZKW_PtclSysPhys_FractalCurv::ZKW_PtclSysPhys_FractalCurv() : ZKW_PtclSysPhys_Curves(1) {
  SetSpeedDefault(speed, 50, 0.1f);
}

bool ZKW_PtclSysPhys_FractalCurv::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_FractalCurv", 2);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(levels.Value());
  io.WriteUInt32(roughness.Value());
  io.WriteUInt32(speed.Value());
  return ZKW_PtclSysPhys_Curves::Save(archive);
}

void ZKW_PtclSysPhys_FractalCurv::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  archive.io().ReadUInt32(levels.RawValue());
  ReadChangedUInt32(archive, roughness);
  if (version >= 2) ReadChangedUInt32(archive, speed);
  ZKW_PtclSysPhys_Curves::ReadBody(archive, ReadBaseHeader(archive));
}

ParticleList ZKW_PtclSysPhys_FractalCurv::Update(ParticleList*, float step) {
  clockStep = speed.Scaled() * step;
  clockTotal += clockStep;
  frameDt = step;
  UpdateCurves(step, [](PointStripe& stripe) {
    if (!stripe.points) return;
    const ParticleList& points = stripe.points->particles;
    if (points.empty()) return;
    const size_t n = points.size() - 1, mid = n / 2;
    if (mid == 0) return;
    points[mid]->Update(0.0f);
    UpdateRange(points, 0, mid);
    UpdateRange(points, mid, n);
  });
  return {};
}

DS_SafePtr<ZKW_PtclSysPhys_Points> ZKW_PtclSysPhys_FractalCurv::BuildStripe(const ParticleHandle&) {
  DS_SafePtr<ZKW_PtclSysPhys_Points> stripe = MakeStripePoints();
  ParticleList& points = stripe->particles;
  points.emplace_back(std::make_unique<ParticleRecord>(D3DXVECTOR3(0, 0, 0)));
  points.emplace_back(std::make_unique<ParticleRecord>(D3DXVECTOR3(1, 0, 0)));
  const unsigned count = std::min(levels.Value(), kMaxLevels);
  for (unsigned level = 0; level < count; ++level) {
    ParticleList refined;
    refined.reserve(points.size() * 2 - 1);
    for (size_t i = 0; i + 1 < points.size(); ++i) {
      refined.push_back(points[i]);
      ParticleHandle m(std::make_unique<ParticleRecord>());
      const float phase = crt_rand_unit();
      const float r1 = Signed();
      const float r2 = Signed();
      AttachTransform<PtclTr_FractalPnt>(*m, this, points[i], points[i + 1], phase, r1, r2);
      m->Update(0.0f);
      refined.push_back(std::move(m));
    }
    refined.push_back(points.back());
    points = std::move(refined);
  }
  return stripe;
}

bool PtclTr_FractalPnt::Apply(float, ParticleRecord* p) {
  if (physics == nullptr || !a || !b) return true;
  phase += physics->clockStep;
  if (phase > 1.0f || !std::isfinite(phase)) {
    r1 = r2;
    phase = WrapPhase(phase);
    r2 = Signed();
  }
  const float c = r1 + (r2 - r1) * Smoother(phase);
  const D3DXVECTOR3& pa = a->Position();
  const D3DXVECTOR3& pb = b->Position();
  const float k = physics->roughness.Scaled();
  p->Position() = D3DXVECTOR3((pa.x + pb.x) / 2 - (pb.y - pa.y) * c * k,
                              (pa.y + pb.y) / 2 + (pb.x - pa.x) * c * k, (pa.z + pb.z) / 2);
  return true;
}
