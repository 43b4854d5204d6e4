#include "particles/behaviour/effects/periodic_effects.h"

#include <cmath>
#include <memory>

#include "core/crt_rand.h"
#include "core/noise/value_noise.h"
#include "core/param/param_reads.h"
#include "platform/math/d3dx_math.h"

namespace {

constexpr float kTurn = 6.2831855f;
constexpr float kRadiansPerDegree = 0.017453292f;

template <class T, class... Args>
T& Ensure(DS_SafePtr<T>& holder, Args&&... args) {
  if (!holder) holder = DS_SafePtr<T>(std::make_unique<T>(std::forward<Args>(args)...));
  return *holder;
}

}  // namespace

ZKW_PtclSysEffect_TimeFunc::ZKW_PtclSysEffect_TimeFunc(float amplitudeFactor)
    : spreadValue(std::make_unique<ValueSpreadPrm>()),
      wave(std::make_unique<PeriodicPrm>()),
      randomPhaseOn(std::make_unique<MediaParamT<int>>(0)),
      phase(std::make_unique<UINTSclaleTo<float>>(0, kTurn / 100.0f, 0.0f)),
      randomPhase(crt_rand_unit() * kTurn) {
  wave->amplitude.SetFactor(amplitudeFactor);
}

ZKW_PtclSysEffect_TimeFunc::ZKW_PtclSysEffect_TimeFunc(const ZKW_PtclSysEffect_TimeFunc& other)
    : ZKW_ParticlSystem_Effect(other),
      spreadValue(other.spreadValue),
      wave(other.wave),
      randomPhaseOn(other.randomPhaseOn),
      phase(other.phase),
      randomPhase(crt_rand_unit() * kTurn) {}

float ZKW_PtclSysEffect_TimeFunc::Wave(const EffectContext* context) const {
  const bool random = randomPhaseOn && randomPhaseOn->Value() != 0;
  const float start = random ? randomPhase : (phase ? phase->Scaled() : 0.0f);
  const float time = context != nullptr ? context->clock.localTime : 0.0f;
  const float speed = wave ? wave->speed.Scaled() : 0.0f;
  const float x = speed * time + start;
  if (wave && wave->mode.Value() == 1)
    return static_cast<float>(OctaveValueNoise1D(2, x, 2.0, 0.5));
  return std::cos(x);
}

float ZKW_PtclSysEffect_TimeFunc::Amplitude() const {
  return wave ? wave->amplitude.Scaled() : 0.0f;
}

void ZKW_PtclSysEffect_TimeFunc::SaveTimeFunc(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_TimeFunc", 2);
  WriteValueSpread(archive, spreadValue ? *spreadValue : ValueSpreadPrm());
  const PeriodicPrm defaults;
  const PeriodicPrm& w = wave ? *wave : defaults;
  archive.io().WriteInt32(1);
  archive.io().WriteInt32(w.mode.Value());
  archive.io().WriteUInt32(w.speed.Value());
  archive.io().WriteUInt32(w.amplitude.Value());
  archive.io().WriteUInt32(w.third.Value());
  archive.io().WriteInt32(randomPhaseOn ? randomPhaseOn->Value() : 0);
  archive.io().WriteUInt32(phase ? phase->Value() : 0u);
  ZKW_ParticlSystem_Effect::Save(archive);
}

void ZKW_PtclSysEffect_TimeFunc::ReadTimeFunc(DS_IOF_Archive& archive) {
  const uint32_t version = ReadBaseHeader(archive);
  ReadValueSpread(archive, Ensure(spreadValue));
  PeriodicPrm& w = Ensure(wave);
  int32_t format = 0;
  archive.io().ReadInt32(format);
  archive.io().ReadInt32(w.mode.RawValue());
  ReadChangedUInt32(archive, w.speed);
  ReadChangedUInt32(archive, w.amplitude);
  ReadChangedUInt32(archive, w.third);
  if (version > 1) {
    archive.io().ReadInt32(Ensure(randomPhaseOn, 0).RawValue());
    ReadChangedUInt32(archive, Ensure(phase, 0u, 1.0f, 0.0f));
  }
  ReadFields(archive, ReadBaseHeader(archive));
}

