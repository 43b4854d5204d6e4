#include "particles/classic/kinds/through_space_ctrl.h"

#include <cmath>

#include "core/param/param_reads.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/kinds/target_area.h"
#include "particles/classic/routines/age_routines.h"
#include "particles/classic/routines/motion_routines.h"
#include "platform/math/d3dx_math.h"

namespace {

bool Finite(const D3DXVECTOR3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Scales the quad's four corners by s about `centre`. A quad at a depth of 0 or less (scaled
// without bound), or whose corners would not be finite, collapses onto the centre: it shows
// nothing, as a particle scaled out of the picture would.
void ScaleAbout(DX_V::PCT* v, const D3DXVECTOR3& centre, float depth) {
  const float s = 1.0f / depth;
  D3DXVECTOR3 corners[4];
  bool shown = depth > 0.0f && std::isfinite(s);
  for (int i = 0; i < 4 && shown; ++i) {
    corners[i] = (D3DXVECTOR3(v[i].x, v[i].y, v[i].z) - centre) * s + centre;
    shown = Finite(corners[i]);
  }
  for (int i = 0; i < 4; ++i) {
    const D3DXVECTOR3& at = shown ? corners[i] : centre;
    v[i].x = at.x;
    v[i].y = at.y;
    v[i].z = at.z;
  }
}

}  // namespace

ZKW_ThroughSpaceCtrl::ZKW_ThroughSpaceCtrl() {
  rotationSpeed.SetScale(0.4f, 0.0f);
  flightSpeed.SetScale(0.01f, 0.0f);
}

bool ZKW_ThroughSpaceCtrl::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_ThroughSpaceCtrl", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(counter.rate.Value());
  WriteMediaQuad(archive, area.rect);
  io.WriteUInt32(rotationSpeed.Value());
  io.WriteInt32(rotationDirection.Value());
  const D3DXVECTOR3& c = centre.Value();
  io.WriteFloat(c.x);
  io.WriteFloat(c.y);
  io.WriteFloat(c.z);
  io.WriteByte(away);
  io.WriteUInt32(flightSpeed.Value());
  return ZKW_ParticleSystemCtrl::Save(archive);
}

bool ZKW_ThroughSpaceCtrl::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, counter.rate);
  ReadMediaQuad(archive, area.rect);
  ReadChangedUInt32(archive, rotationSpeed);
  io.ReadInt32(rotationDirection.RawValue());
  D3DXVECTOR3& c = centre.RawValue();
  io.ReadFloat(c.x);
  io.ReadFloat(c.y);
  io.ReadFloat(c.z);
  io.ReadByte(away);
  if (version >= 2) ReadChangedUInt32(archive, flightSpeed);
  if (version < 3) {
    ParticleAppearance& look = appearance;
    look.sizeEnvelope.riseEnd.SetValue(0);
    look.sizeEnvelope.fallStart.SetValue(100);
    look.opacityEnvelope.riseEnd.SetValue(away != 0 ? 0 : 10);
    look.opacityEnvelope.fallStart.SetValue(away != 0 ? 90 : 100);
  }
  const bool read = ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
  if (version == 1) {
    // The frame speed was the system's speed: it becomes the speed, clock and all.
    MediaSpeedParam& frames = appearance.frameSpeed;
    flightSpeed.SetScale(frames.Factor(), frames.Offset());
    flightSpeed.RawValue() = frames.Value();
    flightSpeed.step = frames.step;
    flightSpeed.localTime = frames.localTime;
    flightSpeed.lastTime = frames.lastTime;
    flightSpeed.NotifyChanged(nullptr);
    frames.SetValue(100);
  }
  return read;
}

void ZKW_ThroughSpaceCtrl::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  AttachWithBatches(runtime, 1);
  if (FitAreaToRenderTarget(*this, area.rect)) {
    const D3DXVECTOR3 middle = (area.rect.corners[0].Value() + area.rect.corners[3].Value()) * 0.5f;
    centre.SetValue(D3DXVECTOR3(middle.x, middle.y, 0.0f));
  }
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_ThroughSpaceCtrl::Clone() const {
  return std::make_unique<ZKW_ThroughSpaceCtrl>(*this);
}

RoutineParticleList ZKW_ThroughSpaceCtrl::Emit(float step) {
  const int n = RoomFor(counter.Count(Visibility() * step));
  RoutineParticleList born = area.Generate(n);
  for (const auto& handle : born) {
    RoutineParticle& p = *handle;
    p.AddRoutine(MakeRoutine<IPR_Kinematic>(), false);
    appearance.InitParticle(handle, MakeRoutine<IPR_ConstantAge>(kLifetime));
    p.position.z = away != 0 ? 0.0f : 1.0f;
    p.velocity.z = away != 0 ? kDepthSpeed : -kDepthSpeed;
  }
  // Nearer particles are drawn later: newcomers coming nearer go first, ones moving away last.
  particles.insert(away != 0 ? particles.end() : particles.begin(), born.begin(), born.end());
  return born;
}

void ZKW_ThroughSpaceCtrl::Update(float t) {
  flightSpeed.Advance(t);
  rotationSpeed.Advance(t);
  appearance.Tick(t);
  const float step = flightSpeed.step;
  // Live particles step twice a frame, newcomers once.
  UpdateRoutineParticles(particles, step);
  Advance(step);
  angle += rotationDirection.Value() == 0 ? rotationSpeed.step : -rotationSpeed.step;
  if (mech == nullptr || mech->batches.empty()) return;
  const D3DXVECTOR3& c = centre.Value();
  D3DXMATRIX toCentre, turn, back;
  D3DXMatrixTranslation(&toCentre, -c.x, -c.y, -c.z);
  D3DXMatrixRotationZ(&turn, angle * 2.0f * 3.1415927f / 360.0f);
  D3DXMatrixTranslation(&back, c.x, c.y, c.z);
  const D3DXMATRIX world = toCentre * turn * back;
  mech->batches[0].node.UpdateWorld(&world);
  FillQuads();
}

void ZKW_ThroughSpaceCtrl::FillQuads() {
  uint32_t quads = 0;
  ZKW_ParticleSystemMech::QuadUVs uvs{};
  DX_V::PCT* v = mech != nullptr
                     ? mech->LockQuadsUnmapped(0, particles.size(), appearance, quads, uvs)
                     : nullptr;
  if (v == nullptr) return;
  const float w = static_cast<float>(appearance.size.Value());
  const float h = w * appearance.frames.front().aspect;
  const D3DXVECTOR3& c = centre.Value();
  uint32_t q = 0;
  for (auto it = particles.begin(); it != particles.end() && q < quads; ++it) {
    const RoutineParticle* p = it->Get();
    if (p == nullptr) continue;
    // Turned along the way out from the centre, so the quad's x axis points away from it.
    const D3DXMATRIX m = appearance.QuadMatrix(*p, p->position - c);
    const D3DXVECTOR3 xAxis(w, 0, 0), yAxis(0, h, 0);
    D3DXVECTOR3 a, b;
    D3DXVec3TransformCoord(&a, &xAxis, &m);
    D3DXVec3TransformCoord(&b, &yAxis, &m);
    WriteParticleQuad(v, p->position, a * 0.5f, b * 0.5f, p->atlasCell, uvs);
    ScaleAbout(v, c, p->position.z);
    mech->SetQuadColors(appearance.ParticleOpacity(*p), v);
    v += 4;
    ++q;
  }
  mech->UnlockQuads(0, q, uvs);
}
