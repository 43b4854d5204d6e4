#include "particles/tree/preset/pstree_curve.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "core/crt_rand.h"
#include "core/float_to_int.h"
#include "core/graph/vgraph_registry.h"
#include "core/param/color_params.h"
#include "particles/behaviour/particle/colour_transforms.h"
#include "particles/behaviour/physics/fractal_curve.h"
#include "particles/tree/preset/curve_points.h"
#include "particles/tree/vertex_math.h"
#include "particles/tree/zkw_ptclsys_node.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/render/render_target_set.h"
#include "renderers/light/ds_2d_light.h"

namespace {

// A profile's three envelopes, each as its graph's record, in the order records keep them.
void WriteProfile(DS_IOF_Archive& archive, const CurveProfile& profile) {
  for (const ZKW_CustomGraph* g : {&profile.middle, &profile.end, &profile.start}) {
    if (const ZKW_VGraph* graph = g->Graph())
      graph->Save(archive);
    else
      ZKW_VGraph_Const().Save(archive);
  }
}

void ReadProfile(DS_IOF_Archive& archive, CurveProfile& profile) {
  for (ZKW_CustomGraph* g : {&profile.middle, &profile.end, &profile.start}) {
    if (std::unique_ptr<ZKW_VGraph> graph = ReadVGraph(archive))
      g->SetGraph(DS_SafePtr<ZKW_VGraph>(std::move(graph)));
  }
}

// min(1, the particle's alpha x its parent's world alpha).
float ChainAlpha(const ParticleRecord& p) {
  float alpha = p.floats[ParticleRecord::kAlpha];
  if (const ParticleRecord* parent = p.Parent()) alpha *= parent->WorldAlpha();
  return std::min(1.0f, alpha);
}

}  // namespace

ZKW_PSTree_Curve::ZKW_PSTree_Curve(DS_SafePtr<ZKW_PtclSys_Geometry> geometry)
    : ZKW_PSTree_Leaf(std::move(geometry)) {
  innerGlow.glowColour.RawValue() = 0x000000;
  SelectPhysics(1, std::make_unique<ZKW_PtclSysPhys_FractalCurv>());
}

void ZKW_PSTree_Curve::SelectPhysics(int key, std::unique_ptr<ZKW_PtclSys_Physics> chosen) {
  physics = DS_SafePtr<ZKW_PtclSys_Physics>(std::move(chosen));
  physicsSelector.Select(key, physics);
}

CurveSections ZKW_PSTree_Curve::Sections() const {
  return {static_cast<float>(middleLength.Value()), static_cast<float>(endLength.Value()),
          static_cast<float>(startLength.Value())};
}

bool ZKW_PSTree_Curve::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSTree_Curve", 4);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(physicsSelector.Value());
  physics->Save(archive);
  io.WriteUInt32(middleLength.Value());
  io.WriteUInt32(endLength.Value());
  io.WriteUInt32(startLength.Value());
  WriteProfile(archive, widthProfile);
  WriteProfile(archive, opacityProfile);
  io.WriteUInt32(width.Value());
  io.WriteInt32(normalise.Value());
  io.WriteUInt32(innerGlowSize.Value());
  WriteColorAlphaParam(archive, innerGlow.glowColour);
  return ZKW_PSTree_Leaf::Save(archive);
}

void ZKW_PSTree_Curve::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  int key = 1;
  if (version >= 2) io.ReadInt32(key);
  // A record without a physics of its own (an unknown class fails the stream) keeps the default.
  if (std::unique_ptr<ZKW_PtclSys_Physics> read = ReadPhysicsByName(archive)) {
    if (version < 2 && dynamic_cast<ZKW_PtclSysPhys_FractalCurv*>(read.get()) == nullptr) key = 2;
    SelectPhysics(key, std::move(read));
  }
  io.ReadUInt32(middleLength.RawValue());
  io.ReadUInt32(endLength.RawValue());
  io.ReadUInt32(startLength.RawValue());
  ReadProfile(archive, widthProfile);
  ReadProfile(archive, opacityProfile);
  if (version >= 2) {
    io.ReadUInt32(width.RawValue());
  } else if (ZKW_PtclSysPhys_Curves* curves = Curves()) {
    // The oldest curves kept their width in the physics, turned to the way they go.
    width.RawValue() = SaturatingTruncate<unsigned>(curves->width.value.Scaled());
    curves->spin.mode.SetValue(1);
  }
  if (version >= 3) io.ReadInt32(normalise.RawValue());
  if (version >= 4) {
    io.ReadUInt32(innerGlowSize.RawValue());
    ReadColorAlphaParam(archive, innerGlow.glowColour);
  }
  ReadLeafPart(archive);
}

