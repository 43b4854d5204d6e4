#include "particles/tree/line/trace_node.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "geometry/offset/stripe_mesh_append.h"
#include "geometry/offset/zkw_straight_skeleton_offset.h"
#include "particles/behaviour/particle/particle_transforms.h"
#include "particles/tree/line/trail_ribbon.h"
#include "platform/gfx/image/d3dx_image_types.h"
#include "player/resources/zkw_texture_src.h"

namespace {

// The points of a stripe; none for a stripe without a point group.
std::span<const ParticleHandle> StripePoints(const PointStripe& stripe) {
  if (!stripe.points) return {};
  return stripe.points->particles;
}

}  // namespace

ZKW_PtclSysNode_Trace::ZKW_PtclSysNode_Trace()
    : ZKW_PtclSys_Option(u"Trace"), trace(std::make_unique<ZKW_PtclSysPhys_TraceLine>()) {
  auto picture = std::make_unique<ZKW_ResIDTex>();
  static_cast<DS_NamedFileLinkData&>(*picture) =
      DS_NamedFileLinkData({DS_ImageFileLink(u"glimres.dll", 228)});
  texture.SetValueSilently(DS_SafePtr<ZKW_TextureSRC>(std::move(picture)));
}

bool ZKW_PtclSysNode_Trace::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysNode_Trace", 2);
  trace->Save(archive);
  archive.io().WriteDword(colour.Value());
  WriteOptionBase(archive, *this);
  return ZKW_PtclSysNode_Picture::Save(archive);
}

void ZKW_PtclSysNode_Trace::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  std::unique_ptr<ZKW_PtclSys_Physics> read = ReadPhysicsByName(archive);
  if (auto* line = dynamic_cast<ZKW_PtclSysPhys_TraceLine*>(read.get())) {
    read.release();
    trace = DS_SafePtr<ZKW_PtclSysPhys_TraceLine>(std::unique_ptr<ZKW_PtclSysPhys_TraceLine>(line));
  } else {
    // Update, fill, reset and the switch all use the trails: another physics gives default ones.
    trace = DS_SafePtr<ZKW_PtclSysPhys_TraceLine>(std::make_unique<ZKW_PtclSysPhys_TraceLine>());
  }
  archive.io().ReadDword(colour.RawValue());
  ReadOptionBase(archive, *this);
  ReadPicturePart(archive);
}

void ZKW_PtclSysNode_Trace::Reset() {
  ZKW_PtclSysNode_Picture::Reset();
  trace->KillAll();
}

int ZKW_PtclSysNode_Trace::UpdateParticles(float step, ParticleList* parents) {
  const int children = StepPicture(step, parents);
  if (enabled.Value() == 0) return 0;
  trace->Update(nullptr, step);
  return 1 + children;
}

void ZKW_PtclSysNode_Trace::InitNewParticle(ParticleHandle& particle) {
  if (!particle) return;
  AttachTransform<PtclTr_InheritAge>(*particle);
  if (enabled.Value() != 0) trace->AddTrace(particle);
}

void ZKW_PtclSysNode_Trace::OnTextureChanged() {
  texture.LoadFrames(D3DX_FILTER_NONE);
  texture.MarkTextures();
}

void ZKW_PtclSysNode_Trace::OnEnabledChanged() {
  auto* emitter = dynamic_cast<ZKW_PtclSysNode_Emitter*>(parent);
  if (emitter == nullptr || enabled.Value() == 0) {
    Reset();
    return;
  }
  if (const ParticleList* particles = emitter->GetParticles())
    for (const ParticleHandle& p : *particles)
      trace->AddTrace(p);
}

int ZKW_PtclSysNode_Trace::NeedsPictureBelow() const {
  return enabled.Value() != 0 ? ZKW_PtclSysNode_Picture::NeedsPictureBelow() : 0;
}

