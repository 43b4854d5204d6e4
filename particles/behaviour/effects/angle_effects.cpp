#include "particles/behaviour/effects/angle_effects.h"

#include <memory>

#include "core/crt_rand.h"
#include "core/graph/vgraph_registry.h"
#include "core/math/matrix_helpers.h"
#include "platform/math/d3dx_math.h"

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

// A = A x M.
void PostMultiply(ParticleRecord* p, const D3DXMATRIX& m) {
  p->rotationA = p->rotationA * m;
}

// The rotation turning the x axis onto `v` (identity for a zero vector).
D3DXMATRIX TowardsVector(const D3DXVECTOR3& v) {
  D3DXVECTOR3 n;
  D3DXVec3Normalize(&n, &v);
  D3DXMATRIX m;
  RotationZBetweenVectors(&m, n.x, n.y, n.z, 1.0f, 0.0f, 0.0f);
  return m;
}

void WriteAngles(DS_IOF_Archive& archive, const DS_SafePtr<AngleSpreadPrm>& angles) {
  archive.io().WriteUInt32(angles ? angles->value.Value() : 0u);
  archive.io().WriteUInt32(angles ? angles->spread.Value() : 0u);
}

float AngleOf(const DS_SafePtr<AngleSpreadPrm>& angles, float r) {
  return angles ? angles->Angle(r) : 0.0f;
}

}  // namespace

ZKW_OrientationInMotion::ZKW_OrientationInMotion() : mode(std::make_unique<MediaParamT<int>>(0)) {}

bool ZKW_OrientationInMotion::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_OrientationInMotion", 1);
  archive.io().WriteInt32(mode ? mode->Value() : 0);
  return ZKW_ParticlSystem_Effect::Save(archive);
}

void ZKW_OrientationInMotion::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  if (!mode) mode = DS_SafePtr<MediaParamT<int>>(std::make_unique<MediaParamT<int>>(0));
  archive.io().ReadInt32(mode->RawValue());
  ReadFields(archive, ReadBaseHeader(archive));
}

bool ZKW_OrientationInMotion::ApplyToParticle(EffectContext*, ParticleRecord* p) {
  const D3DXVECTOR3 v = p->WorldVelocity();
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  switch (mode ? mode->Value() : 0) {
    case 1:
      m = TowardsVector(v);
      break;
    case 2:
      if (v.x < 0.0f) m._11 = -1.0f;
      break;
    case 3:
      if (v.y > 0.0f) m._22 = -1.0f;
      break;
    default:
      break;
  }
  PostMultiply(p, m);
  return true;
}

bool ZKW_PtclSysEffect_AlignToSource::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_AlignToSource", 1);
  return ZKW_ParticlSystem_Effect::Save(archive);
}

void ZKW_PtclSysEffect_AlignToSource::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadFields(archive, ReadBaseHeader(archive));
}

bool ZKW_PtclSysEffect_AlignToSource::ApplyToParticle(EffectContext* context, ParticleRecord* p) {
  if (context == nullptr || context->sourceShape == nullptr) return true;
  D3DXVECTOR3 normal(0, 0, 0);
  context->sourceShape->NormalAt(&normal, p->WorldPosition());
  PostMultiply(p, TowardsVector(normal));
  return true;
}

ZKW_PtclSysEffect_Rotation::ZKW_PtclSysEffect_Rotation()
    : angles(std::make_unique<AngleSpreadPrm>()), r(crt_rand_unit()) {}

ZKW_PtclSysEffect_Rotation::ZKW_PtclSysEffect_Rotation(const ZKW_PtclSysEffect_Rotation& other)
    : ZKW_ParticlSystem_Effect(other), angles(other.angles), r(crt_rand_unit()) {}

bool ZKW_PtclSysEffect_Rotation::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_Rotation", 1);
  WriteAngles(archive, angles);
  return ZKW_ParticlSystem_Effect::Save(archive);
}

void ZKW_PtclSysEffect_Rotation::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadAngleSpreadPrm(archive, angles);
  ReadFields(archive, ReadBaseHeader(archive));
}

bool ZKW_PtclSysEffect_Rotation::ApplyToParticle(EffectContext*, ParticleRecord* p) {
  D3DXMATRIX m;
  D3DXMatrixRotationZ(&m, -AngleOf(angles, r));
  PostMultiply(p, m);
  return true;
}

