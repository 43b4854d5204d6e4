#include "particles/classic/control/particle_system_mech.h"

#include <algorithm>
#include <utility>

#include "particles/classic/appearance/particle_appearance.h"
#include "particles/classic/control/particle_system_ctrl.h"

namespace {

// Quads [from, to) of the vertices get the base coordinates.
void WriteBaseUVs(DX_V::PCT* vertices, uint32_t from, uint32_t to,
                  const ZKW_ParticleSystemMech::QuadUVs& uvs) {
  DX_V::PCT* v = vertices + size_t{4} * from;
  for (uint32_t q = from; q < to; ++q, v += 4) {
    v[0].u = uvs.u0, v[0].v = uvs.v0;
    v[1].u = uvs.u0, v[1].v = uvs.v1;
    v[2].u = uvs.u1, v[2].v = uvs.v0;
    v[3].u = uvs.u1, v[3].v = uvs.v1;
  }
}

}  // namespace

ZKW_ParticleSystemMech::ZKW_ParticleSystemMech(std::unique_ptr<ZKW_ParticleSystemCtrl> control)
    : DS_ABObj(std::move(control)), ctrl(static_cast<ZKW_ParticleSystemCtrl*>(Description())) {}

ZKW_ParticleSystemMech::~ZKW_ParticleSystemMech() = default;

void ZKW_ParticleSystemMech::Render(DS_2D_Light& renderer, int* readerCount) {
  if (ctrl != nullptr) ctrl->Render(renderer, readerCount);
}

int ZKW_ParticleSystemMech::NeedsPictureBelow() const {
  return IsActive() && ctrl != nullptr ? ctrl->NeedsTarget() : 0;
}

void ZKW_ParticleSystemMech::Update(float localTime) {
  if (ctrl != nullptr) ctrl->Update(localTime);
}

int ZKW_ParticleSystemMech::GetObjectKind() const {
  return ctrl != nullptr ? ctrl->GetObjectKind() : DS_ABObj::GetObjectKind();
}

void ZKW_ParticleSystemMech::ResetBatches(size_t count) {
  batches.clear();
  batches.resize(count);
  quadCounts.assign(count, 0);
}

void ZKW_ParticleSystemMech::SetQuadColors(float alpha, DX_V::PCT* quad) const {
  if (ctrl == nullptr) return;
  const ColorSetParams& colours = ctrl->appearance.colorSet;
  const std::vector<uint32_t>& list = colours.colors.Value();
  const uint32_t first = list.empty() ? 0xFFFFFF : list.front();
  SetQuadVertexColors(first, static_cast<float>(colours.opacity.Scaled()) * alpha, quad);
}

void ZKW_ParticleSystemMech::SetBatchQuadCount(uint8_t batch, uint32_t quads,
                                               const LinkTextureSet* frames,
                                               const ParticleAppearance* look) {
  ReserveBatch(batch, quads);
  FillBatchUVs(batch, frames, look);
}

uint32_t ZKW_ParticleSystemMech::ReserveBatch(uint8_t batch, uint32_t quads) {
  if (batch >= batches.size()) return 0;
  PCTSpriteArray& mesh = batches[batch];
  if (mesh.QuadCapacity() < quads) {
    mesh.vertices.buffer.Reset();
    mesh.Reserve(quads);
  }
  quadCounts[batch] = std::min(quads, mesh.QuadCapacity());
  return quadCounts[batch];
}

DX_V::PCT* ZKW_ParticleSystemMech::LockQuads(uint8_t batch, size_t quads,
                                             const ParticleAppearance& look, uint32_t& room) {
  QuadUVs uvs{};
  DX_V::PCT* v = LockQuadsUnmapped(batch, quads, look, room, uvs);
  if (v != nullptr) WriteBaseUVs(v, 0, batches[batch].QuadCapacity(), uvs);
  return v;
}

DX_V::PCT* ZKW_ParticleSystemMech::LockQuadsUnmapped(uint8_t batch, size_t quads,
                                                     const ParticleAppearance& look, uint32_t& room,
                                                     QuadUVs& uvs) {
  room = 0;
  if (batch >= batches.size()) return nullptr;
  if (look.frames.empty()) {
    quadCounts[batch] = 0;
    return nullptr;
  }
  ReserveBatch(batch, static_cast<uint32_t>(std::min<size_t>(quads, UINT32_MAX)));
  uvs = BaseUVs(&look.frames.front(), &look);
  DX_V::PCT* v = batches[batch].LockVertices();
  if (v != nullptr) room = quadCounts[batch];
  return v;
}

void ZKW_ParticleSystemMech::UnlockQuads(uint8_t batch, uint32_t written, const QuadUVs& uvs) {
  PCTSpriteArray& mesh = batches[batch];
  auto* v = static_cast<DX_V::PCT*>(mesh.vertices.locked);
  if (v != nullptr) WriteBaseUVs(v, written, mesh.QuadCapacity(), uvs);
  mesh.UnlockVertices();
  quadCounts[batch] = written;
}

ZKW_ParticleSystemMech::QuadUVs ZKW_ParticleSystemMech::BaseUVs(const LinkTextureSet* frames,
                                                                const ParticleAppearance* look) {
  QuadUVs uvs{0.0f, frames != nullptr ? frames->usedU : 1.0f,
              frames != nullptr ? frames->usedV : 1.0f, 0.0f};
  if (look != nullptr && look->flipHorizontal.Value() != 0) std::swap(uvs.u0, uvs.u1);
  if (look != nullptr && look->flipVertical.Value() != 0) std::swap(uvs.v0, uvs.v1);
  return uvs;
}

void ZKW_ParticleSystemMech::FillBatchUVs(uint8_t batch, const LinkTextureSet* frames,
                                          const ParticleAppearance* look) {
  if (batch >= batches.size()) return;
  PCTSpriteArray& mesh = batches[batch];
  DX_V::PCT* v = mesh.LockVertices();
  if (v == nullptr) return;
  WriteBaseUVs(v, 0, mesh.QuadCapacity(), BaseUVs(frames, look));
  mesh.UnlockVertices();
}

void ZKW_ParticleSystemMech::DrawBatch(gfx::Effect* effect, gfx::EffectHandle technique,
                                       uint8_t batch) {
  if (batch >= batches.size()) return;
  batches[batch].Draw(effect, technique, quadCounts[batch]);
}
