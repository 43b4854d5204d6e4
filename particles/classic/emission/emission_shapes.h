#pragma once

#include <memory>
#include <vector>

#include "core/param/media_param_t.h"
#include "core/param/media_quad.h"
#include "particles/classic/routines/inner_particle_routine.h"
#include "particles/classic/routines/routine_particle.h"
#include "platform/math/d3dx_types.h"

// Where a classic control's particles are born. Generate(n) makes n new particles, each held by
// one handle in the list, placed by the shape and otherwise at their start values; n <= 0 gives
// none. Random draws are rand()/32767, in the order each shape states.
class ZKW_ImetterGeom {
 public:
  virtual ~ZKW_ImetterGeom() = default;
  virtual RoutineParticleList Generate(int count) = 0;

 protected:
  ZKW_ImetterGeom() = default;
  ZKW_ImetterGeom(const ZKW_ImetterGeom&) = default;
  ZKW_ImetterGeom& operator=(const ZKW_ImetterGeom&) = default;
};

// Every particle at the point. The point has no value until its owner gives it one (0 here).
class ZKW_PointImitter : public ZKW_ImetterGeom {
 public:
  ZKW_PointImitter() = default;
  ZKW_PointImitter(const ZKW_PointImitter&) = default;

  RoutineParticleList Generate(int count) override;

  MediaParamT<D3DXVECTOR3> point{D3DXVECTOR3(0, 0, 0)};
};

// Uniform in angle within a disc around the point: r = rand x diameter / 2 first, then the
// angle between 0 and 360 degrees.
class ZKW_CircleImitter : public ZKW_PointImitter {
 public:
  RoutineParticleList Generate(int count) override;

  float diameter = 0.0f;
};

// Within a sector around the point: r = rand x radius, then an angle between direction -
// opening / 2 and direction + opening / 2 (degrees, measured from +x towards -y).
class ZKW_SectorImitter : public ZKW_PointImitter {
 public:
  RoutineParticleList Generate(int count) override;

  unsigned direction = 0;
  unsigned opening = 0;
  unsigned radius = 0;
};

// Within the rectangle spanned by the first and last corners of a quad: y is drawn first, then
// x; z is 0.
class ZKW_RectImitter : public ZKW_ImetterGeom {
 public:
  ZKW_RectImitter() = default;
  ZKW_RectImitter(const ZKW_RectImitter&) = default;

  RoutineParticleList Generate(int count) override;

  MediaQuad rect;
};

class IPR_ArrayPtclDeath;

// One place of a position array and the death routine of the particle that holds it.
struct PositionSlot {
  float x = 0.0f, y = 0.0f, z = 0.0f;
  IPR_ArrayPtclDeath* holder = nullptr;
};

// The places of a position array with the indices of the free ones.
struct PositionSlots {
  std::vector<PositionSlot> positions;
  std::vector<int> free;
};

// Particles on fixed places, at most one per place: each new particle takes a free place at
// random (rand() mod the free count) and carries an IPR_ArrayPtclDeath that gives the place back
// when the particle is destroyed. A request for more particles than there are free places gives
// one per free place. Copies copy the places and the free list.
class ZKW_PosArrImitter : public ZKW_ImetterGeom {
 public:
  ZKW_PosArrImitter() = default;
  ZKW_PosArrImitter(const ZKW_PosArrImitter& other);

  RoutineParticleList Generate(int count) override;

  // Replaces the places (all free, in order).
  void SetPositions(const std::vector<D3DXVECTOR3>& points);
  const std::vector<PositionSlot>& Positions() const { return slots_->positions; }
  const std::vector<int>& FreeSlots() const { return slots_->free; }

 private:
  // Shared with the death routines, which find it gone when the imitter is destroyed first.
  std::shared_ptr<PositionSlots> slots_ = std::make_shared<PositionSlots>();
};

// The routine of a particle on a place of a position array: alive while not released; its
// destruction frees the place (unless released) when the array still has it.
class IPR_ArrayPtclDeath : public InnerParticleRoutine {
 public:
  IPR_ArrayPtclDeath(int slot, std::weak_ptr<PositionSlots> slots)
      : slot(slot), slots(std::move(slots)) {}
  ~IPR_ArrayPtclDeath() override;

  bool Apply(float, RoutineParticle&) override { return released == 0; }

  int slot;
  std::weak_ptr<PositionSlots> slots;
  uint8_t released = 0;
};