ZKW_PtclSysEffect_Pulsation::ZKW_PtclSysEffect_Pulsation() : ZKW_PtclSysEffect_TimeFunc(0.01f) {
  wave->third.SetValue(100);
}

bool ZKW_PtclSysEffect_Pulsation::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_Pulsation", 1);
  archive.io().WriteDword(static_cast<uint32_t>(parameterIndex));
  SaveTimeFunc(archive);
  return true;
}

void ZKW_PtclSysEffect_Pulsation::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  uint32_t index = static_cast<uint32_t>(parameterIndex);
  archive.io().ReadDword(index);
  parameterIndex = static_cast<int32_t>(index);
  ReadTimeFunc(archive);
}

bool ZKW_PtclSysEffect_Pulsation::ApplyToParticle(EffectContext* context, ParticleRecord* p) {
  // A stored index past the particle's floats has nothing to scale.
  if (parameterIndex < 0 || parameterIndex >= ParticleRecord::kFloatCount) return true;
  p->floats[parameterIndex] *= 1.0f - (Wave(context) + 1.0f) * Amplitude() * 0.5f;
  return true;
}

ZKW_PtclSysEffect_Vibration::ZKW_PtclSysEffect_Vibration(float amplitudeFactor)
    : ZKW_PtclSysEffect_TimeFunc(amplitudeFactor), direction(std::make_unique<ZKW_SmartAngle>()) {
  direction->SetValue(90);
}

bool ZKW_PtclSysEffect_Vibration::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_Vibration", 2);
  archive.io().WriteUInt32(direction ? direction->Value() : 0u);
  archive.io().WriteInt32(rotateWithParticle.Value());
  SaveTimeFunc(archive);
  return true;
}

void ZKW_PtclSysEffect_Vibration::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadChangedUInt32(archive, Ensure(direction));
  if (version > 1) archive.io().ReadInt32(rotateWithParticle.RawValue());
  ReadTimeFunc(archive);
}

bool ZKW_PtclSysEffect_Vibration::ApplyToParticle(EffectContext* context, ParticleRecord* p) {
  if (!direction) return true;
  const D3DXVECTOR4& unit = direction->Direction();
  D3DXVECTOR3 d(unit.x, unit.y, unit.z);
  if (rotateWithParticle.Value() == 1) {
    D3DXVECTOR3 scale, translation;
    D3DXQUATERNION rotation;
    D3DXMatrixDecompose(&scale, &rotation, &translation, &p->previousWorld);
    D3DXMATRIX turn;
    D3DXMatrixRotationQuaternion(&turn, &rotation);
    const D3DXVECTOR3 along = d;
    D3DXVec3TransformCoord(&d, &along, &turn);
  }
  p->vectors[ParticleRecord::kPositionOffset] += d * (Wave(context) * Amplitude());
  return true;
}

bool ZKW_PtclSysEffect_Deformation::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_Deformation", 1);
  return ZKW_PtclSysEffect_Vibration::Save(archive);
}

void ZKW_PtclSysEffect_Deformation::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ZKW_PtclSysEffect_Vibration::ReadBody(archive, ReadBaseHeader(archive));
}

bool ZKW_PtclSysEffect_Deformation::ApplyToParticle(EffectContext* context, ParticleRecord* p) {
  if (!direction) return true;
  D3DXMATRIX stretch;
  D3DXMatrixScaling(&stretch, 1.0f + Wave(context) * Amplitude(), 1.0f, 1.0f);
  p->rotationB = p->rotationB * (direction->TransposedMatrix() * stretch * direction->Matrix());
  return true;
}

bool ZKW_PtclSysEffect_Swinging::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_Swinging", 1);
  SaveTimeFunc(archive);
  return true;
}

void ZKW_PtclSysEffect_Swinging::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadTimeFunc(archive);
}

bool ZKW_PtclSysEffect_Swinging::ApplyToParticle(EffectContext* context, ParticleRecord* p) {
  D3DXMATRIX swing;
  D3DXMatrixRotationZ(&swing, Wave(context) * Amplitude() * kRadiansPerDegree);
  p->rotationA = p->rotationA * swing;
  return true;
}
