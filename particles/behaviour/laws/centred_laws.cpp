#include "particles/behaviour/laws/centred_laws.h"

#include <cmath>

#include "core/crt_rand.h"
#include "core/param/param_reads.h"
#include "particles/behaviour/particle/motion_transforms.h"
#include "platform/math/d3dx_math.h"

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

}  // namespace

bool ZKW_PtclSysMLaw_Centred::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysMLaw_Centred", 1);
  WriteGraphSpreadPrm(archive, speed);
  const D3DXVECTOR3& offset = centreOffset.Value();
  archive.io().WriteFloat(offset.x);
  archive.io().WriteFloat(offset.y);
  archive.io().WriteFloat(offset.z);
  return ZKW_PtclSys_MotionLaw::Save(archive);
}

void ZKW_PtclSysMLaw_Centred::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadGraphSpreadPrm(archive, speed);
  D3DXVECTOR3& offset = centreOffset.RawValue();
  archive.io().ReadFloat(offset.x);
  archive.io().ReadFloat(offset.y);
  archive.io().ReadFloat(offset.z);
  ReadLawPart(archive);
}

float ZKW_PtclSysMLaw_Centred::DrawSpeed() const {
  unsigned cursor = 1;
  return speed.FactorAt(crt_rand_unit(), 0.0f, &cursor);
}

D3DXVECTOR3 ZKW_PtclSysMLaw_Centred::CentreOf(const ZKW_VGeom2D* shape) const {
  D3DXVECTOR3 c(0, 0, 0);
  if (shape != nullptr) shape->GetCenter(&c);
  return c + centreOffset.Value();
}

bool ZKW_PtclSysMLaw_Radial::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysMLaw_Radial", 3);
  archive.io().WriteInt32(mode.Value());
  return ZKW_PtclSysMLaw_Centred::Save(archive);
}

void ZKW_PtclSysMLaw_Radial::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version > 1) archive.io().ReadInt32(mode.RawValue());
  if (version > 2) {
    ReadCentredPart(archive);
  } else {
    ReadBaseHeader(archive);
    ReadGraphSpreadPrm(archive, speed);
    ReadLawPart(archive);
  }
}

void ZKW_PtclSysMLaw_Radial::ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) {
  ZKW_PtclSys_MotionLaw::ApplyToParticle(p, shape);
  const D3DXVECTOR3 d = p->Position() - CentreOf(shape);
  const float length = D3DXVec3Length(&d);
  D3DXVECTOR3 direction(1, 0, 0);
  if (length > 0.0f) {
    direction = d / length;
  } else if (shape != nullptr) {
    shape->RandomDirection(&direction);
  } else {
    // No shape to ask: the same kind of draw a shape makes.
    const double a = static_cast<double>(crt_rand_unit()) * 6.283185307179586;
    direction = D3DXVECTOR3(static_cast<float>(std::cos(a)), static_cast<float>(-std::sin(a)), 0);
  }
  p->vectors[ParticleRecord::kDirection] = direction;
  float s = 1.0f;
  if (mode.Value() == 1) {
    s = -1.0f;
  } else if (mode.Value() == 2) {
    s = crt_rand() % 2 == 0 ? 1.0f : -1.0f;
  }
  p->Velocity() = direction * (s * DrawSpeed());
}

bool ZKW_PtclSysMLaw_Spiral::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysMLaw_Spiral", 2);
  WriteSpiralPrm(archive, spiral);
  return ZKW_PtclSysMLaw_Centred::Save(archive);
}

void ZKW_PtclSysMLaw_Spiral::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadSpiralPrm(archive, spiral);
  if (version > 1) {
    ReadCentredPart(archive);
  } else {
    ReadLawPart(archive);
  }
}

void ZKW_PtclSysMLaw_Spiral::ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) {
  ZKW_PtclSys_MotionLaw::ApplyToParticle(p, shape);
  const float r = crt_rand_unit();
  const int sign = crt_rand() % 2 != 0 ? -1 : 1;
  AttachTransform<PtclTr_Spiral>(*p, r, sign, &spiral, shape, &centreOffset);
}

ZKW_PtclSysMLCentred_Tunel::ZKW_PtclSysMLCentred_Tunel() {
  speed.value.SetFactor(2.0f);
}

bool ZKW_PtclSysMLCentred_Tunel::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysMLCentred_Tunel", 1);
  archive.io().WriteUInt32(depth.Value());
  archive.io().WriteInt32(directionMode.Value());
  archive.io().WriteInt32(reverse.Value());
  archive.io().WriteUInt32(distance.Value());
  return ZKW_PtclSysMLaw_Centred::Save(archive);
}

void ZKW_PtclSysMLCentred_Tunel::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadChangedUInt32(archive, depth);
  archive.io().ReadInt32(directionMode.RawValue());
  archive.io().ReadInt32(reverse.RawValue());
  ReadChangedUInt32(archive, distance);
  ReadCentredPart(archive);
}

void ZKW_PtclSysMLCentred_Tunel::ApplyToParticle(ParticleRecord* p, const ZKW_VGeom2D* shape) {
  ZKW_PtclSys_MotionLaw::ApplyToParticle(p, shape);
  AttachTransform<Transform>(*p, this, crt_rand() % 2 != 0 ? -1.0f : 1.0f);
  p->flags |= ParticleRecord::kNoKinematic;
}

bool ZKW_PtclSysMLCentred_Tunel::Transform::Apply(float dt, ParticleRecord* p) {
  const D3DXVECTOR3 c = law->CentreOf(law->centre);
  const int mode = law->directionMode.Value();
  const float e = mode == 0 ? 1.0f : mode == 1 ? -1.0f : sign;
  const float angle = e * law->DrawSpeed() * dt * kRadiansPerDegree;
  D3DXMATRIX toCentre, turn, back;
  D3DXMatrixTranslation(&toCentre, -c.x, -c.y, -c.z);
  D3DXMatrixRotationZ(&turn, angle);
  D3DXMatrixTranslation(&back, c.x, c.y, c.z);
  const D3DXMATRIX about = toCentre * turn * back;
  D3DXVECTOR3& position = p->Position();
  D3DXVec3TransformCoord(&position, &position, &about);
  const float fullDepth = law->depth.Scaled();
  const float life = p->floats[ParticleRecord::kLife];
  const float h = law->reverse.Value() == 0 ? fullDepth * life : fullDepth * (1.0f - life);
  const D3DXVECTOR3 d = c - position;
  position.z = h;
  p->Velocity() = d;
  const float k = h / (law->distance.Scaled() + h);
  p->vectors[ParticleRecord::kPositionOffset] = d * k;
  p->floats[ParticleRecord::kScale] *= 1.0f - k;
  D3DXVec3Normalize(&p->vectors[ParticleRecord::kDirection], &d);
  if (law->reverse.Value() == 1) {
    p->vectors[ParticleRecord::kPositionOffset] -=
        d * (fullDepth / (law->distance.Scaled() + fullDepth));
  }
  return true;
}
