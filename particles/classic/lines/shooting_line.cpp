#include "particles/classic/lines/shooting_line.h"

#include <algorithm>
#include <limits>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/param/param_reads.h"
#include "geometry/path/bspline_point_io.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/control/path_start.h"
#include "particles/classic/control/timeline_reading.h"
#include "particles/classic/routines/path_routines.h"
#include "particles/classic/routines/value_routines.h"

ZKW_ShootingLine::ZKW_ShootingLine() {
  shotCounter.minimum.SetValue(0.5f);
  shotCounter.maximum.SetValue(1.5f);
}

bool ZKW_ShootingLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_ShootingLine", kVersion);
  DS_IOF_Virtual& io = archive.io();
  WriteBSplinePointVector(archive, path.Value());
  lineAppearance.SaveBlock(archive);
  io.WriteFloat(shotCounter.minimum.Value());
  io.WriteFloat(shotCounter.maximum.Value());
  io.WriteUInt32(shotSpeed.Value());
  io.WriteUInt32(lateralOffset.Value());
  io.WriteUInt32(trailLength.Value());
  io.WriteUInt32(width.Value());
  widthEnvelope.Write(archive);
  io.WriteUInt32(wobbleFrequency.Value());
  io.WriteInt32(particlesOn.Value());
  io.WriteFloat(offsetAcross.Value());
  io.WriteFloat(offsetAlong.Value());
  return ZKW_ParticleSystemCtrl::Save(archive);
}

bool ZKW_ShootingLine::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadBSplinePointVector(archive, path.RawValue());
  lineAppearance.ReadBlock(archive);
  io.ReadFloat(shotCounter.minimum.RawValue());
  io.ReadFloat(shotCounter.maximum.RawValue());
  ReadChangedUInt32(archive, shotSpeed);
  io.ReadUInt32(lateralOffset.RawValue());
  io.ReadUInt32(trailLength.RawValue());
  ReadChangedUInt32(archive, width);
  widthEnvelope.Read(archive);
  ReadChangedUInt32(archive, wobbleFrequency);
  io.ReadInt32(particlesOn.RawValue());
  io.ReadFloat(offsetAcross.RawValue());
  io.ReadFloat(offsetAlong.RawValue());
  ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
  if (version < 2) ExchangeLooks(lineAppearance, appearance);
  return true;
}

int ZKW_ShootingLine::NeedsTarget() const {
  return LineReaders(lineAppearance, appearance, particlesOn.Value() != 0);
}

void ZKW_ShootingLine::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  ZKW_ParticleSystemCtrl::AttachRuntimeObject(runtime);
  if (runtime != nullptr) runtime->ResetBatches(2);
  lineAppearance.LoadTextures();
  lineAppearance.PrepareLineSurface(lineSurface);
  SetupSampling();
}

void ZKW_ShootingLine::SetupSampling() {
  cursor = DS_SafePtr<CurveCursor>(std::make_unique<CurveCursor>(&samples));
  path.SampleBezierSegments(samples, kSamplesPerSegment, false);
}

void ZKW_ShootingLine::Render(DS_2D_Light& renderer, int* readerCount) {
  if (mech == nullptr) return;
  RenderLineAndHeads(lineAppearance, lineSurface, appearance, particlesOn.Value() != 0, *mech, 1, 0,
                     renderer, readerCount, true);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_ShootingLine::Clone() const {
  return std::make_unique<ZKW_ShootingLine>(*this);
}

float ZKW_ShootingLine::PrewarmTime() const {
  return PathLength() / shotSpeed.Scaled();
}

uint64_t ZKW_ShootingLine::WarmStep(float step) {
  const uint64_t live = particles.size() + shots.size();
  Advance(step);
  for (const ShotRecord& shot : shots)
    if (shot.head) shot.head->Update(step);
  return live;
}

RoutineParticleList ZKW_ShootingLine::Emit(float step) {
  if (path.GetCount() < 2) return {};
  const float visibility = TimelineReading::Of(*this).value;
  const size_t shotRoom =
      kMaxParticlesPerList - std::min<size_t>(shots.size(), kMaxParticlesPerList);
  const int n =
      std::min<int>(RoomFor(shotCounter.Count(step * visibility)), static_cast<int>(shotRoom));
  for (int i = 0; i < n; ++i) {
    DS_SafePtr<RoutineParticle> leader = MakeParticle(FirstControlPoint(path));
    const float phase = crt_rand_unit() * 6.2831855f;
    StartShot(phase, leader);
    leader->Update(step);
    particles.push_back(leader);
  }
  return {};
}

void ZKW_ShootingLine::AddWave(RoutineParticle& particle, float phase) const {
  particle.AddRoutine(MakeRoutine<IPR_Harmonic>(RoutineParticle::kPathOffset, phase, 0.0f,
                                                wobbleFrequency.Scaled(), 1.0f),
                      true);
}

void ZKW_ShootingLine::StartShot(float phase, const DS_SafePtr<RoutineParticle>& leader) {
  if (!leader) return;
  RoutineParticle& x = *leader;
  x.lateralUnit = crt_rand_unit() * 2.0f - 1.0f;
  appearance.InitParticle(leader, MakeRoutine<IPR_ConstPath>(&samples, &shotSpeed));
  AddWave(x, phase);
  x.AddRoutine(MakeRoutine<IPR_PathPoint>(&lateralOffset, cursor), false);
  shots.push_back(MakeShot(phase, x));
}

ShotRecord ZKW_ShootingLine::MakeShot(float phase, const RoutineParticle& leader) const {
  ShotRecord shot;
  shot.phase = phase;
  shot.head = MakeParticle(D3DXVECTOR3(0, 0, 0));
  shot.tail = MakeParticle(D3DXVECTOR3(0, 0, 0));
  shot.head->SetLifeRoutine(
      MakeRoutine<IPR_ConstDistance>(std::numeric_limits<float>::infinity(), &shotSpeed));
  for (RoutineParticle* p : {shot.head.Get(), shot.tail.Get()}) {
    p->lateralUnit = leader.lateralUnit;
    AddWave(*p, phase);
    p->AddRoutine(MakeRoutine<IPR_PathPoint>(&lateralOffset, cursor), false);
  }
  return shot;
}

bool ZKW_Tears::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_Tears", kVersion);
  return ZKW_ShootingLine::Save(archive);
}

bool ZKW_Tears::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  return ZKW_ShootingLine::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_Tears::Clone() const {
  return std::make_unique<ZKW_Tears>(*this);
}