void ZKW_PSTree_Curve::Restart() {
  ZKW_PtclSysPhys_Curves* curves = Curves();
  if (curves == nullptr) return;
  for (PointStripe& stripe : curves->stripes) {
    if (!stripe.owner) continue;
    stripe.owner->transforms.clear();
    curves->AttachCurveTransforms(*stripe.owner);
    stripe.points = curves->BuildStripe(stripe.owner);
  }
}

void ZKW_PSTree_Curve::SpawnForParents(const ParticleList& parents) {
  ParticleList list = parents;
  for (const ParticleHandle& curve : physics->SpawnForParents(&list)) {
    AttachTransform<PtclTr_Color>(*curve, &colours, crt_rand_unit());
    source->DrawAtlasCell(*curve);
  }
}

unsigned ZKW_PSTree_Curve::UpdateParticles(float step, const ParticleList&) {
  physics->Update(nullptr, step);
  return 1;
}

void ZKW_PSTree_Curve::ClearParticles() {
  physics->KillAll();
  for (const DS_SafePtr<ZKW_PSTree_Node>& child : children.Value())
    child->ClearParticles();
}

void ZKW_PSTree_Curve::OnTextureChanged() {
  ZKW_PSTree_Leaf::OnTextureChanged();
  if (ZKW_PtclSysPhys_Curves* curves = Curves()) {
    for (const PointStripe& stripe : curves->stripes)
      if (stripe.owner) source->DrawAtlasCell(*stripe.owner);
  }
}

void ZKW_PSTree_Curve::CreateDeviceObjects() {
  ZKW_PSTree_Leaf::CreateDeviceObjects();
  innerGlow.FitToRenderContext();
  DS_DocResManager* document = CurrentDocument();
  innerGlow.effect =
      document != nullptr ? document->GetEffect(innerGlowEffectLink) : ComRef<gfx::Effect>();
}

void ZKW_PSTree_Curve::FillVertices(QuadBatches& batches, size_t* index) {
  ParticleQuadBatch* batch = NextBatch(batches, index);
  if (batch == nullptr) return;
  ZKW_PtclSysPhys_Curves* curves = Curves();
  uint64_t vertexCount = 0, triangleCount = 0;
  if (curves != nullptr && HasPicture()) {
    for (const PointStripe& stripe : curves->stripes) {
      const size_t n = stripe.owner && stripe.points ? stripe.points->particles.size() : 0;
      if (n < 2) continue;
      vertexCount += 4 * n;
      triangleCount += 5 * (n - 1);
    }
  }
  // 16-bit indices name at most 65,536 vertices: the ribbons stop where the room ends.
  batch->EnsureCapacity(
      static_cast<uint32_t>(std::min<uint64_t>(vertexCount, ParticleQuadBatch::kMaxMeshVertices)),
      static_cast<uint32_t>(std::min<uint64_t>(triangleCount, UINT32_MAX)));
  const uint32_t room = std::min(batch->vertices.count, batch->VertexRoom());
  const uint32_t triangleRoom = std::min(batch->primitiveCount, batch->TriangleRoom());
  // Nothing is drawn until the counts of what was written are set.
  batch->vertices.count = 0;
  batch->primitiveCount = 0;
  if (room == 0) return;
  DX_V::PCT2* v = batch->LockVertices();
  if (v == nullptr) return;
  void* indexData = nullptr;
  if (!batch->indices || gfx::Failed(batch->indices->Lock(0, 0, &indexData, 0)) ||
      indexData == nullptr) {
    batch->UnlockVertices();
    return;
  }
  auto* indices = static_cast<uint16_t*>(indexData);

  const LinkTextureSet& picture = texture.frameSets.front();
  const float cellAspect = picture.aspect * static_cast<float>(source->atlasColumns) /
                           static_cast<float>(source->atlasRows);
  const float usedU = picture.usedU;
  const float opacity = static_cast<float>(colours.opacity.Scaled());
  const CurveSections sections = Sections();
  const float sectionsLength = sections.middle + sections.end + sections.start;
  const float pivot = pivotX.Scaled() + 0.5f;
  uint32_t written = 0, triangles = 0;
  std::vector<D3DXVECTOR3> positions;
  for (const PointStripe& stripe : curves->stripes) {
    if (written + 4 > room) break;
    if (!stripe.owner || !stripe.points || stripe.points->particles.size() < 2) continue;
    const ParticleRecord& c = *stripe.owner;
    positions.clear();
    for (const ParticleHandle& point : stripe.points->particles)
      positions.push_back(point->WorldPosition());
    const std::vector<CurvePoint> visible =
        VisiblePart(BuildCurvePoints(positions, normalise.Value() != 0), c.curve[2], c.curve[3]);

    const float h = static_cast<float>(width.Value()) * c.curve[0];
    const float length = sectionsLength * c.curve[1];
    const float tile = cellAspect * h;
    const float curveAlpha = ChainAlpha(c);
    const D3DXVECTOR3 at = c.WorldPosition();
    const D3DXVECTOR3& rgb = c.vectors[ParticleRecord::kColour];
    for (size_t j = 0; j < visible.size(); ++j) {
      if (written + 4 > room || (j > 0 && triangles + 5 > triangleRoom)) break;
      const CurvePoint& p = visible[j];
      const D3DXVECTOR3 centre = (p.position - D3DXVECTOR3(pivot, 0, 0)) * length;
      const float w = widthProfile.At(sections, c.curve[1], p.s) * h * 0.5f;
      // A ribbon of width 0 maps no texture length rather than dividing by it.
      const float tv = tile != 0.0f ? p.s * length / tile : 0.0f;
      const D3DXVECTOR3 corners[4] = {centre + p.join * w, centre, centre + p.normalIn * w,
                                      centre + p.normalOut * w};
      float us[4] = {0.0f, usedU * 0.5f, usedU, usedU};
      if (!p.sideFlag) {
        // The normals were turned over: the texture's edges swap sides with them.
        std::swap(us[0], us[2]);
        us[3] = us[2];
      }
      const float a =
          opacity * std::min(1.0f, opacityProfile.At(sections, c.curve[1], p.s) * curveAlpha);
      const uint32_t argb = PackedVertexColour(a, rgb);
      for (int n = 0; n < 4; ++n) {
        const D3DXVECTOR3 world =
            TransformedPoint(TransformedPoint(corners[n], c.rotationA) + at, c.scaleMatrix);
        const float u = c.presetCell[0] * us[n] + c.presetCell[2];
        v[written + n] = DX_V::PCT2{world.x, world.y, world.z, argb, u, tv, u, tv};
      }
      if (j > 0) {
        WriteSegmentIndices(indices + 3 * triangles, written - 4,
                            visible[j - 1].sideFlag != p.sideFlag);
        triangles += 5;
      }
      written += 4;
    }
  }
  batch->indices->Unlock();
  batch->UnlockVertices();
  batch->vertices.count = written;
  batch->primitiveCount = triangles;
}

