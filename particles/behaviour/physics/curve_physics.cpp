#include "particles/behaviour/physics/curve_physics.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/crt_rand.h"
#include "geometry/graph/vgraph_line.h"
#include "particles/behaviour/particle/colour_transforms.h"
#include "particles/behaviour/particle/oscillation_transforms.h"
#include "particles/behaviour/particle/particle_transforms.h"

ZKW_PtclSysPhys_Curves::ZKW_PtclSysPhys_Curves(unsigned lengthAndAlpha)
    : length(lengthAndAlpha, 1.0f), alpha(lengthAndAlpha, 1.0f) {
  start.envelope.SetGraph(
      DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_Line>(std::vector<ZKW_VGraph_Line::Point>{
          {0.0f, 0.0f}, {0.25f, 0.0f}, {0.75f, 0.0f}, {1.0f, 0.0f}})));
}

bool ZKW_PtclSysPhys_Curves::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_Curves", 2);
  WriteSpinPrm(archive, spin);
  for (const GraphSpreadPrm* p : {&length, &width, &alpha, &start, &end})
    WriteGraphSpreadPrm(archive, *p);
  return ZKW_PtclSysPhys_PntStripes::Save(archive);
}

void ZKW_PtclSysPhys_Curves::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadSpinPrm(archive, spin);
  for (GraphSpreadPrm* p : {&length, &width, &alpha})
    ReadGraphSpreadPrm(archive, *p);
  if (version >= 2) {
    ReadGraphSpreadPrm(archive, start);
    ReadGraphSpreadPrm(archive, end);
  }
  ZKW_PtclSysPhys_PntStripes::ReadBody(archive, ReadBaseHeader(archive));
}

ParticleList ZKW_PtclSysPhys_Curves::SpawnForParents(ParticleList* parents) {
  if (parents == nullptr) return {};
  ParticleList made;
  for (const ParticleHandle& parent : *parents) {
    ParticleHandle curve = MakeChildParticle(parent);
    AttachCurveTransforms(*curve);
    curve->flags |= ParticleRecord::kRelativeToParent | ParticleRecord::kDiesWithParent;
    stripes.push_back({curve, BuildStripe(curve)});
    made.push_back(std::move(curve));
  }
  return made;
}

ParticleList ZKW_PtclSysPhys_Curves::Update(ParticleList*, float step) {
  UpdateCurves(step, [](PointStripe&) {});
  return {};
}

void ZKW_PtclSysPhys_Curves::AttachCurveTransforms(ParticleRecord& curve) {
  AttachTransform<PtclTr_InheritAge>(curve);
  AttachTransform<PtclTr_LineGeom>(curve, this);
  AttachTransform<PtclTr_TimePrm>(curve, ParticleRecord::kAlpha, &alpha);
  AttachRandomSpin(curve, &spin);
}

bool PtclTr_LineGeom::Apply(float, ParticleRecord* p) {
  if (physics == nullptr) return true;
  const float t = p->floats[ParticleRecord::kLife];
  const GraphSpreadPrm* order[4] = {&physics->width, &physics->length, &physics->start,
                                    &physics->end};
  for (int i = 0; i < 4; ++i) {
    unsigned cursor = 1;
    p->curve[i] = order[i]->FactorAt(crt_rand_unit(), t, &cursor);
  }
  return true;
}

void SetSpeedDefault(MediaSpeedParam& speed, unsigned stored, float factor) {
  speed.RawValue() = stored;
  speed.SetScale(factor, 0.0f);
}

float WrapPhase(float phase) {
  if (!std::isfinite(phase)) return 0.0f;
  phase -= 1.0f;
  return phase < 1.0f ? phase : std::fmod(phase, 1.0f);
}

unsigned StripeSegments(unsigned segments) {
  return std::clamp(segments, 1u, kMaxStripePoints - 1);
}

bool ZKW_PtclSysPhys_LineCurv::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_LineCurv", 1);
  archive.io().WriteUInt32(segments.Value());
  return ZKW_PtclSysPhys_Curves::Save(archive);
}

void ZKW_PtclSysPhys_LineCurv::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadUInt32(segments.RawValue());
  ZKW_PtclSysPhys_Curves::ReadBody(archive, ReadBaseHeader(archive));
}

DS_SafePtr<ZKW_PtclSysPhys_Points> ZKW_PtclSysPhys_LineCurv::BuildStripe(const ParticleHandle&) {
  DS_SafePtr<ZKW_PtclSysPhys_Points> points = MakeStripePoints();
  const unsigned n = StripeSegments(segments.Value());
  points->particles.reserve(n + 1);
  for (unsigned i = 0; i <= n; ++i) {
    const float x = static_cast<float>(i) / static_cast<float>(n);
    points->particles.emplace_back(std::make_unique<ParticleRecord>(D3DXVECTOR3(x, 0, 0)));
  }
  return points;
}
