#include "objects/sprites/ds_discharge_fx_constructor.h"

#include <algorithm>

#include "core/crt_rand.h"
#include "core/list_limits.h"
#include "core/param/param_reads.h"
#include "platform/math/d3dx_math.h"

namespace {

// Walks from `start` to `end` in `segments` steps that share out the remaining distance, each
// but the last turned sideways by two draws of `draw` in [-jitter, jitter]; fills every element
// of `bolt` (elements past the segments go on walking in steps of what remains).
template <class Draw>
void BuildBolt(std::vector<BoltSegment>& bolt, const D3DXVECTOR3& start, const D3DXVECTOR3& end,
               float jitter, uint32_t segments, Draw draw) {
  D3DXVECTOR3 normal(end.y - start.y, -(end.x - start.x), 0.0f);
  D3DXVec3Normalize(&normal, &normal);
  D3DXVECTOR3 c = start;
  for (size_t i = 0; i < bolt.size(); ++i) {
    const D3DXVECTOR3 d = end - c;
    const float remaining = D3DXVec3Length(&d);
    const int64_t stepsLeft = int64_t{segments} - static_cast<int64_t>(i);
    const float step = remaining / static_cast<float>(std::max<int64_t>(stepsLeft, 1));
    D3DXVECTOR3 v = d;
    if (i + 1 != segments) {
      const float r1 = -jitter + draw() * 2.0f * jitter;
      const float r2 = -jitter + draw() * 2.0f * jitter;
      v = D3DXVECTOR3(d.x + r1 * d.y, d.y + r2 * d.x, 2.0f * d.z);
    }
    BoltSegment& segment = bolt[i];
    D3DXVec3Normalize(&segment.direction, &v);
    segment.normal = normal;
    const D3DXVECTOR3 next = c + segment.direction * step;
    segment.midpoint = (c + next) * 0.5f;
    segment.length = step;
    c = next;
  }
}

uint64_t BoltDraws(size_t elements, uint32_t segments) {
  const bool hasLast = segments >= 1 && segments <= elements;
  return 2 * (uint64_t{elements} - (hasLast ? 1 : 0));
}

float Lerp(float p, float q, float a) {
  return p + (q - p) * a;
}

D3DXVECTOR3 Lerp(const D3DXVECTOR3& p, const D3DXVECTOR3& q, float a) {
  return p + (q - p) * a;
}

}  // namespace

DS_DischargeFXConstructor::DS_DischargeFXConstructor() {
  size.SetValue(50);
  blendMode.SetValue(1);
  colour.SetValue(0xFFFFCC);
  glowColour.SetValue(0xFF9900);
  effectLink = DS_HLSLEffectFile(u"glimres.dll", 97);
  startPoint.SetValueSilently(D3DXVECTOR3(100.0f, 100.0f, 0.0f));
  endPoint.SetValueSilently(D3DXVECTOR3(RightPixels() - 100.0f, BottomPixels() - 100.0f, 0.0f));
}

DS_DischargeFXConstructor::~DS_DischargeFXConstructor() = default;

bool DS_DischargeFXConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_DischargeFXConstructor", kVersion);
  DS_IOF_Virtual& io = archive.io();
  for (const D3DXVECTOR3& p : {startPoint.Value(), endPoint.Value()}) {
    io.WriteFloat(p.x);
    io.WriteFloat(p.y);
    io.WriteFloat(p.z);
  }
  io.WriteUInt32(jitter.Value());
  io.WriteInt32(pictureChoice.Value());
  io.WriteUInt32(flickerPeriod.Value());
  io.WriteUInt32(morphRate.Value());
  return DS_GlowEffectCtrl::Save(archive);
}

bool DS_DischargeFXConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  for (D3DXVECTOR3* p : {&startPoint.RawValue(), &endPoint.RawValue()}) {
    io.ReadFloat(p->x);
    io.ReadFloat(p->y);
    io.ReadFloat(p->z);
  }
  ReadChangedUInt32(archive, jitter);
  io.ReadInt32(pictureChoice.RawValue());
  ReadChangedUInt32(archive, flickerPeriod);
  ReadChangedUInt32(archive, morphRate);
  return DS_GlowEffectCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_DischargeFXConstructor::Clone() const {
  return std::make_unique<DS_DischargeFXConstructor>(*this);
}

void DS_DischargeFXConstructor::Restart() {
  reformTime = 0.0f;
  DS_GlowEffectCtrl::Restart();
}

