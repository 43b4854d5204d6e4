#include "particles/tree/line/stripe_line_node.h"

#include <algorithm>
#include <memory>

#include "core/crt_rand.h"
#include "geometry/offset/stripe_mesh_append.h"
#include "geometry/offset/zkw_straight_skeleton_offset.h"
#include "geometry/shape/zkw_vgeom2d.h"
#include "particles/tree/vertex_math.h"
#include "platform/math/d3dx_math.h"

namespace {

// P(x) of a value-and-spread parameter: a fresh random number for the spread, the envelope at x.
float Evaluate(const GraphSpreadPrm& p, float x) {
  unsigned cursor = 1;
  return p.FactorAt(crt_rand_unit(), x, &cursor);
}

// The point on the segment from a to b where x reaches `x` (a when the segment has no length in
// x; never past its ends).
D3DXVECTOR3 AtX(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float x) {
  const float dx = b.x - a.x;
  const float t = dx != 0.0f ? std::clamp((x - a.x) / dx, 0.0f, 1.0f) : 0.0f;
  return a + (b - a) * t;
}

}  // namespace

bool ZKW_PtclSysNode_StripeLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysNode_StripeLine", 3);
  archive.io().WriteInt32(stripeMode.Value());
  archive.io().WriteInt32(followGeometry.Value());
  return ZKW_PtclSysNodePic_TexDynamic::Save(archive);
}

void ZKW_PtclSysNode_StripeLine::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version > 1) archive.io().ReadInt32(stripeMode.RawValue());
  if (version > 2) archive.io().ReadInt32(followGeometry.RawValue());
  ZKW_PtclSysNodePic_TexDynamic::ReadBody(archive, ReadBaseHeader(archive));
}

int ZKW_PtclSysNode_StripeLine::UpdateParticles(float step, ParticleList* parents) {
  if (ZKW_PtclSysPhys_Curves* curves = GetCurves()) curves->Update(nullptr, step);
  RebuildStripes();
  // The picture's update without its radial-glow batch, which the fill never fills.
  texture.Advance(step);
  if (physics && NeedsDepthSort()) SortParticlesByDepth(physics->particles);
  MoveAndSpawn(step, parents);
  return 1 + ChildBatches(step, parents);
}

void ZKW_PtclSysNode_StripeLine::InitNewParticle(ParticleHandle& particle) {
  ZKW_PtclSysNode_Picture::InitNewParticle(particle);
  ZKW_PtclSysPhys_Curves* curves = GetCurves();
  if (!particle || curves == nullptr) return;
  ParticleList one = {particle};
  curves->SpawnForParents(&one);
}

void ZKW_PtclSysNode_StripeLine::RebuildStripes() {
  stripes.clear();
  const ZKW_PtclSysPhys_Curves* curves = GetCurves();
  if (curves == nullptr) return;
  stripes.reserve(curves->stripes.size());
  for (size_t i = 0; i < curves->stripes.size(); ++i) {
    const PointStripe& stripe = curves->stripes[i];
    const StripeFrame frame = PrepareStripeFrame(i);
    // The curve's parent is the node particle that owns it.
    const ParticleRecord* owner = stripe.owner ? stripe.owner->Parent() : nullptr;
    D3DXVECTOR4 colour(1, 1, 1, 1);
    D3DXVECTOR3 scale(1, 1, 1);
    if (owner != nullptr) {
      const D3DXVECTOR3& c = owner->vectors[ParticleRecord::kColour];
      float a = owner->floats[ParticleRecord::kAlpha];
      if (const ParticleRecord* p = owner->Parent()) a *= p->WorldAlpha();
      colour = D3DXVECTOR4(c.x, c.y, c.z, std::min(1.0f, a));
      scale = owner->vectors[ParticleRecord::kScaleXYZ];
    }
    stripes.emplace_back();
    static const ParticleList kNone;
    BuildStripeEntry(stripes.back(), stripe.points ? stripe.points->particles : kNone, frame,
                     colour, scale);
  }
}

