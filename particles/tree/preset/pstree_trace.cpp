#include "particles/tree/preset/pstree_trace.h"

#include <algorithm>
#include <cmath>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "particles/behaviour/particle/colour_transforms.h"
#include "particles/behaviour/particle/oscillation_transforms.h"
#include "particles/behaviour/particle/particle_transforms.h"
#include "particles/tree/vertex_math.h"
#include "platform/math/d3dx_math.h"

bool ZKW_PSTree_Trace::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSTree_Trace", 1);
  archive.io().WriteFloat(trailLife.Value());
  WriteModedScaledParams(archive, pointScale);
  WriteModedScaledParams(archive, pointAlpha);
  return ZKW_PSTree_Leaf::Save(archive);
}

void ZKW_PSTree_Trace::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  archive.io().ReadFloat(trailLife.RawValue());
  ReadModedScaledParams(archive, pointScale);
  ReadModedScaledParams(archive, pointAlpha);
  ReadLeafPart(archive);
}

void ZKW_PSTree_Trace::SpawnForParent(ParticleHandle parent) {
  AddTrailPoint(parent);
}

ParticleHandle ZKW_PSTree_Trace::NewTrailPoint(const ParticleRecord& parent) {
  ParticleHandle point = MakeChildParticle({});
  ParticleRecord& p = *point;
  AttachTransform<PtclTr_MaxAge>(p, trailLife.Value());
  AttachTransform<PtclTr_Color>(p, &colours, crt_rand_unit());
  AttachTransform<PtclTr_AgeTransform>(p, ParticleRecord::kScale, &pointScale);
  AttachTransform<PtclTr_AgeTransform>(p, ParticleRecord::kAlpha, &pointAlpha);
  // The parent's size and translucency envelopes at its age when the point is laid.
  const float life = parent.floats[ParticleRecord::kLife];
  AttachTransform<PtclTr_PrmMultiplicator>(p, ParticleRecord::kScale,
                                           EnvelopeFactor(source->sizeEnvelope, life));
  AttachTransform<PtclTr_PrmMultiplicator>(p, ParticleRecord::kAlpha,
                                           EnvelopeFactor(source->translucencyEnvelope, life));
  return point;
}

void ZKW_PSTree_Trace::AddTrailPoint(const ParticleHandle& parent) {
  if (parent.Get() == nullptr) return;
  const ParticleRecord& k = *parent;
  Trail& trail = trails[parent];
  const D3DXVECTOR3 at = k.WorldPosition();
  float length = 0.0f;
  if (trail.size() >= 2) {
    const D3DXVECTOR3 d = at - trail[trail.size() - 2]->WorldPosition();
    length = D3DXVec3Length(&d);
  }
  ParticleRecord* point = nullptr;
  const bool full = pointCount_ >= kMaxParticlesPerList && !trail.empty();
  if (trail.size() >= 2 && (length < kMinSegment || full)) {
    // Close to the point before it: the newest point follows the parent.
    point = trail.back().Get();
  } else {
    if (full) return;
    trail.push_back(NewTrailPoint(k));
    ++pointCount_;
    point = trail.back().Get();
  }
  point->Position() = at;
  point->vectors[ParticleRecord::kDirection] = k.vectors[ParticleRecord::kDirection];
  point->Velocity() = k.vectors[ParticleRecord::kVelocity];
  SegmentLength(*point) = length;
}

unsigned ZKW_PSTree_Trace::UpdateParticles(float step, const ParticleList& parents) {
  texture.Advance(step);
  for (const ParticleHandle& parent : parents)
    AddTrailPoint(parent);
  pointCount_ = 0;
  for (auto it = trails.begin(); it != trails.end();) {
    Trail& trail = it->second;
    std::erase_if(trail, [step](const ParticleHandle& point) { return !point->Update(step); });
    pointCount_ += trail.size();
    if (trail.empty() && it->first->Has(ParticleRecord::kDead))
      it = trails.erase(it);
    else
      ++it;
  }
  return 1;
}

namespace {

D3DXVECTOR3 LeftNormal(const ParticleRecord& p) {
  const D3DXVECTOR3& d = p.vectors[ParticleRecord::kDirection];
  return D3DXVECTOR3(-d.y, d.x, 0.0f);
}

// min(1, the particle's alpha x its parent's world alpha).
float ChainAlpha(const ParticleRecord& p) {
  float alpha = p.floats[ParticleRecord::kAlpha];
  if (const ParticleRecord* parent = p.Parent()) alpha *= parent->WorldAlpha();
  return std::min(1.0f, alpha);
}

}  // namespace

void ZKW_PSTree_Trace::FillVertices(QuadBatches& batches, size_t* index) {
  ParticleQuadBatch* batch = NextBatch(batches, index);
  if (batch == nullptr) return;
  uint64_t segments = 0;
  for (const auto& [parent, trail] : trails)
    if (trail.size() >= 2) segments += trail.size() - 1;
  // Without a picture there is no aspect to map the texture by: the batch stays, empty.
  const uint32_t quads = batch->Prepare(
      HasPicture() ? static_cast<uint32_t>(std::min<uint64_t>(segments, UINT32_MAX)) : 0);
  if (quads == 0) return;
  DX_V::PCT2* v = batch->LockVertices();
  if (v == nullptr) return;

  const float w = static_cast<float>(size.Value());
  const float opacity = static_cast<float>(colours.opacity.Scaled());
  const float textureLength = w * w * texture.frameSets.front().aspect;
  uint32_t written = 0;
  for (const auto& [parent, trail] : trails) {
    if (trail.size() < 2) continue;
    const ParticleRecord& k = *parent;
    const float parentAlpha = ChainAlpha(k);
    float tv = 0.0f;
    for (size_t i = 0; i + 1 < trail.size() && written < quads; ++i, ++written, v += 4) {
      const ParticleRecord& e = *trail[i];
      const ParticleRecord& g = *trail[i + 1];
      const float we = e.floats[ParticleRecord::kScale] * w;
      const float wg = g.floats[ParticleRecord::kScale] * w;
      const float ae = opacity * ChainAlpha(e) * parentAlpha;
      const float ag = opacity * ChainAlpha(g) * parentAlpha;
      // A size or picture aspect of 0 maps no texture length rather than dividing by it.
      const float dv = textureLength != 0.0f ? SegmentLength(g) / textureLength : 0.0f;
      const D3DXVECTOR3 pe = e.WorldPosition(), pg = g.WorldPosition();
      const D3DXVECTOR3 ne = LeftNormal(e) * we, ng = LeftNormal(g) * wg;
      const D3DXVECTOR3 corners[4] = {pg + ng, pe + ne, pg - ng, pe - ne};
      const D3DXVECTOR3& rgb = e.vectors[ParticleRecord::kColour];
      const uint32_t argb[4] = {PackedVertexColour(ag, rgb), PackedVertexColour(ae, rgb),
                                PackedVertexColour(ag, rgb), PackedVertexColour(ae, rgb)};
      const float us[4] = {1, 1, 0, 0}, vs[4] = {tv + dv, tv, tv + dv, tv};
      for (int n = 0; n < 4; ++n) {
        const D3DXVECTOR3 c = TransformedPoint(corners[n], k.scaleMatrix);
        v[n] = DX_V::PCT2{c.x, c.y, c.z, argb[n], us[n], vs[n], us[n], vs[n]};
      }
      tv += dv;
    }
  }
  batch->UnlockVertices();
}
