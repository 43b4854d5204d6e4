#include "particles/behaviour/effects/multiplier_effects.h"

#include <memory>

#include "core/crt_rand.h"
#include "core/graph/vgraph_registry.h"
#include "particles/behaviour/effects/parent_gradient.h"
#include "particles/behaviour/params/spread_handles.h"

bool ZKW_PtclSysEff_Multiplicator::ApplyToParticle(EffectContext* context, ParticleRecord* p) {
  const float time = context != nullptr ? context->clock.localTime : 0.0f;
  const float life = p->floats[ParticleRecord::kLife];
  if (mode == 0) {
    if (parameterIndex < 0 || parameterIndex >= ParticleRecord::kFloatCount) return true;
    p->floats[parameterIndex] *= GetFactor(time, life, p);
  } else if (mode == 1) {
    if (parameterIndex < 0 || parameterIndex >= ParticleRecord::kVectorCount) return true;
    D3DXVECTOR3& v = p->vectors[parameterIndex];
    v.x *= GetFactor(time, life, p) * xWeight + 1.0f - xWeight;
    v.y *= GetFactor(time, life, p) * yWeight + 1.0f - yWeight;
  }
  return true;
}

void ZKW_PtclSysEff_Multiplicator::SaveMultiplicator(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEff_Multiplicator", 2);
  archive.io().WriteDword(static_cast<uint32_t>(parameterIndex));
  archive.io().WriteDword(static_cast<uint32_t>(mode));
  archive.io().WriteFloat(xWeight);
  archive.io().WriteFloat(yWeight);
  archive.io().WriteFloat(zWeight);
  ZKW_ParticlSystem_Effect::Save(archive);
}

void ZKW_PtclSysEff_Multiplicator::ReadMultiplicator(DS_IOF_Archive& archive) {
  const uint32_t version = ReadBaseHeader(archive);
  auto readInt = [&archive](int32_t& field) {
    uint32_t value = static_cast<uint32_t>(field);
    archive.io().ReadDword(value);
    field = static_cast<int32_t>(value);
  };
  readInt(parameterIndex);
  if (version > 1) {
    readInt(mode);
    archive.io().ReadFloat(xWeight);
    archive.io().ReadFloat(yWeight);
    archive.io().ReadFloat(zWeight);
  }
  ReadFields(archive, ReadBaseHeader(archive));
}

ZKW_PtclSysEff_VariatorMF::ZKW_PtclSysEff_VariatorMF()
    : spreadValue(std::make_unique<ValueSpreadPrm>(100, 0.01f)), r(crt_rand_unit()) {}

ZKW_PtclSysEff_VariatorMF::ZKW_PtclSysEff_VariatorMF(const ZKW_PtclSysEff_VariatorMF& other)
    : ZKW_PtclSysEff_Multiplicator(other), spreadValue(other.spreadValue), r(crt_rand_unit()) {}

bool ZKW_PtclSysEff_VariatorMF::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEff_VariatorMF", 1);
  WriteValueSpread(archive, spreadValue ? *spreadValue : ValueSpreadPrm(100, 0.01f));
  SaveMultiplicator(archive);
  return true;
}

void ZKW_PtclSysEff_VariatorMF::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  if (!spreadValue)
    spreadValue = DS_SafePtr<ValueSpreadPrm>(std::make_unique<ValueSpreadPrm>(100, 0.01f));
  ReadValueSpreadPrm(archive, spreadValue);
  ReadMultiplicator(archive);
}

float ZKW_PtclSysEff_VariatorMF::GetFactor(float, float, ParticleRecord*) {
  return spreadValue ? spreadValue->Factor(r) : 1.0f;
}

bool ZKW_PtclSysEff_Graph::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEff_Graph", 1);
  if (const ZKW_VGraph* graph = envelope.Graph()) graph->Save(archive);
  SaveMultiplicator(archive);
  return true;
}

void ZKW_PtclSysEff_Graph::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  if (std::unique_ptr<ZKW_VGraph> graph = ReadVGraph(archive))
    envelope.SetGraph(DS_SafePtr<ZKW_VGraph>(std::move(graph)));
  ReadMultiplicator(archive);
}

float ZKW_PtclSysEff_Graph::GetFactor(float, float life, ParticleRecord*) {
  unsigned cursor = 1;
  return envelope.ValueAt(life, &cursor);
}

bool ZKW_PtclSysEff_Gradient::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysEff_Gradient", 1);
  if (const ZKW_VGradient* held = gradient.Gradient()) held->Save(archive);
  SaveMultiplicator(archive);
  return true;
}

void ZKW_PtclSysEff_Gradient::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  gradient.ReadGradient(archive);
  ReadMultiplicator(archive);
}

float ZKW_PtclSysEff_Gradient::GetFactor(float, float, ParticleRecord* p) {
  return p != nullptr ? GradientAtParent(gradient, *p).value_or(1.0f) : 1.0f;
}