void ZKW_PtclSysNode_Trace::FillVertices(QuadBatches& batches, size_t* index) {
  if (enabled.Value() == 0) return;
  FillChildren(batches, index);
  backgroundFlags = 0;
  if (*index < batches.size()) {
    if (drawMode.Value() == 1) {
      FillOffsetStrips(batches[*index]);
    } else {
      FillBevelledTrails(batches[*index]);
    }
  }
  ++*index;
}

void ZKW_PtclSysNode_Trace::Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
                                   int* readerCount) {
  if (enabled.Value() == 0) return;
  RenderChildren(batches, index, renderer, readerCount);
  if (*index < batches.size()) DrawOwnBatch(batches[*index], renderer, readerCount);
  ++*index;
}

void ZKW_PtclSysNode_Trace::FillOffsetStrips(ParticleQuadBatch& batch) {
  if (!batch.indices) batch.EnsureCapacity(1, 1);
  // The offsetter's mesh builder may replace either buffer by a larger one.
  auto vertexBuffer = gfx::ComPtr<gfx::VertexBuffer>::Copy(batch.vertices.buffer.Get());
  auto indexBuffer = gfx::ComPtr<gfx::IndexBuffer>::Copy(batch.indices.Get());
  ZKW_StraightSkeletonOffset offsetter;
  uint16_t triangles = 0, vertices = 0;
  std::vector<D3DXVECTOR3> centre;
  const uint32_t rgb = colour.Value();
  for (const PointStripe& stripe : trace->stripes) {
    const std::span<const ParticleHandle> points = StripePoints(stripe);
    if (points.empty()) continue;
    // The head, which moves with its particle, is left out.
    const size_t n = points.size() - 1;
    centre.resize(n);
    float widest = 0.0f;
    for (size_t j = 0; j < n; ++j) {
      centre[j] = points[j]->WorldPosition();
      widest = std::max(widest, TrailHalfWidth(*points[j]));
    }
    offsetter.SetPoints(static_cast<unsigned>(n),
                        [&centre](unsigned j) -> const D3DXVECTOR3& { return centre[j]; });
    offsetter.Build(widest);
    AppendStripeMesh(offsetter, vertexBuffer, indexBuffer, &triangles, &vertices,
                     [points, rgb](const unsigned& j, float& halfWidth, uint32_t& c) {
                       halfWidth = TrailHalfWidth(*points[j]);
                       c = TrailVertexColour(rgb, *points[j]);
                     });
  }
  batch.vertices.buffer.Reset(vertexBuffer.Detach());
  batch.indices.Reset(indexBuffer.Detach());
  batch.EnsureCapacity(vertices, triangles);
}

void ZKW_PtclSysNode_Trace::FillBevelledTrails(ParticleQuadBatch& batch) {
  std::vector<size_t> counts;
  for (const PointStripe& stripe : trace->stripes)
    counts.push_back(StripePoints(stripe).size());
  const std::vector<size_t> fitted = FitBevelledTrails(counts, ParticleQuadBatch::kMaxMeshVertices);
  uint32_t vertexTotal = 0, triangleTotal = 0;
  for (const size_t n : fitted) {
    vertexTotal += BevelledTrailVertices(n);
    triangleTotal += BevelledTrailTriangles(n);
  }
  batch.EnsureCapacity(vertexTotal, triangleTotal);
  DX_V::PCT2* v = batch.LockVertices();
  if (v == nullptr) return;
  void* indexData = nullptr;
  if (!batch.indices || gfx::Failed(batch.indices->Lock(0, 0, &indexData, 0)) ||
      indexData == nullptr) {
    batch.UnlockVertices();
    return;
  }
  auto* indices = static_cast<uint16_t*>(indexData);
  uint32_t base = 0;
  for (size_t k = 0; k < fitted.size(); ++k) {
    if (fitted[k] < 2) continue;
    FillTrail(StripePoints(trace->stripes[k]).first(fitted[k]), colour.Value(), v + base, indices,
              static_cast<uint16_t>(base));
    base += BevelledTrailVertices(fitted[k]);
    indices += 3 * BevelledTrailTriangles(fitted[k]);
  }
  batch.indices->Unlock();
  batch.UnlockVertices();
}
