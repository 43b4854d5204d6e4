#include "particles/behaviour/physics/root_point.h"

#include "core/param/param_reads.h"
#include "particles/behaviour/particle/particle_transforms.h"
#include "platform/math/d3dx_math.h"

bool PtclTr_Orientation::Apply(float dt, ParticleRecord* p) {
  if (rotation.spinSpeed->Value() == 0) {
    spinAngle = 0.0f;
  } else {
    // Direction 0 turns one way, 1 the other; the sign is made in float so that any stored
    // direction (the file's whole Int32 range) stays defined.
    spinAngle += (1.0f - 2.0f * static_cast<float>(rotation.spinDirection->Value())) * dt *
                 rotation.spinSpeed->Scaled();
  }
  D3DXMatrixRotationZ(&p->rotationA, spinAngle - rotation.angle->Radians());
  return true;
}

ZKW_PtclSysPhys_RootPnt::ZKW_PtclSysPhys_RootPnt(const D3DXVECTOR3& at) : position(at) {
  // Until the clock's first tick the wrapped parameters act with their own values.
  size.modulated = size.Scaled();
  translucency.modulated = translucency.Scaled();
  MakeRootParticle();
}

void ZKW_PtclSysPhys_RootPnt::MakeRootParticle() {
  ParticleHandle root(std::make_unique<ParticleRecord>());
  AttachTransform<PtclTr_Orientation>(*root, RootRotation{&angle, &spinDirection, &spinSpeed});
  AttachTransform<PtclTr_RefMultiplicator>(*root, ParticleRecord::kScale, &size.modulated);
  AttachTransform<PtclTr_RefMultiplicator>(*root, ParticleRecord::kAlpha, &translucency.modulated);
  particles.push_back(std::move(root));
}

bool ZKW_PtclSysPhys_RootPnt::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_RootPnt", 3);
  DS_IOF_Virtual& io = archive.io();
  io.WriteFloat(position.Value().x);
  io.WriteFloat(position.Value().y);
  io.WriteFloat(position.Value().z);
  io.WriteInt32(2);
  io.WriteInt32(spinDirection.Value());
  io.WriteUInt32(spinSpeed.Value());
  io.WriteUInt32(angle.Value());
  WriteChronoWrap(archive, size);
  WriteChronoWrap(archive, translucency);
  return ZKW_PtclSysPhys_Points::Save(archive);
}

void ZKW_PtclSysPhys_RootPnt::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  D3DXVECTOR3& at = position.RawValue();
  io.ReadFloat(at.x);
  io.ReadFloat(at.y);
  io.ReadFloat(at.z);
  int32_t angleFormat = 2;
  io.ReadInt32(angleFormat);
  io.ReadInt32(spinDirection.RawValue());
  ReadChangedUInt32(archive, spinSpeed);
  ReadChangedUInt32(archive, angle);
  if (angleFormat < 2) angle.SetValue(360u - angle.Value());
  if (version >= 3) {
    ReadChronoWrap(archive, size);
    ReadChronoWrap(archive, translucency);
  } else if (version == 2) {
    ReadChangedUInt32(archive, size);
    ReadChangedUInt32(archive, translucency);
  }
  size.modulated = size.Scaled();
  translucency.modulated = translucency.Scaled();
  ZKW_PtclSysPhys_Points::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_PtclSysPhys_RootPnt::KillAll() {
  ZKW_PtclSysPhys_Points::KillAll();
  MakeRootParticle();
}

ParticleList ZKW_PtclSysPhys_RootPnt::Update(ParticleList*, float step) {
  ParticleRecord& root = Root();
  const D3DXVECTOR3& at = position.Value();
  root.Position() =
      D3DXVECTOR3(at.x + targetOffset[0], at.y + targetOffset[1], at.z + targetOffset[2]);
  root.Update(step);
  return {};
}
