#include "particles/classic/emission/emission_shapes.h"

#include <algorithm>

#include "core/crt_rand.h"
#include "core/math/random_direction.h"

namespace {

// `count` particles, each at what `place` answers.
template <class Place>
RoutineParticleList Make(int count, Place place) {
  RoutineParticleList out;
  for (int i = 0; i < count; ++i)
    out.push_back(MakeParticle(place()));
  return out;
}

}  // namespace

RoutineParticleList ZKW_PointImitter::Generate(int count) {
  return Make(count, [&] { return point.Value(); });
}

RoutineParticleList ZKW_CircleImitter::Generate(int count) {
  return Make(count, [&] {
    const float r = crt_rand_unit() * diameter * 0.5f;
    D3DXVECTOR3 offset;
    RandomDirection2D(&offset, r, 0.0f, 360.0f);
    return point.Value() + offset;
  });
}

RoutineParticleList ZKW_SectorImitter::Generate(int count) {
  const float a = static_cast<float>(direction) - static_cast<float>(opening) / 2.0f;
  const float b = static_cast<float>(direction) + static_cast<float>(opening) / 2.0f;
  return Make(count, [&] {
    const float r = crt_rand_unit() * static_cast<float>(radius);
    D3DXVECTOR3 offset;
    RandomDirection2D(&offset, r, a, b);
    return point.Value() + offset;
  });
}

RoutineParticleList ZKW_RectImitter::Generate(int count) {
  const D3DXVECTOR3& first = rect.corners[0].Value();
  const D3DXVECTOR3& last = rect.corners[3].Value();
  return Make(count, [&] {
    const float y = crt_rand_unit() * (last.y - first.y) + first.y;
    const float x = crt_rand_unit() * (last.x - first.x) + first.x;
    return D3DXVECTOR3(x, y, 0.0f);
  });
}

ZKW_PosArrImitter::ZKW_PosArrImitter(const ZKW_PosArrImitter& other)
    : ZKW_ImetterGeom(other), slots_(std::make_shared<PositionSlots>(*other.slots_)) {}

void ZKW_PosArrImitter::SetPositions(const std::vector<D3DXVECTOR3>& points) {
  // Particles on the old places keep their routines; the new places are all free.
  slots_ = std::make_shared<PositionSlots>();
  for (size_t i = 0; i < points.size(); ++i) {
    slots_->positions.push_back({points[i].x, points[i].y, points[i].z, nullptr});
    slots_->free.push_back(static_cast<int>(i));
  }
}

RoutineParticleList ZKW_PosArrImitter::Generate(int count) {
  RoutineParticleList out;
  PositionSlots& s = *slots_;
  for (int i = 0; i < count && !s.free.empty(); ++i) {
    const size_t a = static_cast<size_t>(crt_rand()) % s.free.size();
    const int index = s.free[a];
    PositionSlot& slot = s.positions[static_cast<size_t>(index)];
    DS_SafePtr<RoutineParticle> particle = MakeParticle({slot.x, slot.y, slot.z});
    auto death = std::make_unique<IPR_ArrayPtclDeath>(index, slots_);
    slot.holder = death.get();
    particle->AddRoutine(DS_SafePtr<InnerParticleRoutine>(std::move(death)), false);
    out.push_back(std::move(particle));
    s.free.erase(s.free.begin() + static_cast<std::ptrdiff_t>(a));
  }
  return out;
}

IPR_ArrayPtclDeath::~IPR_ArrayPtclDeath() {
  if (released != 0) return;
  const std::shared_ptr<PositionSlots> s = slots.lock();
  if (s == nullptr || slot < 0 || static_cast<size_t>(slot) >= s->positions.size()) return;
  PositionSlot& place = s->positions[static_cast<size_t>(slot)];
  if (place.holder != this) return;
  place.holder = nullptr;
  s->free.push_back(slot);
}
