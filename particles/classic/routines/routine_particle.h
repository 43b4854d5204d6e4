#pragma once

#include <array>
#include <cstdint>
#include <list>

#include "core/block_pool.h"
#include "core/ds_safe_ptr.h"
#include "platform/math/d3dx_types.h"

class InnerParticleRoutine;

// A particle of the classic particle controls: a plain record of position, motion, age and a few
// per-step values. What it does comes from its ordered routines (InnerParticleRoutine kinds),
// each of which changes one aspect per step; an optional life routine is asked first and decides
// whether the particle still lives. Held only through DS_SafePtr.
class RoutineParticle {
 public:
  // The per-step multipliers the kinds use.
  enum Multiplier : int {
    kSize = 1,
    kOpacity = 2,
    kAlong = 4,       // offset along the direction
    kAcross = 5,      // offset across it
    kPathOffset = 6,  // lateral offset of the path routines
  };
  static constexpr int kMultiplierCount = 7;
  // Value indices address the floats from the age on: 0 age, 1 own size, 2 own opacity, 3 spin
  // factor, 4 and 5 the kind's floats, 6 the lateral offset unit, 7 + i multiplier i.
  static constexpr int kFirstMultiplierValue = 7;
  static constexpr int kValueCount = kFirstMultiplierValue + kMultiplierCount;

  // A particle at `position` with every other field at its start value.
  explicit RoutineParticle(const D3DXVECTOR3& position);
  RoutineParticle(const RoutineParticle&) = delete;
  RoutineParticle& operator=(const RoutineParticle&) = delete;

  // Appends the routine (one more reference); with `applyNow` it is applied once at once with a
  // step of 0, its answer ignored.
  void AddRoutine(DS_SafePtr<InnerParticleRoutine> routine, bool applyNow);
  void SetLifeRoutine(DS_SafePtr<InnerParticleRoutine> routine);

  // One step: the life routine (false ends the step), then the multipliers back to 1 and the
  // force to 0, the routines in order until one answers false, then the direction (the unit
  // velocity, or (0, 1, 0) at rest) and its normal. True while everything answered true.
  bool Update(float dt);

  // The float at value index k; null outside the indices above.
  float* ValueAt(int k);
  // The bound the life fraction divides the age by: the life routine's Limit, 1 without one.
  float LifeLimit() const;
  // Where the particle is drawn: its position moved along its direction by the along multiplier
  // and along its normal by the across multiplier.
  D3DXVECTOR3 DrawnCentre() const {
    return position + direction * multipliers[kAlong] + normal * multipliers[kAcross];
  }

  D3DXMATRIX matrix;  // orientation and scale of the particle's quad; identity
  D3DXVECTOR3 position;
  D3DXVECTOR3 velocity{0, 0, 0};
  D3DXVECTOR3 acceleration{0, 0, 0};  // constant, applied by IPR_Kinematic
  D3DXVECTOR3 force{0, 0, 0};         // summed anew each step
  D3DXVECTOR3 direction{0, 0, 0};
  D3DXVECTOR3 normal{0, 0, 0};
  float age = 0.0f;  // seconds, or the distance travelled for the distance kinds
  float ownSize = 1.0f;
  float ownOpacity = 1.0f;
  float spinFactor = 0.0f;
  std::array<float, 2> kindValues{};
  float lateralUnit = 0.0f;
  std::array<float, kMultiplierCount> multipliers{1, 1, 1, 1, 1, 1, 1};
  int pathIndex = 0;
  std::array<float, 4> atlasCell{1, 1, 0, 0};  // u scale, v scale, u offset, v offset
  uint32_t colour = 0xFFFFFF;                  // COLORREF
  int spare = 0;
  std::list<DS_SafePtr<InnerParticleRoutine>, PoolAllocator<DS_SafePtr<InnerParticleRoutine>>>
      routines;
  DS_SafePtr<InnerParticleRoutine> lifeRoutine;
};

// Particles and the nodes of their lists come from the particle pool: a list walked in birth
// order reads memory forwards.
using RoutineParticleList =
    std::list<DS_SafePtr<RoutineParticle>, PoolAllocator<DS_SafePtr<RoutineParticle>>>;

// A new particle at `position`.
DS_SafePtr<RoutineParticle> MakeParticle(const D3DXVECTOR3& position);

// Updates every particle in order and drops (releases) each whose Update answers false; the
// survivors keep their order.
void UpdateRoutineParticles(RoutineParticleList& particles, float dt);
