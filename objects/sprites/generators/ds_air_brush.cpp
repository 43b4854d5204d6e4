#include "objects/sprites/generators/ds_air_brush.h"

#include <algorithm>

#include "core/list_limits.h"
#include "objects/sprites/generators/ds_particles_obj.h"

namespace {

// A dab of default channels at the position read (x, y, z); its previous position stays at the
// origin.
GeneratorParticle ReadDab(DS_IOF_Virtual& io) {
  GeneratorParticle dab;
  io.ReadFloat(dab.position.x);
  io.ReadFloat(dab.position.y);
  io.ReadFloat(dab.position.z);
  return dab;
}

}  // namespace

DS_AirBrush::DS_AirBrush() = default;

bool DS_AirBrush::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_AirBrush", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(size.Value());
  io.WriteUInt32(static_cast<uint32_t>(dabs.size()));
  for (const GeneratorParticle& dab : dabs) {
    io.WriteFloat(dab.position.x);
    io.WriteFloat(dab.position.y);
    io.WriteFloat(dab.position.z);
    io.WriteUInt32(5);
    for (int i = 0; i < 5; ++i) {
      io.WriteFloat(dab.channels[i]);
      io.WriteFloat(dab.channels[5 + i]);
    }
  }
  return DS_TexParticleGenerator::Save(archive);
}

bool DS_AirBrush::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(size.RawValue());
  const bool pairs = version >= 3;
  uint32_t n = 0;
  if (version > 1) {
    io.ReadUInt32(n);
    // A dab holds at least its position and its channel count.
    if (!io.CountFits(n, 4 * sizeof(float))) n = 0;
    for (uint32_t k = 0; k < n && !io.Failed(); ++k) {
      GeneratorParticle dab = ReadDab(io);
      uint32_t m = 0;
      io.ReadUInt32(m);
      if (!io.CountFits(m, (pairs ? 2 : 1) * sizeof(float))) break;
      for (uint32_t i = 0; i < m && !io.Failed(); ++i) {
        float first = 0.0f, second = 0.0f;
        io.ReadFloat(first);
        if (pairs) io.ReadFloat(second);
        if (i >= 5) continue;
        dab.channels[i] = first;
        if (pairs) dab.channels[5 + i] = second;
      }
      if (version == 2) dab.channels[9] = 0.0f;
      if (dabs.size() < kMaxParticlesPerList) dabs.push_back(std::move(dab));
    }
  } else {
    io.ReadDword(n);
    if (!io.CountFits(n, 3 * sizeof(float))) n = 0;
    for (uint32_t k = 0; k < n && !io.Failed(); ++k) {
      GeneratorParticle dab = ReadDab(io);
      if (dabs.size() < kMaxParticlesPerList) dabs.push_back(std::move(dab));
    }
  }
  return DS_TexParticleGenerator::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_AirBrush::Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  RenderBlendMask(renderer, obj, PictureTexture(0));
}

void DS_AirBrush::Update(float /*t*/, DS_ParticlesObj& /*obj*/) {}

void DS_AirBrush::AttachRuntimeObject(DS_ParticlesObj& obj) {
  DS_TexParticleGenerator::AttachRuntimeObject(obj);
  obj.SetLayerCount(1);
}

void DS_AirBrush::AddParticle(const D3DXVECTOR3& position, float /*a*/, float /*b*/, float /*c*/,
                              float /*d*/) {
  if (dabs.size() >= kMaxParticlesPerList) return;
  dabs.emplace_back(position);
  FillLayer();
}

void DS_AirBrush::FillLayer() {
  DS_ParticlesObj* obj = runtimeObject;
  if (obj == nullptr) return;
  obj->SetQuadCount(0, static_cast<unsigned>(std::min<size_t>(dabs.size(), kMaxParticlesPerList)));
  if (!obj->LockLayer(0)) return;
  const float timeline = timing.TimelineValue();
  const float s = static_cast<float>(size.Value());
  unsigned i = 0;
  for (const GeneratorParticle& dab : dabs)
    obj->WriteOrientedQuad(i++, dab, s, aspect * s, timeline, colour1);
  obj->UnlockLayer(0);
}

void RunDabProcesses(std::list<GeneratorParticle>& dabs, float dt) {
  for (GeneratorParticle& dab : dabs)
    (void)dab.RunProcesses(dt);
}