StripeFrame ZKW_PtclSysNode_StripeLine::PrepareStripeFrame(size_t i) const {
  StripeFrame frame;
  D3DXMatrixIdentity(&frame.matrix);
  const ZKW_PtclSysPhys_Curves* curves = GetCurves();
  if (curves == nullptr || i >= curves->stripes.size() || !curves->stripes[i].owner) return frame;
  const ParticleRecord& curve = *curves->stripes[i].owner;
  const ParticleRecord* owner = curve.Parent();

  frame.geometry = parent != nullptr ? parent->GetGeometry() : nullptr;
  const int follow = followGeometry.Value();
  // Only 1 and 2 name a parameter to follow; any other value places the stripe as 0 does.
  if (frame.geometry != nullptr && frame.geometry->IsParametric() && (follow == 1 || follow == 2))
    frame.geometryMode = follow;
  const ParticleRecord* emitter = owner != nullptr ? owner->Parent() : nullptr;
  if (frame.geometryMode != 0 && emitter != nullptr) {
    if (const ParticleRecord* base = emitter->Parent()) frame.matrix = base->WorldMatrix();
    frame.cell[0] = emitter->vectors[ParticleRecord::kSurface].x;
    frame.cell[1] = emitter->vectors[ParticleRecord::kSurface].y;
    return frame;
  }
  frame.geometryMode = 0;
  frame.matrix = curve.WorldMatrix();
  const float length = Evaluate(curves->length, 0.0f);
  D3DXMATRIX scaling;
  D3DXMatrixScaling(&scaling, length, length, length);
  frame.matrix = scaling * frame.matrix;
  if (stripeMode.Value() == 0 && owner != nullptr) {
    D3DXMatrixScaling(&scaling, owner->vectors[ParticleRecord::kScaleXYZ].x, 1, 1);
    frame.matrix = scaling * frame.matrix;
  }
  return frame;
}

void ZKW_PtclSysNode_StripeLine::BuildStripeEntry(StripeEntry& entry, const ParticleList& points,
                                                  const StripeFrame& frame,
                                                  const D3DXVECTOR4& colour,
                                                  const D3DXVECTOR3& scale) const {
  const ZKW_PtclSysPhys_Curves* curves = GetCurves();
  const float window =
      followGeometry.Value() != 0 && curves != nullptr ? Evaluate(curves->length, 0.0f) / 100 : 1;
  float lower = 0.0f, upper = 1.0f;
  if (stripeMode.Value() == 1) {
    lower = std::max(0.0f, scale.x - window);
    upper = std::min(1.0f, scale.x);
  }
  // An empty window keeps no point; the guard only keeps u finite.
  const float inv = upper > lower ? 1.0f / (upper - lower) : 0.0f;

  float widest = 0.0f;
  D3DXVECTOR3 previous(0, 0, 0);
  for (size_t i = 0; i < points.size();) {
    if (!points[i]) {
      ++i;
      continue;
    }
    D3DXVECTOR3 q = points[i]->WorldPosition();
    if (q.x < lower) {
      previous = q;
      ++i;
      continue;
    }
    // A window edge that falls on a point takes that point alone: a second point in the same
    // place would give the offsetter a segment of no length.
    bool again = false, last = false;
    if (entry.points.empty() && i > 0 && q.x > lower) {
      // The window opens between the previous point and this one, which is walked again.
      q = AtX(previous, q, lower);
      again = true;
    }
    if (q.x > upper && !entry.points.empty()) {
      if (previous.x >= upper) break;
      q = AtX(previous, q, upper);
      last = true;
    }
    AppendStripePoint(entry, q, frame, colour, (q.x - lower) * inv);
    entry.points.back().width *= scale.y;
    widest = std::max(widest, entry.points.back().width);
    if (last) break;
    previous = q;
    if (!again) ++i;
  }

  auto offsetter = std::make_unique<ZKW_StraightSkeletonOffset>();
  const std::vector<StripePoint>& placed = entry.points;
  offsetter->SetPoints(static_cast<unsigned>(placed.size()),
                       [&placed](unsigned j) -> const D3DXVECTOR3& { return placed[j].position; });
  offsetter->Build(widest);
  entry.offsetter = DS_SafePtr<ZKW_CurveOffsetMaker>(std::move(offsetter));
}

void ZKW_PtclSysNode_StripeLine::AppendStripePoint(StripeEntry& entry, const D3DXVECTOR3& q,
                                                   const StripeFrame& frame,
                                                   const D3DXVECTOR4& colour, float u) const {
  const ZKW_PtclSysPhys_Curves* curves = GetCurves();
  StripePoint point{};
  point.position = MapStripePoint(frame, q);
  point.r = colour.x;
  point.g = colour.y;
  point.b = colour.z;
  point.alpha = colour.w;
  point.width = 0.0f;
  if (curves != nullptr) {
    point.alpha *= Evaluate(curves->alpha, u);
    point.width = Evaluate(curves->width, u);
  }
  entry.points.push_back(point);
}

