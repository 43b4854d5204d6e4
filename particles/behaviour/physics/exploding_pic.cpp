#include "particles/behaviour/physics/exploding_pic.h"

#include <memory>

#include "core/crt_rand.h"
#include "core/math/random_direction.h"
#include "particles/behaviour/particle/particle_transforms.h"

float TimeRange::Draw() const {
  const float lo = value.Scaled(), hi = jitter.Scaled();
  return lo + crt_rand_unit() * (hi - lo);
}

ZKW_PtclSysPhys_ExplodingPic::ZKW_PtclSysPhys_ExplodingPic() {
  for (ValueSpreadPrm* param : {&pieceScale, &pieceLife, &pieceSpeed})
    param->spread.SetValue(50);
  spin.speed->value.SetFactor(10.0f);
  spin.speed->spread.SetValue(100);
  spin.direction.mode->RawValue() = 2;
  phaseLength = wholeTime.Draw();
}

bool ZKW_PtclSysPhys_ExplodingPic::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_ExplodingPic", 1);
  DS_IOF_Virtual& io = archive.io();
  for (const TimeRange* range : {&wholeTime, &explodedTime}) {
    io.WriteUInt32(range->value.Value());
    io.WriteUInt32(range->jitter.Value());
  }
  io.WriteUInt32(pieceCount.Value());
  WriteValueSpread(archive, pieceScale);
  WriteValueSpread(archive, pieceLife);
  WriteValueSpread(archive, pieceSpeed);
  spin.Save(archive);
  return ZKW_PtclSysPhys_ConstPntGroup::Save(archive);
}

void ZKW_PtclSysPhys_ExplodingPic::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadJitterParam(archive, wholeTime);
  ReadJitterParam(archive, explodedTime);
  archive.io().ReadUInt32(pieceCount.RawValue());
  ReadValueSpread(archive, pieceScale);
  ReadValueSpread(archive, pieceLife);
  ReadValueSpread(archive, pieceSpeed);
  ReadBaseHeader(archive);  // the spin's own header
  spin.ReadBody(archive, 1);
  ZKW_PtclSysPhys_ConstPntGroup::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_PtclSysPhys_ExplodingPic::KillAll() {
  ZKW_PtclSysPhys_Points::KillAll();
  phaseTime = 0.0f;
  phaseLength = wholeTime.Draw();
  exploded = 0;
}

ParticleList ZKW_PtclSysPhys_ExplodingPic::Update(ParticleList* parents, float step) {
  ZKW_PtclSysPhys_Points::Update(parents, step);
  phaseTime += step;
  if (!(phaseTime > phaseLength)) return {};
  phaseTime -= phaseLength;
  exploded = exploded == 0 ? 1 : 0;
  phaseLength = exploded != 0 ? explodedTime.Draw() : wholeTime.Draw();
  if (exploded != 0) {
    ZKW_PtclSysPhys_Points::KillAll();
    return parents != nullptr ? Burst(*parents) : ParticleList();
  }
  return SpawnForParents(parents);
}

ParticleList ZKW_PtclSysPhys_ExplodingPic::Burst(const ParticleList& parents) {
  return SpawnChildren(parents, pieceCount.Value(), [this](ParticleRecord* p) { SetUpPiece(p); });
}

void ZKW_PtclSysPhys_ExplodingPic::SetUpPiece(ParticleRecord* piece) {
  const float scale = pieceScale.Factor(crt_rand_unit());
  D3DXVECTOR3 d;
  RandomDirection3D(&d, 1.0f, 0.0f, 360.0f);
  piece->vectors[ParticleRecord::kDirection] = d;
  piece->Position() = d * 0.5f;
  piece->Velocity() = d * pieceSpeed.Factor(crt_rand_unit());
  AttachTransform<PtclTr_PrmMultiplicator>(*piece, ParticleRecord::kScale, scale);
  AttachTransform<PtclTr_DieOnTimer>(*piece, pieceLife.Factor(crt_rand_unit()));
  AttachTransform<ZKW_PtclSysEffect<ZKW_PtclSysEffect_Spiner>>(*piece, spin);
}
