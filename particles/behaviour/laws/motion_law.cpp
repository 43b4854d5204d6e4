#include "particles/behaviour/laws/motion_law.h"

#include <cmath>

#include "core/crt_rand.h"
#include "core/param/param_reads.h"
#include "core/registry/read_by_name.h"
#include "particles/behaviour/particle/motion_transforms.h"
#include "platform/math/d3dx_math.h"

namespace {

constexpr char16_t kBaseName[] = u"ZKW_PtclSys_MotionLaw";

// The base law's own record, which stands for "no law" where an owner has none.
class NoMotionLaw final : public ZKW_PtclSys_MotionLaw {};

}  // namespace

bool ZKW_PtclSys_MotionLaw::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, kBaseName, 2);
  archive.io().WriteInt32(detach.Value());
  return true;
}

void ZKW_PtclSys_MotionLaw::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version > 1) archive.io().ReadInt32(detach.RawValue());
}

void ZKW_PtclSys_MotionLaw::ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) {
  if (shape != nullptr) {
    D3DXVECTOR3& surface = p->vectors[ParticleRecord::kSurface];
    float uv[2] = {surface.x, surface.y};
    if (!shape->RandomPoint(&p->Position(), uv)) p->flags |= ParticleRecord::kDead;
    surface.x = uv[0];
    surface.y = uv[1];
  }
  if (detach.Value() != 0) p->DetachFromParent();
}

std::unique_ptr<ZKW_PtclSys_MotionLaw> ReadMotionLaw(DS_IOF_Archive& archive) {
  RecordNestingScope nesting;
  zkw_string name;
  uint32_t version = 0;
  if (!ReadRecordHeader(archive, nesting, name, version)) return nullptr;
  if (name == kBaseName) {
    NoMotionLaw().ReadBody(archive, version);
    return nullptr;
  }
  std::unique_ptr<ZKW_IOF_Item> item = ReadBodyByName(archive, GetIofItemRegistry(), name, version);
  auto* law = dynamic_cast<ZKW_PtclSys_MotionLaw*>(item.get());
  if (law == nullptr) return nullptr;
  item.release();
  return std::unique_ptr<ZKW_PtclSys_MotionLaw>(law);
}

void WriteMotionLaw(DS_IOF_Archive& archive, const ZKW_PtclSys_MotionLaw* law) {
  if (law != nullptr) {
    law->Save(archive);
  } else {
    NoMotionLaw().Save(archive);
  }
}

bool ZKW_PtclSysMLaw_Kinematic::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysMLaw_Kinematic", 1);
  WriteGraphSpreadPrm(archive, speed);
  return ZKW_PtclSys_MotionLaw::Save(archive);
}

void ZKW_PtclSysMLaw_Kinematic::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadGraphSpreadPrm(archive, speed);
  ReadLawPart(archive);
}

float ZKW_PtclSysMLaw_Kinematic::DrawSpeed() const {
  unsigned cursor = 1;
  return speed.FactorAt(crt_rand_unit(), 0.0f, &cursor);
}

bool ZKW_PtclSysMLaw_Vector::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysMLaw_Vector", 2);
  archive.io().WriteUInt32(direction.Value());
  archive.io().WriteUInt32(spread.Value());
  return ZKW_PtclSysMLaw_Kinematic::Save(archive);
}

void ZKW_PtclSysMLaw_Vector::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadChangedUInt32(archive, direction);
  if (version > 1) ReadChangedUInt32(archive, spread);
  ZKW_PtclSysMLaw_Kinematic::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_PtclSysMLaw_Vector::ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) {
  ZKW_PtclSys_MotionLaw::ApplyToParticle(p, shape);
  const float r1 = crt_rand_unit();
  const float angle = -(direction.Scaled() + spread.Scaled() * (r1 - 0.5f));
  D3DXVECTOR3& heading = p->vectors[ParticleRecord::kDirection];
  heading = D3DXVECTOR3(std::cos(angle), std::sin(angle), 0.0f);
  p->Velocity() = heading * DrawSpeed();
}

bool ZKW_PtclSysMLaw_Normal::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysMLaw_Normal", 1);
  return ZKW_PtclSysMLaw_Vector::Save(archive);
}

void ZKW_PtclSysMLaw_Normal::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ZKW_PtclSysMLaw_Vector::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_PtclSysMLaw_Normal::ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) {
  if (shape == nullptr) return;
  D3DXVECTOR3& surface = p->vectors[ParticleRecord::kSurface];
  surface.x = crt_rand_unit();
  surface.y = crt_rand_unit();
  float uv[2] = {surface.x, surface.y};
  D3DXVECTOR3 d(0, 0, 0);
  if (!shape->PointAt(uv, &p->Position(), &d)) {
    p->flags |= ParticleRecord::kDead;
    return;
  }
  if (d.x == 0.0f && d.y == 0.0f && d.z == 0.0f) shape->NormalAt(&d, p->Position());
  const float r1 = crt_rand_unit();
  D3DXMATRIX turn;
  D3DXMatrixRotationZ(&turn, -(direction.Scaled() + spread.Scaled() * (r1 - 0.5f)));
  D3DXVECTOR3& heading = p->vectors[ParticleRecord::kDirection];
  D3DXVec3TransformNormal(&heading, &d, &turn);
  p->Velocity() = heading * DrawSpeed();
}

bool ZKW_PtclSysMLaw_VelocityField::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysMLaw_VelocityField", 2);
  WriteVelocityFieldPrm(archive, field);
  return ZKW_PtclSysMLaw_Kinematic::Save(archive);
}

void ZKW_PtclSysMLaw_VelocityField::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version > 1) ReadVelocityFieldPrm(archive, field);
  ZKW_PtclSysMLaw_Kinematic::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_PtclSysMLaw_VelocityField::ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) {
  ZKW_PtclSys_MotionLaw::ApplyToParticle(p, shape);
  AttachTransform<PtclTr_VelocityField>(*p, &field, crt_rand_unit());
}

bool ZKW_PtclSysMLaw_Loop::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysMLaw_Loop", 2);
  WriteLoopPrm(archive, loop);
  archive.io().WriteInt32(attachMode.Value());
  return ZKW_PtclSys_MotionLaw::Save(archive);
}

void ZKW_PtclSysMLaw_Loop::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadLoopPrm(archive, loop);
  if (version > 1) archive.io().ReadInt32(attachMode.RawValue());
  ReadLawPart(archive);
}

void ZKW_PtclSysMLaw_Loop::ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) {
  if (shape == nullptr) return;
  D3DXVECTOR3& surface = p->vectors[ParticleRecord::kSurface];
  surface.x = crt_rand_unit();
  surface.y = crt_rand_unit();
  float uv[2] = {surface.x, surface.y};
  if (!shape->PointAt(uv, &p->Position(), nullptr)) {
    float scratch[2] = {surface.x, surface.y};
    if (!shape->RandomPoint(&p->Position(), scratch)) p->flags |= ParticleRecord::kDead;
    surface.x = scratch[0];
    surface.y = scratch[1];
  }
  const int mode = attachMode.Value();
  if (mode == 1) {
    p->DetachFromParent();
  } else if (mode == 2) {
    AttachTransform<PtclTr_Loop>(*p, shape, surface.x, surface.y, &loop, crt_rand_unit());
  }
}
