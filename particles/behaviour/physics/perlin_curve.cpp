#include "particles/behaviour/physics/perlin_curve.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/crt_rand.h"
#include "core/float_to_int.h"
#include "core/param/param_reads.h"

namespace {

// The table size of octave i (from 1) before the multiplier.
uint64_t OctaveBase(unsigned i) {
  return i == 1 ? 2 : (uint64_t{1} << (i - 1)) + 1;
}

float Signed() {
  return crt_rand_unit() * 2.0f - 1.0f;
}

float Smooth(float t) {
  return t * t * (3.0f - 2.0f * t);
}

}  // namespace

ZKW_PtclSysPhys_PerlinCurv::ZKW_PtclSysPhys_PerlinCurv() : ZKW_PtclSysPhys_Curves(1) {
  SetSpeedDefault(changeSpeed, 50, 0.05f);
  SetSpeedDefault(scrollSpeed, 0, 0.01f);
}

bool ZKW_PtclSysPhys_PerlinCurv::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PtclSysPhys_PerlinCurv", 4);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(segments.Value());
  WriteGraphSpreadPrm(archive, amplitude);
  io.WriteUInt32(octaves.Value());
  io.WriteUInt32(frequencyMultiplier.Value());
  io.WriteUInt32(changeSpeed.Value());
  io.WriteUInt32(scrollSpeed.Value());
  return ZKW_PtclSysPhys_Curves::Save(archive);
}

void ZKW_PtclSysPhys_PerlinCurv::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(segments.RawValue());
  if (version <= 1) {
    amplitude.value.SetValue(0);
  } else if (version == 2) {
    ReadChangedUInt32(archive, amplitude.value);
  } else {
    ReadGraphSpreadPrm(archive, amplitude);
    io.ReadUInt32(octaves.RawValue());
    io.ReadUInt32(frequencyMultiplier.RawValue());
    ReadChangedUInt32(archive, changeSpeed);
    if (version >= 4) ReadChangedUInt32(archive, scrollSpeed);
  }
  ZKW_PtclSysPhys_Curves::ReadBody(archive, ReadBaseHeader(archive));
}

ZKW_PtclSysPhys_PerlinCurv::Shape ZKW_PtclSysPhys_PerlinCurv::StripeShape() const {
  unsigned multiplier = std::max(frequencyMultiplier.Value(), 1u);
  if (OctaveBase(1) * multiplier > kMaxStripePoints)
    multiplier = static_cast<unsigned>(kMaxStripePoints / OctaveBase(1));
  // A table of 2^(i-1) + 1 entries needs i - 1 < 63 before the multiplier is applied.
  unsigned count = std::clamp(octaves.Value(), 1u, 32u);
  while (count > 1 && OctaveBase(count) * multiplier > kMaxStripePoints)
    --count;
  const uint64_t b = OctaveBase(count) * multiplier;
  const uint64_t points = b + (b - 1) * uint64_t{segments.Value()};
  return {count, multiplier, static_cast<uint32_t>(std::min<uint64_t>(points, kMaxStripePoints))};
}

DS_SafePtr<ZKW_PtclSysPhys_Points> ZKW_PtclSysPhys_PerlinCurv::BuildStripe(
    const ParticleHandle& curve) {
  const Shape shape = StripeShape();
  auto perlin = std::make_unique<PtclTr_PerlinCurve>(this, shape.octaves, shape.multiplier);
  DS_SafePtr<ZKW_PtclSysPhys_Points> stripe = MakeStripePoints();
  ParticleList& points = stripe->particles;
  points.reserve(shape.points);
  for (uint32_t i = 0; i < shape.points; ++i) {
    const float x = static_cast<float>(i) / static_cast<float>(shape.points - 1);
    ParticleHandle point(std::make_unique<ParticleRecord>(D3DXVECTOR3(x, 0, 0)));
    point->transforms = perlin->octaves;
    points.push_back(std::move(point));
  }
  if (curve) curve->transforms.emplace_back(std::unique_ptr<ZKW_PtclTransform>(std::move(perlin)));
  return stripe;
}

ParticleList ZKW_PtclSysPhys_PerlinCurv::Update(ParticleList*, float step) {
  changeStep = changeSpeed.Scaled() * step;
  changeTotal += changeStep;
  scrollStep = scrollSpeed.Scaled() * step;
  scrollTotal += scrollStep;
  UpdateCurves(step, [](PointStripe& stripe) {
    if (!stripe.points) return;
    for (const ParticleHandle& point : stripe.points->particles)
      point->Update(0.0f);
  });
  return {};
}

PtclTr_PerlinOctave::PtclTr_PerlinOctave(const ZKW_PtclSysPhys_PerlinCurv* physics,
                                         unsigned frequency, float weight, unsigned entries)
    : PtclTr_FloatPrm(ParticleRecord::kAlong),
      physics(physics),
      frequency(frequency),
      weight(weight) {
  table.reserve(entries);
  for (unsigned i = 0; i < entries; ++i) {
    Entry e{};
    e.phase = crt_rand_unit();
    e.from = Signed();
    e.value = e.from;
    e.to = Signed();
    table.push_back(e);
  }
}

bool PtclTr_PerlinOctave::Apply(float, ParticleRecord* p) {
  if (physics == nullptr || table.empty()) return true;
  if (p == nullptr) {
    for (Entry& e : table) {
      e.phase += physics->changeStep;
      if (e.phase > 1.0f || !std::isfinite(e.phase)) {
        e.from = e.to;
        e.phase = WrapPhase(e.phase);
        e.to = Signed();
      }
      e.value = e.from + (e.to - e.from) * Smooth(e.phase);
    }
    return true;
  }
  float* offset = Target(p);
  if (offset == nullptr) return true;
  const float x = p->Position().x;
  unsigned cursor = 1;
  const float a = physics->amplitude.FactorAt(0.0f, x, &cursor);
  const double at = (static_cast<double>(physics->scrollTotal) + x) * frequency;
  const uint64_t h = SaturatingTruncate<uint64_t>(at);
  const float f = static_cast<float>(at - static_cast<double>(h));
  const size_t n = table.size();
  float v = table[h % n].value;
  if (f != 0.0f) v += (table[(h + 1) % n].value - v) * Smooth(f);
  *offset += v * weight * a;
  return true;
}

PtclTr_PerlinCurve::PtclTr_PerlinCurve(const ZKW_PtclSysPhys_PerlinCurv* physics,
                                       unsigned octaveCount, unsigned multiplier)
    : physics(physics) {
  for (unsigned i = 1; i <= octaveCount; ++i) {
    const auto c = static_cast<unsigned>(OctaveBase(i) * multiplier);
    octaves.emplace_back(std::make_unique<PtclTr_PerlinOctave>(physics, c - 1, 1.0f / i, c));
  }
}

bool PtclTr_PerlinCurve::Apply(float dt, ParticleRecord*) {
  for (const DS_SafePtr<ZKW_PtclTransform>& octave : octaves)
    if (octave) octave->Apply(dt, nullptr);
  return true;
}
