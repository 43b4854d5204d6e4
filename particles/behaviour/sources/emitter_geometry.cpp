#include "particles/behaviour/sources/emitter_geometry.h"

#include <cmath>
#include <memory>

#include "core/archive/vector_io.h"
#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/param/param_reads.h"
#include "particles/behaviour/particle/oscillation_transforms.h"
#include "particles/behaviour/particle/particle_transforms.h"

ZKW_PSGeometry_Emitter::ZKW_PSGeometry_Emitter() {
  speed.value.SetScale(1.0f, 0.0f);
}

bool ZKW_PSGeometry_Emitter::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PSGeometry_Emitter", 2);
  DS_IOF_Virtual& io = archive.io();
  io.WriteFloat(lifetime.Value());
  io.WriteUInt32(count.Value());
  io.WriteFloat(duration.Value());
  io.WriteFloat(pause.Value());
  io.WriteFloat(delay.Value());
  io.WriteUInt32(speed.value.Value());
  io.WriteUInt32(speed.jitter.Value());
  io.WriteInt32(attached.Value());
  if (const ZKW_VFigure* shape = figure.Figure()) shape->Save(archive);
  return ZKW_PtclSys_Geometry::Save(archive);
}

void ReadEmitterPart(DS_IOF_Archive& archive, ZKW_PSGeometry_Emitter& e) {
  const uint32_t version = ReadBaseHeader(archive);
  DS_IOF_Virtual& io = archive.io();
  io.ReadFloat(e.lifetime.RawValue());
  io.ReadUInt32(e.count.RawValue());
  io.ReadFloat(e.duration.RawValue());
  io.ReadFloat(e.pause.RawValue());
  io.ReadFloat(e.delay.RawValue());
  ReadChangedUInt32(archive, e.speed.value);
  ReadChangedUInt32(archive, e.speed.jitter);
  io.ReadInt32(e.attached.RawValue());
  if (version > 1) {
    // An unknown figure class yields nothing: the emitter keeps the figure it has.
    if (std::unique_ptr<ZKW_VFigure> shape = ReadVFigure(archive))
      e.figure.SetFigure(DS_SafePtr<ZKW_VFigure>(std::move(shape)), nullptr);
  }
  ReadGeometryBasePart(archive, e);
}

int ZKW_PSGeometry_Emitter::EmitCount(float dt, float t) const {
  const float e = t - delay.Value();
  const float window = duration.Value();
  const unsigned n = count.Value();
  const float period = window + pause.Value();
  if (!(e >= 0.0f) || n == 0 || !(window > 0.0f) || !(period > 0.0f) || !(dt >= 0.0f)) return 0;
  const float g = window / static_cast<float>(n);
  const float m = std::fmod(e, period);
  double result = 0.0;
  if (window > m + dt)
    result = std::trunc((m + dt) / g) - std::trunc(m / g);
  else if (window > m)
    result = std::trunc(window / g) - std::trunc(m / g);
  if (!(result > 0.0)) return 0;
  const uint32_t cap = EmittedParticleCap();
  return result > static_cast<double>(cap) ? static_cast<int>(cap) : static_cast<int>(result);
}

float ZKW_PSGeometry_Emitter::DrawSpeed() const {
  const float r = crt_rand_unit();
  const float s = speed.jitter.Scaled();
  return speed.value.Scaled() * (s + r * (1.0f - s));
}

int ZKW_PSGeometry_Emitter::FitCount(int wanted) const {
  const size_t cap = EmittedParticleCap();
  const size_t room = particles.size() < cap ? cap - particles.size() : 0;
  return wanted < 0 ? 0 : static_cast<int>(std::min<size_t>(static_cast<size_t>(wanted), room));
}

D3DXVECTOR3 ParentAnchor(const ParticleRecord& parent) {
  D3DXVECTOR3 w = parent.Position();
  if (parent.Has(ParticleRecord::kRelativeToParent) && parent.Parent() != nullptr)
    w += parent.Parent()->WorldPosition();
  const D3DXVECTOR3& d = parent.vectors[ParticleRecord::kDirection];
  const float a = parent.floats[ParticleRecord::kAlong];
  const float c = parent.floats[ParticleRecord::kAcross];
  return D3DXVECTOR3(w.x + a * d.x - c * d.y, w.y + a * d.y + c * d.x, w.z);
}

ParticleList ZKW_PSGeometry_Emitter::EmitCore(float dt, ParticleHandle* parent) {
  const ParticleRecord* owner = parent != nullptr ? parent->Get() : nullptr;
  const float age = owner != nullptr ? owner->floats[ParticleRecord::kAge] : 0.0f;
  const int n = FitCount(EmitCount(dt, age));
  ParticleList made;
  made.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    ParticleHandle p = MakeChildParticle(parent != nullptr ? *parent : ParticleHandle());
    const bool isAttached = attached.Value() != 0;
    if (isAttached) p->flags |= ParticleRecord::kRelativeToParent;
    AttachTransform<PtclTr_MaxAge>(*p, lifetime.Value());
    if (isAttached || owner == nullptr)
      p->Position() = position.Value();
    else
      p->Position() = ParentAnchor(*owner) + position.Value();
    InitParticle(*p);
    made.push_back(std::move(p));
  }
  return made;
}

void ZKW_PSGeometry_Emitter::AddEnvelopeMultipliers(ParticleRecord& particle,
                                                    const ParticleRecord* parent) const {
  const float t = parent != nullptr ? parent->floats[ParticleRecord::kLife] : 0.0f;
  AttachTransform<PtclTr_PrmMultiplicator>(particle, ParticleRecord::kScale,
                                           EnvelopeFactor(sizeEnvelope, t));
  AttachTransform<PtclTr_PrmMultiplicator>(particle, ParticleRecord::kAlpha,
                                           EnvelopeFactor(translucencyEnvelope, t));
}

ParticleList ZKW_PSGeometry_Emitter::Keep(ParticleList made) {
  particles.insert(particles.end(), made.begin(), made.end());
  return made;
}
