#pragma once

#include <array>

#include "core/ds_safe_ptr.h"
#include "particles/classic/routines/interaction_routines.h"
#include "platform/math/d3dx_types.h"

// The routines of rain drops on glass. A drop's own size is its size factor (0.5 to 1.3), its
// own opacity its visibility, and its rain flags (RainFlag) sit in the particle's spare integer.

// Landing: over the remaining time the drop fades in and moves onto its landing point; then it
// is fully visible (unless it is merging) and no longer landing.
class IPR_RainFall : public InnerParticleRoutine {
 public:
  IPR_RainFall(const D3DXVECTOR3& landing, float remaining)
      : landing(landing), remaining(remaining) {}

  bool Apply(float dt, RoutineParticle& particle) override;

  D3DXVECTOR3 landing;
  float remaining;
};

// Sliding (only a sliding drop that is neither landing nor merging): a drop larger than 1 runs
// with the slide acceleration; a smaller one is held back by a drag of k / size^3 and sticks
// when it moves against the slide. A moving drop above 0.7 thins as it goes. k and the interval
// after which it is drawn again change now and then, so that drops stop and start.
class IPR_RainDynamic : public InnerParticleRoutine {
 public:
  // Draws k (1 to 20) and then the interval (0.1 to 0.9 s).
  explicit IPR_RainDynamic(const D3DXVECTOR3& slide);

  bool Apply(float dt, RoutineParticle& particle) override;
  void DrawDrag();

  D3DXVECTOR3 slide;
  float drag = 1.0f;
  float interval = 0.1f;
  float timer = 0.0f;
};

// Merging into another drop: within the remaining time the drop fades and moves onto its target;
// then the target takes the volume of both (its size the cube root of the summed cubes, at most
// 1.3), starts sliding if it did not, and this drop dies.
class IPR_RainMerge : public InnerParticleRoutine {
 public:
  static constexpr float kMergeTime = 0.1f;
  static constexpr float kMaxSize = 1.3f;

  explicit IPR_RainMerge(DS_SafePtr<RoutineParticle> target)
      : target(std::move(target)), remaining(kMergeTime) {}

  bool Apply(float dt, RoutineParticle& particle) override;

  DS_SafePtr<RoutineParticle> target;
  float remaining;
};

// Two drops that touch: a landing or merging drop merges into nothing (false); it leaves a
// landing or merging other drop alone (true); otherwise the drop starts merging into `other`,
// stops and answers false. One instance serves every rain object.
class PRA_RainMerge : public RoutineAction {
 public:
  bool Execute(RoutineParticle& particle, DS_SafePtr<RoutineParticle>& other) override;

  static PRA_RainMerge& Instance();
};

// The sliding drop's picture: the first cell of the 2 x 2 drop atlas.
inline constexpr std::array<float, 4> kSlidingDropCell{0.5f, 0.5f, 0.0f, 0.0f};
