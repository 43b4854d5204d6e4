#include "particles/behaviour/effects/motion_effects.h"

#include <memory>

#include "core/param/param_reads.h"
#include "platform/math/d3dx_math.h"

namespace {

// A UInt32 into the shared parameter (stored and notified when it differs); an empty holder first
// gets `make()`.
template <class P, class Make>
void ReadIntoHandle(DS_IOF_Archive& archive, DS_SafePtr<P>& holder, Make make) {
  if (!holder) holder = DS_SafePtr<P>(make());
  ReadChangedUInt32(archive, *holder);
}

std::unique_ptr<ZKW_SmartAngle> Angle(unsigned degrees) {
  auto angle = std::make_unique<ZKW_SmartAngle>();
  angle->SetValue(degrees);
  return angle;
}

std::unique_ptr<UINTSclaleTo<float>> Scaled(unsigned value, float factor) {
  return std::make_unique<UINTSclaleTo<float>>(value, factor, 0.0f);
}

}  // namespace

ZKW_PtclSysEffect_ForceGravitation::ZKW_PtclSysEffect_ForceGravitation()
    : direction(Angle(270)), strength(Scaled(0, 1.0f)) {}

bool ZKW_PtclSysEffect_ForceGravitation::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_ForceGravitation", 1);
  archive.io().WriteUInt32(direction ? direction->Value() : 270u);
  archive.io().WriteUInt32(strength ? strength->Value() : 0u);
  return ZKW_ParticlSystem_Effect::Save(archive);
}

void ZKW_PtclSysEffect_ForceGravitation::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadIntoHandle(archive, direction, [] { return Angle(270); });
  ReadIntoHandle(archive, strength, [] { return Scaled(0, 1.0f); });
  ReadFields(archive, ReadBaseHeader(archive));
}

bool ZKW_PtclSysEffect_ForceGravitation::ApplyToParticle(EffectContext*, ParticleRecord* p) {
  if (!direction || !strength) return true;
  const D3DXVECTOR4& d = direction->Direction();
  p->vectors[ParticleRecord::kAcceleration] += D3DXVECTOR3(d.x, d.y, d.z) * strength->Scaled();
  return true;
}

ZKW_PtclSysEffect_ForceDrag::ZKW_PtclSysEffect_ForceDrag() : strength(Scaled(0, -0.0001f)) {}

bool ZKW_PtclSysEffect_ForceDrag::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_ForceDrag", 1);
  archive.io().WriteUInt32(strength ? strength->Value() : 0u);
  return ZKW_ParticlSystem_Effect::Save(archive);
}

void ZKW_PtclSysEffect_ForceDrag::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadIntoHandle(archive, strength, [] { return Scaled(0, -0.0001f); });
  ReadFields(archive, ReadBaseHeader(archive));
}

bool ZKW_PtclSysEffect_ForceDrag::ApplyToParticle(EffectContext*, ParticleRecord* p) {
  if (!strength) return true;
  const D3DXVECTOR3 v = p->WorldVelocity();
  p->vectors[ParticleRecord::kAcceleration] += v * (strength->Scaled() * D3DXVec3Length(&v));
  return true;
}

ZKW_PtclSysEffect_ScrollTex::ZKW_PtclSysEffect_ScrollTex()
    : speed(Scaled(100, 0.005f)), direction(std::make_unique<MediaParamTB<int>>(0)) {}

bool ZKW_PtclSysEffect_ScrollTex::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_ScrollTex", 1);
  archive.io().WriteUInt32(speed ? speed->Value() : 0u);
  archive.io().WriteInt32(direction ? direction->Value() : 0);
  return ZKW_ParticlSystem_Effect::Save(archive);
}

void ZKW_PtclSysEffect_ScrollTex::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadIntoHandle(archive, speed, [] { return Scaled(100, 0.005f); });
  if (!direction) direction = DS_SafePtr<MediaParamTB<int>>(std::make_unique<MediaParamTB<int>>(0));
  archive.io().ReadInt32(direction->RawValue());
  ReadFields(archive, ReadBaseHeader(archive));
}

bool ZKW_PtclSysEffect_ScrollTex::ApplyToParticle(EffectContext* context, ParticleRecord* p) {
  if (speed && context != nullptr) offset += speed->Scaled() * context->clock.step;
  const int mode = direction ? direction->Value() : 0;
  const float shift = (mode % 2 != 0 ? 1.0f : -1.0f) * offset;
  const bool alongU = mode < 2;
  p->texRect[0] = alongU ? shift : 0.0f;
  p->texRect[1] = 1.0f + (alongU ? shift : 0.0f);
  p->texRect[2] = alongU ? 0.0f : shift;
  p->texRect[3] = 1.0f + (alongU ? 0.0f : shift);
  return true;
}

bool ZKW_PtclSysEffect_BgTex::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_BgTex", 1);
  return ZKW_ParticlSystem_Effect::Save(archive);
}

void ZKW_PtclSysEffect_BgTex::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadFields(archive, ReadBaseHeader(archive));
}

bool ZKW_PtclSysEffect_BgTex::ApplyToParticle(EffectContext*, ParticleRecord* p) {
  p->flags |= ParticleRecord::kSamplesBackground;
  return true;
}

ZKW_PtclSysEffect_MotionLaw::ZKW_PtclSysEffect_MotionLaw()
    : law(std::unique_ptr<ZKW_PtclSys_MotionLaw>(std::make_unique<ZKW_PtclSysMLaw_Vector>())) {}

bool ZKW_PtclSysEffect_MotionLaw::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_MotionLaw", 1);
  WriteMotionLaw(archive, law.Get());
  return ZKW_ParticlSystem_Effect::Save(archive);
}

void ZKW_PtclSysEffect_MotionLaw::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  law = DS_SafePtr<ZKW_PtclSys_MotionLaw>(ReadMotionLaw(archive));
  ReadFields(archive, ReadBaseHeader(archive));
}

bool ZKW_PtclSysEffect_MotionLaw::PrepareParticle(ParticleRecord* p) {
  if (law) law->ApplyToParticle(p, nullptr);
  return true;
}
