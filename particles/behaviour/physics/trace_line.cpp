#include "particles/behaviour/physics/trace_line.h"

#include <algorithm>
#include <vector>

#include "geometry/graph/vgraph_line_kinds.h"
#include "particles/behaviour/particle/colour_transforms.h"
#include "particles/behaviour/particle/particle_transforms.h"
#include "platform/math/d3dx_math.h"

namespace {

// A trail point stays behind once the head is this far (squared) from the point before it.
constexpr float kPointSpacingSquared = 9.0f;

// The quadratic Bezier from (0, 1) through (0.05, 0) to (1, 0), sampled into the graph's points:
// alpha falls fast after birth and fades out slowly.
DS_SafePtr<ZKW_VGraph> FadeOutGraph() {
  auto graph = std::make_unique<ZKW_VGraph_QBezier>();
  graph->controls = {0.0f, 1.0f, 0.05f, 0.0f, 1.0f, 0.0f};
  const float x0 = graph->controls[0], y0 = graph->controls[1];
  const float xc = graph->controls[2], yc = graph->controls[3];
  const float x1 = graph->controls[4], y1 = graph->controls[5];
  constexpr int kSamples = 32;
  std::vector<ZKW_VGraph_Line::Point> points;
  for (int i = 0; i <= kSamples; ++i) {
    const float t = static_cast<float>(i) / kSamples, s = 1.0f - t;
    points.emplace_back(s * s * x0 + 2 * s * t * xc + t * t * x1,
                        s * s * y0 + 2 * s * t * yc + t * t * y1);
  }
  graph->SetPoints(points);
  return DS_SafePtr<ZKW_VGraph>(std::move(graph));
}

}  // namespace

ZKW_PtclSysPhys_TraceLine::ZKW_PtclSysPhys_TraceLine() {
  pointAlpha.envelope.SetGraph(FadeOutGraph());
}

bool ZKW_PtclSysPhys_TraceLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_TraceLine", 1);
  WriteGraphSpreadPrm(archive, pointLife);
  WriteGraphSpreadPrm(archive, pointSize);
  WriteGraphSpreadPrm(archive, pointAlpha);
  return ZKW_PtclSysPhys_PntStripes::Save(archive);
}

void ZKW_PtclSysPhys_TraceLine::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadGraphSpreadPrm(archive, pointLife);
  ReadGraphSpreadPrm(archive, pointSize);
  ReadGraphSpreadPrm(archive, pointAlpha);
  ZKW_PtclSysPhys_PntStripes::ReadBody(archive, ReadBaseHeader(archive));
}

ParticleList ZKW_PtclSysPhys_TraceLine::Update(ParticleList*, float step) {
  // Indexes, not iterators: AddTrace appends while the stripes are walked, and a trail started
  // here gets its first point in this same pass.
  for (size_t i = 0; i < stripes.size();) {
    if (stripes[i].points) stripes[i].points->Update(nullptr, step);
    const ParticleRecord* owner = stripes[i].owner.Get();
    if (owner == nullptr || owner->Has(ParticleRecord::kDead)) {
      if (!stripes[i].points || stripes[i].points->particles.empty()) {
        stripes.erase(stripes.begin() + static_cast<std::ptrdiff_t>(i));
        continue;
      }
      ++i;
      continue;
    }
    const bool jumped = owner->Has(ParticleRecord::kJumped) ||
                        (owner->Parent() != nullptr && owner->IsTaggedInChain());
    if (jumped && stripes[i].points && !stripes[i].points->particles.empty()) {
      const ParticleHandle emitter = stripes[i].owner;
      stripes[i].owner.Release();
      AddTrace(emitter);
    } else {
      AppendPoint(stripes[i]);
    }
    ++i;
  }
  return {};
}

void ZKW_PtclSysPhys_TraceLine::AddTrace(const ParticleHandle& emitter) {
  stripes.push_back({emitter, MakeStripePoints()});
}

void ZKW_PtclSysPhys_TraceLine::AppendPoint(PointStripe& stripe) {
  if (!stripe.owner) return;
  if (!stripe.points) stripe.points = MakeStripePoints();
  ParticleList& points = stripe.points->particles;
  const D3DXVECTOR3 origin = stripe.owner->WorldOrigin();
  if (points.size() > 1) {
    points.back() = MakeTracePoint(origin, stripe);
    const D3DXVECTOR3 gap = points[points.size() - 2]->WorldPosition() - origin;
    if (D3DXVec3LengthSq(&gap) < kPointSpacingSquared) return;
  }
  points.push_back(MakeTracePoint(origin, stripe));
}

ParticleHandle ZKW_PtclSysPhys_TraceLine::MakeTracePoint(const D3DXVECTOR3& position,
                                                         const PointStripe& stripe) {
  ParticleHandle point(std::make_unique<ParticleRecord>(position));
  unsigned cursor = 1;
  AttachTransform<PtclTr_MaxAge>(*point, pointLife.FactorAt(0.0f, 0.0f, &cursor));
  AttachTransform<PtclTr_TimePrm>(*point, ParticleRecord::kScale, &pointSize);
  AttachTransform<PtclTr_TimePrm>(*point, ParticleRecord::kAlpha, &pointAlpha);
  float scale = 1.0f, alpha = 1.0f;
  if (const ParticleRecord* owner = stripe.owner.Get()) {
    scale = owner->floats[ParticleRecord::kScale];
    alpha = owner->floats[ParticleRecord::kAlpha];
    if (const ParticleRecord* parent = owner->Parent()) {
      scale *= parent->WorldScale();
      alpha *= parent->WorldAlpha();
    }
  }
  AttachTransform<PtclTr_PrmMultiplicator>(*point, ParticleRecord::kScale, scale);
  AttachTransform<PtclTr_PrmMultiplicator>(*point, ParticleRecord::kAlpha, std::min(1.0f, alpha));
  point->Update(0.0f);
  return point;
}