void DS_DischargeFXConstructor::PrepareEffect() {
  picture = DS_ImageFileLink(u"glimres.dll", pictureChoice.Value() != 0 ? 95 : 98);
  DS_GlowEffectCtrl::PrepareEffect();
  if (reformed) return;
  startPoint.SetValueSilently(D3DXVECTOR3(100.0f, 100.0f, 0.0f));
  endPoint.SetValueSilently(D3DXVECTOR3(RightPixels() - 100.0f, BottomPixels() - 100.0f, 0.0f));
  reformed = true;
}

uint32_t DS_DischargeFXConstructor::Segments() const {
  return std::min(count.Value(), kMaxParticlesPerList);
}

DS_DischargeFXConstructor::PendingBuild DS_DischargeFXConstructor::DeferBuild() {
  const PendingBuild build{crt_rand_state(), startPoint.Value(), endPoint.Value(), jitter.Scaled(),
                           Segments()};
  crt_rand_discard(BoltDraws(build.segments, build.segments));
  return build;
}

void DS_DischargeFXConstructor::SpawnParticle(SpriteRecord& /*sprite*/) {
  const uint32_t n = Segments();
  previousBolt_.resize(n);
  newBolt_.resize(n);
  pendingPrevious_ = DeferBuild();
  pendingNew_ = DeferBuild();
}

void DS_DischargeFXConstructor::ResolvePendingBolts() {
  for (auto [bolt, pending] :
       {std::pair{&previousBolt_, &pendingPrevious_}, std::pair{&newBolt_, &pendingNew_}}) {
    if (!*pending) continue;
    const PendingBuild& build = **pending;
    CrtRandSequence sequence(build.randState);
    BuildBolt(*bolt, build.start, build.end, build.jitter, build.segments,
              [&] { return sequence.NextUnit(); });
    pending->reset();
  }
}

const std::vector<BoltSegment>& DS_DischargeFXConstructor::PreviousBolt() {
  ResolvePendingBolts();
  return previousBolt_;
}

const std::vector<BoltSegment>& DS_DischargeFXConstructor::NewBolt() {
  ResolvePendingBolts();
  return newBolt_;
}

void DS_DischargeFXConstructor::PreUpdate() {
  ResolvePendingBolts();
  segmentIndex = 0;
  if (motionElapsed - reformTime > 0.1f) {
    reformTime = motionElapsed;
    reformed = true;
    previousBolt_ = newBolt_;
    BuildBolt(newBolt_, startPoint.Value(), endPoint.Value(), jitter.Scaled(), Segments(),
              crt_rand_unit);
  } else {
    reformed = false;
  }
}

void DS_DischargeFXConstructor::UpdateParticle(SpriteRecord& sprite) {
  ResolvePendingBolts();
  const size_t k = static_cast<size_t>(std::max(segmentIndex, 0));
  if (k < previousBolt_.size() && k < newBolt_.size()) {
    const BoltSegment& p = previousBolt_[k];
    const BoltSegment& q = newBolt_[k];
    const float a = (motionElapsed - reformTime) * morphRate.Scaled();
    sprite.centre = Lerp(p.midpoint, q.midpoint, a);
    sprite.axis1 = Lerp(p.direction, q.direction, a);
    sprite.axis2 = Lerp(p.normal, q.normal, a);
    sprite.halfWidth = Lerp(p.length, q.length, a) * 0.5f;
  }
  sprite.halfHeight = static_cast<float>(size.Value()) * 0.5f;
  sprite.directionSigns = D3DXVECTOR3();
  sprite.velocity = D3DXVECTOR3();
  if (motionLastTime - sprite.eventTime > flickerPeriod.Scaled()) {
    sprite.eventTime = motionLastTime;
    const bool upper = crt_rand() % 2 == 1;
    sprite.topV = upper ? 0.0f : 0.5f;
    sprite.bottomV = upper ? 0.5f : 1.0f;
    if (crt_rand() % 2 == 1) std::swap(sprite.topV, sprite.bottomV);
  }
  // The picture's end caps show only at the bolt's two ends.
  sprite.leftU = k == 0 ? 0.0f : 0.195f;
  sprite.rightU = k + 1 == Segments() ? 1.0f : 0.805f;
  segmentIndex += 1;
  sprite.colour = SpriteColour(sprite.alphaFactor);
}