D3DXVECTOR3 ZKW_PtclSysNode_StripeLine::MapStripePoint(const StripeFrame& frame,
                                                       const D3DXVECTOR3& q) const {
  D3DXVECTOR3 p = q;
  if (frame.geometryMode != 0 && frame.geometry != nullptr) {
    const ZKW_VGeom2D& shape = *frame.geometry;
    const bool alongU = frame.geometryMode == 1;
    const float uv[2] = {alongU ? q.x : frame.cell[0], alongU ? frame.cell[1] : q.x};
    p = D3DXVECTOR3(0, 0, 0);
    shape.PointAtUV(uv[0], uv[1], &p, nullptr);
    D3DXVECTOR3 t(0, 0, 0);
    shape.TangentAt(p, uv, &t);
    if (alongU) {
      p += D3DXVECTOR3(-t.y, t.x, 0) * (q.y * shape.GetSpanAlong(uv[1]));
    } else {
      p += t * (q.y * shape.GetSpanAcross(uv[0]));
    }
  }
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &p, &frame.matrix);
  return out;
}

void ZKW_PtclSysNode_StripeLine::FillVertices(QuadBatches& batches, size_t* index) {
  FillChildren(batches, index);
  if (*index < batches.size()) FillOwnMesh(batches[*index]);
  ++*index;
}

void ZKW_PtclSysNode_StripeLine::FillOwnMesh(ParticleQuadBatch& batch) const {
  if (!batch.indices) batch.EnsureCapacity(1, 1);
  // The offsetters' mesh builders may replace either buffer by a larger one.
  auto vertexBuffer = gfx::ComPtr<gfx::VertexBuffer>::Copy(batch.vertices.buffer.Get());
  auto indexBuffer = gfx::ComPtr<gfx::IndexBuffer>::Copy(batch.indices.Get());
  // The counters are 16-bit: the builders stop adding at 65,535 vertices.
  uint16_t triangles = 0, vertices = 0;
  const uint32_t rgb = colour.Value();
  const float opacity = (255.0f - 2.55f * static_cast<float>(colour.alpha.Value())) / 255.0f;
  const float red = static_cast<float>(rgb & 0xFF) / 255.0f;
  const float green = static_cast<float>((rgb >> 8) & 0xFF) / 255.0f;
  const float blue = static_cast<float>((rgb >> 16) & 0xFF) / 255.0f;
  for (const StripeEntry& entry : stripes) {
    if (!entry.offsetter) continue;
    const std::vector<StripePoint>& points = entry.points;
    AppendStripeMesh(*entry.offsetter, vertexBuffer, indexBuffer, &triangles, &vertices,
                     [&](const unsigned& j, float& halfWidth, uint32_t& argb) {
                       const StripePoint& p = points[j];
                       halfWidth = p.width / 2;
                       argb = UnitChannelByte(opacity * p.alpha) << 24 |
                              UnitChannelByte(red * p.r) << 16 | UnitChannelByte(green * p.g) << 8 |
                              UnitChannelByte(blue * p.b);
                     });
  }
  batch.vertices.buffer.Reset(vertexBuffer.Detach());
  batch.indices.Reset(indexBuffer.Detach());
  batch.EnsureCapacity(vertices, triangles);
}

void ZKW_PtclSysNode_StripeLine::Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
                                        int* readerCount) {
  RenderChildren(batches, index, renderer, readerCount);
  if (*index < batches.size()) DrawOwnBatch(batches[*index], renderer, readerCount);
  ++*index;
}

ZKW_PtclSysNode_FractalLine::ZKW_PtclSysNode_FractalLine()
    : curves(std::make_unique<ZKW_PtclSysPhys_FractalCurv>()) {}

bool ZKW_PtclSysNode_FractalLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysNode_FractalLine", 1);
  curves->Save(archive);
  return ZKW_PtclSysNode_StripeLine::Save(archive);
}

void ZKW_PtclSysNode_FractalLine::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadCurvesInto(archive, *curves);
  ReadStripeLinePart(archive);
}

ZKW_PtclSysNode_RandomLine::ZKW_PtclSysNode_RandomLine()
    : curves(std::make_unique<ZKW_PtclSysPhys_RandomCurv>()) {}

bool ZKW_PtclSysNode_RandomLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysNode_RandomLine", 1);
  curves->Save(archive);
  return ZKW_PtclSysNode_StripeLine::Save(archive);
}

void ZKW_PtclSysNode_RandomLine::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadCurvesInto(archive, *curves);
  ReadStripeLinePart(archive);
}
