#include "particles/behaviour/effects/color_effects.h"

#include <memory>
#include <optional>

#include "core/crt_rand.h"
#include "particles/behaviour/effects/parent_gradient.h"

void SetColourFromSource(const ColorSourceParams* source, float t, ParticleRecord* p) {
  if (source == nullptr) return;
  const std::optional<uint32_t> c = source->ColorAt(t);
  if (!c) return;
  p->vectors[ParticleRecord::kColour] = D3DXVECTOR3(static_cast<float>(*c & 0xFF) / 255.0f,
                                                    static_cast<float>((*c >> 8) & 0xFF) / 255.0f,
                                                    static_cast<float>((*c >> 16) & 0xFF) / 255.0f);
}

ZKW_PtclSysEffect_ColorD::ZKW_PtclSysEffect_ColorD()
    : source(std::make_unique<ColorSourceParams>()) {}

bool ZKW_PtclSysEffect_ColorD::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_ColorD", 1);
  WriteColorSource(archive, source ? *source : ColorSourceParams());
  return ZKW_ParticlSystem_Effect::Save(archive);
}

void ZKW_PtclSysEffect_ColorD::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadColorSource(archive, source);
  ReadFields(archive, ReadBaseHeader(archive));
}

bool ZKW_PtclSysEffect_ColorD::ApplyToParticle(EffectContext*, ParticleRecord* p) {
  SetColourFromSource(source.Get(), p->floats[ParticleRecord::kLife], p);
  return true;
}

ZKW_PtclSysEffect_ColorV::ZKW_PtclSysEffect_ColorV() : random(crt_rand_unit()) {}

ZKW_PtclSysEffect_ColorV::ZKW_PtclSysEffect_ColorV(const ZKW_PtclSysEffect_ColorV& other)
    : ZKW_PtclSysEffect_ColorD(other), random(crt_rand_unit()) {}

bool ZKW_PtclSysEffect_ColorV::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEffect_ColorV", 1);
  return ZKW_PtclSysEffect_ColorD::Save(archive);
}

void ZKW_PtclSysEffect_ColorV::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ZKW_PtclSysEffect_ColorD::ReadBody(archive, ReadBaseHeader(archive));
}

bool ZKW_PtclSysEffect_ColorV::ApplyToParticle(EffectContext*, ParticleRecord* p) {
  SetColourFromSource(source.Get(), random, p);
  return true;
}

ZKW_PtclSysEff_ColorGradient::ZKW_PtclSysEff_ColorGradient()
    : source(std::make_unique<ColorSourceParams>()) {
  source->mode.SetValue(1);
}

bool ZKW_PtclSysEff_ColorGradient::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEff_ColorGradient", 1);
  WriteColorSource(archive, source ? *source : ColorSourceParams());
  if (const ZKW_VGradient* held = gradient.Gradient()) held->Save(archive);
  return ZKW_ParticlSystem_Effect::Save(archive);
}

void ZKW_PtclSysEff_ColorGradient::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadColorSource(archive, source);
  gradient.ReadGradient(archive);
  ReadFields(archive, ReadBaseHeader(archive));
}

bool ZKW_PtclSysEff_ColorGradient::ApplyToParticle(EffectContext*, ParticleRecord* p) {
  if (const std::optional<float> g = GradientAtParent(gradient, *p))
    SetColourFromSource(source.Get(), 1.0f - *g, p);
  return true;
}
