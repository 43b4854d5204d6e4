#include "particles/tree/line/line_node.h"

#include <algorithm>
#include <memory>

#include "particles/tree/line/line_ribbon.h"
#include "platform/math/d3dx_math.h"

ZKW_PtclSysNode_Line::ZKW_PtclSysNode_Line() {
  segments.ExecuteCommand(AListMediaParam::kAddItem, nullptr);
}

bool ZKW_PtclSysNode_Line::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysNode_Line", 2);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(anchor.Value());
  io.WriteDword(static_cast<uint32_t>(segments.GetCount()));
  const ZKW_StraightWidehtLine fallback;
  for (const DS_SafePtr<ZKW_StraightWidehtLine>& segment : segments.Value())
    WriteSegment(archive, segment ? *segment : fallback);
  io.WriteInt32(mode.Value());
  io.WriteUInt32(textureScale.Value());
  return ZKW_PtclSysNodePic_TexDynamic::Save(archive);
}

void ZKW_PtclSysNode_Line::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  uint32_t value = 0;
  io.ReadUInt32(value);
  anchor.SetValue(value);
  uint32_t count = 0;
  io.ReadDword(count);
  segments.Clear();
  // A segment record holds at least its three words and two value-and-spread pairs.
  if (io.CountFits(count, 28)) {
    for (uint32_t i = 0; i < count; ++i) {
      auto segment = std::make_unique<ZKW_StraightWidehtLine>();
      ReadSegment(archive, *segment);
      segments.Append(DS_SafePtr<ZKW_StraightWidehtLine>(std::move(segment)));
    }
  }
  segments.ExecuteCommand(0, nullptr);
  if (version > 1) {
    int32_t clip = 0;
    io.ReadInt32(clip);
    mode.SetValueSilently(clip);
    io.ReadUInt32(value);
    textureScale.SetValue(value);
  }
  ZKW_PtclSysNodePic_TexDynamic::ReadBody(archive, ReadBaseHeader(archive));
}

int ZKW_PtclSysNode_Line::UpdateParticles(float step, ParticleList* parents) {
  return HasSegments() ? UpdateMeshNode(step, parents) : 0;
}

void ZKW_PtclSysNode_Line::Render(QuadBatches& batches, size_t* index, DS_2D_Light& renderer,
                                  int* readerCount) {
  if (HasSegments()) RenderMeshNode(batches, index, renderer, readerCount);
}

int ZKW_PtclSysNode_Line::NeedsPictureBelow() const {
  return HasSegments() ? ZKW_PtclSysNode_Picture::NeedsPictureBelow() : 0;
}

void ZKW_PtclSysNode_Line::BuildProfile() {
  profile = LineProfile();
  for (const DS_SafePtr<ZKW_StraightWidehtLine>& segment : segments.Value())
    if (segment) profile.AppendSegment(*segment);
}

float ZKW_PtclSysNode_Line::UvScale() const {
  if (texture.frameSets.empty() || texture.frameSets.front().sourceWidth == 0) return 0.0f;
  return textureScale.Scaled() / static_cast<float>(texture.frameSets.front().sourceWidth);
}

D3DXMATRIX ZKW_PtclSysNode_Line::RibbonMatrix(const ParticleRecord& particle) const {
  const D3DXVECTOR3& scale = particle.vectors[ParticleRecord::kScaleXYZ];
  D3DXMATRIX t, s;
  D3DXMatrixTranslation(&t, profile.totalLength * anchor.Scaled(), 0, 0);
  D3DXMatrixScaling(&s, mode.Value() == static_cast<int>(LineClipMode::kWhole) ? scale.x : 1.0f,
                    scale.y, 1.0f);
  return t * s * particle.WorldMatrix();
}

void ZKW_PtclSysNode_Line::FillVertices(QuadBatches& batches, size_t* index) {
  if (!HasSegments()) return;
  BuildProfile();
  FillChildren(batches, index);
  if (*index < batches.size()) FillRibbons(batches[*index]);
  ++*index;
}

void ZKW_PtclSysNode_Line::FillRibbons(ParticleQuadBatch& batch) {
  const ParticleList empty;
  const ParticleList& particles = physics ? physics->particles : empty;
  const uint64_t n = profile.points.size();
  // A clipped profile has at most as many points as the whole one, so every ribbon fits in the
  // room of a whole one; room is made only for the ribbons that 16-bit indices can reach.
  const uint64_t perVertices = n >= 2 ? 3 * n - 1 : 0, perTriangles = n >= 2 ? 4 * (n - 1) : 0;
  const uint64_t ribbons =
      perVertices == 0
          ? 0
          : std::min<uint64_t>(particles.size(), LineRibbonWriter::kMaxVertices / perVertices);
  batch.EnsureCapacity(static_cast<uint32_t>(ribbons * perVertices),
                       static_cast<uint32_t>(ribbons * perTriangles));
  // Without both buffers locked nothing is written, and nothing is drawn either.
  DX_V::PCT2* vertices = batch.LockVertices();
  uint16_t* indices = vertices != nullptr ? batch.LockIndices() : nullptr;
  if (indices == nullptr) {
    if (vertices != nullptr) batch.UnlockVertices();
    batch.EnsureCapacity(0, 0);
    return;
  }
  LineRibbonWriter writer({vertices, batch.VertexRoom()},
                          {indices, size_t{3} * batch.TriangleRoom()});
  const float uvScale = UvScale();
  const uint32_t rgb = colour.Value();
  const float alphaByte = static_cast<float>(colour.alpha.Scaled());
  for (const ParticleHandle& handle : particles) {
    const ParticleRecord& p = *handle;
    ClipProfile(profile.points, profile.totalLength, mode.Value(),
                p.vectors[ParticleRecord::kScaleXYZ].x, clipped_);
    float alpha = p.floats[ParticleRecord::kAlpha];
    if (const ParticleRecord* parentParticle = p.Parent()) alpha *= parentParticle->WorldAlpha();
    const D3DXVECTOR3& tint = p.vectors[ParticleRecord::kColour];
    const RibbonColour factors{static_cast<float>(rgb & 0xFF) / 255.0f * tint.x,
                               static_cast<float>((rgb >> 8) & 0xFF) / 255.0f * tint.y,
                               static_cast<float>((rgb >> 16) & 0xFF) / 255.0f * tint.z,
                               alphaByte / 255.0f * std::min(1.0f, alpha)};
    if (!writer.Write(clipped_, RibbonMatrix(p), factors, uvScale)) break;
  }
  batch.UnlockIndices();
  batch.UnlockVertices();
  // The buffers have room for what was written: they are kept and draw only that.
  batch.EnsureCapacity(writer.VertexCount(), writer.TriangleCount());
}
