#include "particles/classic/kinds/single_object_path.h"

#include "core/param/param_reads.h"
#include "particles/classic/control/particle_system_mech.h"

bool ZKW_ParticlePathCtrl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_ParticlePathCtrl", kVersion);
  WriteSmartPointVector(archive, path.Value());
  return ZKW_ParticleSystemCtrl::Save(archive);
}

bool ZKW_ParticlePathCtrl::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadSmartPointVector(archive, path.RawValue());
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_ParticlePathCtrl::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  ZKW_ParticleSystemCtrl::AttachRuntimeObject(runtime);
  path.Rebuild();
  RewindCursor();
}

void ZKW_ParticlePathCtrl::RewindCursor() {
  path.cursor = PathCursor{};
  path.cursor.direction = D3DXVECTOR3(0, 0, 0);
}

ZKW_SigleObjectPath::ZKW_SigleObjectPath() {
  pathSpeed.SetScale(0.1f, 0.0f);
}

bool ZKW_SigleObjectPath::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_SigleObjectPath", kVersion);
  archive.io().WriteUInt32(pathSpeed.Value());
  archive.io().WriteInt32(orientation.Value());
  return ZKW_ParticlePathCtrl::Save(archive);
}

bool ZKW_SigleObjectPath::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadChangedUInt32(archive, pathSpeed);
  archive.io().ReadInt32(orientation.RawValue());
  return ZKW_ParticlePathCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_SigleObjectPath::Restart() {
  RewindCursor();
}

void ZKW_SigleObjectPath::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  ZKW_ParticlePathCtrl::AttachRuntimeObject(runtime);
  if (runtime == nullptr) return;
  runtime->ResetBatches(1);
  runtime->SetBatchQuadCount(0, 1, appearance.frames.empty() ? nullptr : &appearance.frames[0],
                             &appearance);
}

void ZKW_SigleObjectPath::Update(float t) {
  speed.Advance(t);
  appearance.Tick(t);
  if (mech == nullptr || mech->batches.empty()) return;
  // No point to stand on: nothing to draw.
  if (path.Positions().empty()) {
    mech->quadCounts[0] = 0;
    return;
  }
  PCTSpriteArray& batch = mech->batches[0];
  DX_V::PCT* v = batch.LockVertices();
  if (v == nullptr) return;
  path.cursor.distance += pathSpeed.Scaled();
  D3DXVECTOR3 at(0, 0, 0);
  path.StepAlongPoints(&at);
  const D3DXVECTOR3& d = path.cursor.direction;
  D3DXVECTOR3 a(1, 0, 0), b(0, 1, 0);
  switch (orientation.Value()) {
    case 1:
      a = d;
      b = D3DXVECTOR3(d.y, -d.x, 0);
      break;
    case 2:
      if (d.x < 0.0f) a = D3DXVECTOR3(-1, 0, 0);
      break;
    case 3:
      if (d.y > 0.0f) b = D3DXVECTOR3(0, -1, 0);
      break;
    default:
      break;
  }
  const LinkTextureSet* frames = appearance.frames.empty() ? nullptr : &appearance.frames[0];
  // Pixels x size percent, as whole numbers that never overflow.
  const int64_t size = appearance.size.Value();
  const float w =
      static_cast<float>(int64_t{frames != nullptr ? frames->sourceWidth : 0} * size) * 0.01f;
  const float h =
      static_cast<float>(int64_t{frames != nullptr ? frames->sourceHeight : 0} * size) * 0.01f;
  const D3DXVECTOR3 halfA = a * (w * 0.5f), halfB = b * (h * 0.5f);
  const D3DXVECTOR3 corners[4] = {at - halfA + halfB, at - halfA - halfB, at + halfA + halfB,
                                  at + halfA - halfB};
  for (int i = 0; i < 4; ++i) {
    v[i].x = corners[i].x;
    v[i].y = corners[i].y;
    v[i].z = corners[i].z;
  }
  mech->SetQuadColors(1.0f, v);
  batch.UnlockVertices();
  mech->FillBatchUVs(0, frames, &appearance);
  mech->quadCounts[0] = 1;
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_SigleObjectPath::Clone() const {
  return std::make_unique<ZKW_SigleObjectPath>(*this);
}