bool ZKW_PtclSysEffect_Angle::ApplyToParticle(EffectContext* context, ParticleRecord* p) {
  const float t = useClockTime && context != nullptr ? context->clock.localTime
                                                     : p->floats[ParticleRecord::kLife];
  D3DXMATRIX m;
  PostMultiply(p, *GetRotation(&m, t));
  return true;
}

void ZKW_PtclSysEffect_Angle::SaveAngle(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_Angle", 1);
  ZKW_ParticlSystem_Effect::Save(archive);
}

void ZKW_PtclSysEffect_Angle::ReadAngle(DS_IOF_Archive& archive) {
  ReadBaseHeader(archive);
  ReadFields(archive, ReadBaseHeader(archive));
}

ZKW_PtclSysEffect_AngleBase::ZKW_PtclSysEffect_AngleBase()
    : angles(std::make_unique<AngleSpreadPrm>()), r(crt_rand_unit()) {}

ZKW_PtclSysEffect_AngleBase::ZKW_PtclSysEffect_AngleBase(const ZKW_PtclSysEffect_AngleBase& other)
    : ZKW_PtclSysEffect_Angle(other), angles(other.angles), r(crt_rand_unit()) {}

bool ZKW_PtclSysEffect_AngleBase::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_AngleBase", 1);
  WriteAngles(archive, angles);
  SaveAngle(archive);
  return true;
}

void ZKW_PtclSysEffect_AngleBase::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadAngleSpreadPrm(archive, angles);
  ReadAngle(archive);
}

D3DXMATRIX* ZKW_PtclSysEffect_AngleBase::GetRotation(D3DXMATRIX* out, float) const {
  return D3DXMatrixRotationZ(out, -AngleOf(angles, r));
}

bool ZKW_PtclSysEffect_AngleDyn::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_AngleDyn", 1);
  if (const ZKW_VGraph* graph = envelope.Graph()) graph->Save(archive);
  WriteRotationDirectionPrm(archive, direction);
  SaveAngle(archive);
  return true;
}

void ZKW_PtclSysEffect_AngleDyn::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  if (std::unique_ptr<ZKW_VGraph> graph = ReadVGraph(archive))
    envelope.SetGraph(DS_SafePtr<ZKW_VGraph>(std::move(graph)));
  ReadRotationDirectionPrm(archive, direction);
  ReadAngle(archive);
}

D3DXMATRIX* ZKW_PtclSysEffect_AngleDyn::GetRotation(D3DXMATRIX* out, float t) const {
  unsigned cursor = 1;
  const float turns = envelope.ValueAt(t, &cursor);
  return D3DXMatrixRotationZ(out, turns * 360.0f * direction.Factor() * kRadiansPerDegree);
}

ZKW_PtclSysEffect_Spin::ZKW_PtclSysEffect_Spin()
    : speed(std::make_unique<ValueSpreadPrm>(100, 1.0f)), r(crt_rand_unit()) {}

ZKW_PtclSysEffect_Spin::ZKW_PtclSysEffect_Spin(const ZKW_PtclSysEffect_Spin& other)
    : ZKW_PtclSysEffect_Angle(other),
      speed(other.speed),
      r(crt_rand_unit()),
      direction(other.direction) {}

bool ZKW_PtclSysEffect_Spin::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_Spin", 1);
  WriteValueSpread(archive, speed ? *speed : ValueSpreadPrm());
  WriteRotationDirectionPrm(archive, direction);
  SaveAngle(archive);
  return true;
}

void ZKW_PtclSysEffect_Spin::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadValueSpreadPrm(archive, speed);
  ReadRotationDirectionPrm(archive, direction);
  ReadAngle(archive);
}

D3DXMATRIX* ZKW_PtclSysEffect_Spin::GetRotation(D3DXMATRIX* out, float t) const {
  const float degrees = speed ? speed->Factor(r) * t : 0.0f;
  return D3DXMatrixRotationZ(out, degrees * direction.Factor() * kRadiansPerDegree);
}

bool ZKW_PtclSysEffect_Spiner::ApplyToParticle(EffectContext*, ParticleRecord* p) {
  D3DXMATRIX m;
  PostMultiply(p, *GetRotation(&m, p->floats[ParticleRecord::kAge]));
  return true;
}