void ZKW_PSTree_Curve::Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
                              int* readerCount) {
  const size_t at = *index;
  ZKW_PSTree_Leaf::Render(batches, index, renderer, readerCount);
  gfx::Effect* effect = TreeEffect();
  if (innerGlowSize.Value() == 0 || at >= batches.size() || effect == nullptr || !HasPicture())
    return;
  InnerGlowPasses(batches[at], effect, renderer);
}

void ZKW_PSTree_Curve::InnerGlowPasses(ParticleQuadBatch& batch, gfx::Effect* effect,
                                       DS_2D_Light& renderer) {
  gfx::Device* device = CurrentDevice();
  gfx::Effect* glow = innerGlow.effect.Get();
  gfx::Texture* mask = innerGlow.glowTarget.Get();
  if (device == nullptr || glow == nullptr || mask == nullptr || !innerGlow.HasTargets()) return;

  // The ribbons alone on transparent black, full size: the mask.
  ComRef<gfx::Surface> savedTarget, savedDepth;
  SaveRenderTargets(savedTarget, savedDepth);
  SetTextureAsTarget(mask);
  device->SetDepthStencilSurface(nullptr);
  renderer.PushView(innerGlow.glowWidth, innerGlow.glowHeight, 3);
  device->Clear(0, nullptr, gfx::ClearFlags::Target, 0x00000000, 1.0f, 0);
  effect->SetTexture("Texture0", texture.CurrentTexture().Get());
  batch.Draw(effect, BlendTechnique(), false);
  renderer.PopView();
  device->SetRenderTarget(0, savedTarget.Get());
  device->SetDepthStencilSurface(savedDepth.Get());

  // What the ribbons leave uncovered, reduced and blurred, so that it creeps over their edges.
  innerGlow.BeginFirstPass(renderer);
  innerGlow.BlurPass(innerGlow.targetA.Get(), mask, renderer, "InnerGlowFirstStep");
  innerGlow.Apply(renderer, 3);

  // That light in the glow colour, laid over the picture where the ribbons are.
  glow->SetTexture("Mask", mask);
  glow->SetTexture("Texture", innerGlow.targetA.Get());
  glow->SetFloat("TexW", static_cast<float>(innerGlow.glowWidth));
  glow->SetFloat("TexH", static_cast<float>(innerGlow.glowHeight));
  const auto colour =
      ColorWordFloats(innerGlow.glowColour.Value(),
                      static_cast<float>(innerGlow.glowColour.alpha.Scaled()) / 255.0f);
  glow->SetFloatArray("Color", colour.data(), 4);
  glow->SetTechnique("MaskedNormalEffect");
  renderer.DrawTexWithEffect(renderer.GetBackgroundNode(), glow);
}
