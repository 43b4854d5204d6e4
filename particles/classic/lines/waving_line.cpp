#include "particles/classic/lines/waving_line.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/param/param_reads.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/routines/age_routines.h"
#include "platform/math/d3dx_math.h"

namespace {

constexpr float kPi = 3.1415927f;

}  // namespace

bool ZKW_WavingLine::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_WavingLine", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(width.Value());
  widthEnvelope.Write(archive);
  lineAppearance.SaveBlock(archive);
  io.WriteUInt32(amplitude.Value());
  io.WriteUInt32(ripple.Value());
  io.WriteInt32(particlesOn.Value());
  io.WriteFloat(offsetAcross.Value());
  io.WriteFloat(offsetAlong.Value());
  return DS_StraightLine::Save(archive);
}

bool ZKW_WavingLine::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, width);
  widthEnvelope.Read(archive);
  lineAppearance.ReadBlock(archive);
  io.ReadUInt32(amplitude.RawValue());
  ReadChangedUInt32(archive, ripple);
  io.ReadInt32(particlesOn.RawValue());
  io.ReadFloat(offsetAcross.RawValue());
  io.ReadFloat(offsetAlong.RawValue());
  return DS_StraightLine::ReadBody(archive, ReadBaseHeader(archive));
}

int ZKW_WavingLine::NeedsTarget() const {
  return LineReaders(lineAppearance, appearance, particlesOn.Value() != 0);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_WavingLine::Clone() const {
  return std::make_unique<ZKW_WavingLine>(*this);
}

void ZKW_WavingLine::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  ZKW_ParticleSystemCtrl::AttachRuntimeObject(runtime);
  if (runtime != nullptr) runtime->ResetBatches(2);
  lineAppearance.LoadTextures();
  lineAppearance.PrepareLineSurface(lineSurface);
  direction = end.Value() - start.Value();
  length = D3DXVec3Length(&direction);
  if (length > 0.0f) direction /= length;
  normal = D3DXVECTOR3(-direction.y, direction.x, 0.0f);
  AddHead();
}

void ZKW_WavingLine::AddHead() {
  if (RoomFor(1) < 1) return;
  DS_SafePtr<RoutineParticle> head = MakeParticle(end.Value());
  appearance.InitParticle(head,
                          MakeRoutine<IPR_ConstantAge>(std::numeric_limits<float>::infinity()));
  particles.push_back(head);
}

void ZKW_WavingLine::Restart() {
  ZKW_ParticleSystemCtrl::Restart();
  if (mech != nullptr && particles.empty()) AddHead();
}

RoutineParticle* ZKW_WavingLine::Head() const {
  return particles.empty() ? nullptr : particles.front().Get();
}

D3DXVECTOR3 ZKW_WavingLine::WavePoint(int i) const {
  const float r = static_cast<float>(i) / static_cast<float>(segments);
  const float time = speed.localTime;
  const float a = static_cast<float>(amplitude.Value());
  const float w = a * std::sin(kPi * r / 2.0f) * std::sin(time) +
                  0.5f * (std::cos(kPi * r) - std::cos(2.0f * kPi * r)) * a * ripple.Scaled() *
                      std::cos(1.7f * time);
  return start.Value() + direction * (length * r) + normal * w;
}

D3DXVECTOR3 ZKW_WavingLine::WaveTangent(int i) const {
  const float r = static_cast<float>(i) / static_cast<float>(segments);
  const float time = speed.localTime;
  const float a = static_cast<float>(amplitude.Value());
  const float slope = a * (kPi / 2.0f) * std::cos(kPi * r / 2.0f) * std::sin(time) +
                      0.5f * (2.0f * kPi * std::sin(2.0f * kPi * r) - kPi * std::sin(kPi * r)) * a *
                          ripple.Scaled() * std::cos(1.7f * time);
  const D3DXVECTOR3 t = direction * length + normal * slope;
  D3DXVECTOR3 unit;
  D3DXVec3Normalize(&unit, &t);
  return unit;
}

void ZKW_WavingLine::WriteStrip(DX_V::PCT* vertices, uint32_t quads) {
  RoutineParticle* head = Head();
  const float repeat = LineRepeat(lineAppearance, width.Value());
  const float w = width.Scaled();
  const float opacity = LineOpacityByte(lineAppearance);
  const PercentParamQuad& fade = lineAppearance.opacityEnvelope;
  LinePoint a;
  a.position = WavePoint(0);
  a.direction = WaveTangent(0);
  a.SetEdges(a.direction, w * EnvelopeAt(widthEnvelope, 0.0f) / 2.0f);
  a.v = 0.0f;
  SetLineColour(a, lineAppearance, opacity * EnvelopeAt(fade, 0.0f));
  float s = 0.0f;
  const int n = std::min(segments, static_cast<int>(quads));
  for (int i = 0; i < n; ++i) {
    const D3DXVECTOR3 t = WaveTangent(i);
    if (head != nullptr) head->velocity = t;
    LinePoint p;
    p.position = WavePoint(i + 1);
    p.direction = t;  // the tangent at i, not at i + 1
    const D3DXVECTOR3 chord = p.position - a.position;
    s += D3DXVec3Length(&chord);
    // Cut where the swinging strip has become as long as the straight course.
    const bool cut = s > length;
    if (cut) p.position -= t * (s - length);
    const float u = cut ? 1.0f : s / length;
    p.v = LineV(cut ? length : s, repeat);
    SetLineColour(p, lineAppearance, opacity * EnvelopeAt(fade, u));
    BuildJoinQuad(vertices + 4 * i, a, w * EnvelopeAt(widthEnvelope, u), p);
    if (head != nullptr) head->position = p.position;
    if (cut) {
      mech->quadCounts[0] = static_cast<uint32_t>(i + 1);
      return;
    }
    a = p;
  }
  mech->quadCounts[0] = static_cast<uint32_t>(n);
}

void ZKW_WavingLine::Update(float t) {
  speed.Advance(t);
  const float step = speed.step;
  if (mech != nullptr) {
    const uint32_t quads = mech->ReserveBatch(0, static_cast<uint32_t>(std::max(segments, 0)));
    if (!(length > 0.0f)) {
      // A course of no length has no direction to swing across: no strip.
      if (!mech->quadCounts.empty()) mech->quadCounts[0] = 0;
      if (RoutineParticle* head = Head()) head->position = end.Value();
    } else if (quads > 0) {
      if (DX_V::PCT* vertices = mech->batches[0].LockVertices()) {
        WriteStrip(vertices, quads);
        mech->batches[0].UnlockVertices();
      }
    }
  }
  appearance.Tick(t);
  Advance(step);
  if (RoutineParticle* head = Head()) {
    D3DXMatrixRotationZ(&head->matrix,
                        -static_cast<float>(appearance.startAngle.Value()) * kPi / 180.0f);
    head->spinFactor = appearance.spinDirection.Value() != 0 ? -1.0f : 1.0f;
    const D3DXVECTOR3& v = head->velocity;
    head->position += D3DXVECTOR3(-v.y, v.x, 0.0f) * offsetAcross.Value() + v * offsetAlong.Value();
  }
  if (mech != nullptr)
    appearance.FillBatch(particles, *mech, static_cast<float>(appearance.size.Value()), 1);
}

void ZKW_WavingLine::Render(DS_2D_Light& renderer, int* readerCount) {
  if (mech == nullptr) return;
  RenderLineAndHeads(lineAppearance, lineSurface, appearance, particlesOn.Value() != 0, *mech, 0, 1,
                     renderer, readerCount, true);
}
