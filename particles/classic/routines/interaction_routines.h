#pragma once

#include <list>

#include "core/ds_safe_ptr.h"
#include "core/param/media_quad.h"
#include "particles/classic/routines/inner_particle_routine.h"

// A test of a particle's state.
class RoutineCondition {
 public:
  virtual ~RoutineCondition() = default;
  virtual bool Test(float dt, RoutineParticle& particle) = 0;
};

// What happens to a particle that met a condition; `other` is a handle the action may fill with
// a particle it makes. False: the particle dies.
class RoutineAction {
 public:
  virtual ~RoutineAction() = default;
  virtual bool Execute(RoutineParticle& particle, DS_SafePtr<RoutineParticle>& other) = 0;
};

// The particle's drawn centre (position + direction x the along multiplier + normal x the across
// multiplier, x and y) lies on the negative side of the line A x + B y + C = 0.
class PRC_CrossLine : public RoutineCondition {
 public:
  PRC_CrossLine(float a, float b, float c) : a(a), b(b), c(c) {}
  bool Test(float dt, RoutineParticle& particle) override;

  float a, b, c;
};

// True when any of its conditions holds (in list order, the first true wins); false when empty.
class PRC_OR : public RoutineCondition {
 public:
  bool Test(float dt, RoutineParticle& particle) override;
  void Add(DS_SafePtr<RoutineCondition> condition) { conditions.push_back(std::move(condition)); }

  std::list<DS_SafePtr<RoutineCondition>> conditions;
};

// Outside a quad: one crossing line per edge p0-p2, p2-p3, p3-p1, p1-p0, the edge from
// (x1, y1) to (x2, y2) giving A = y1 - y2, B = x2 - x1, C = x1 y2 - x2 y1. For the corners of
// MediaQuad::SetRect that is true outside the rectangle.
class PRC_CrossQuad : public PRC_OR {
 public:
  explicit PRC_CrossQuad(const MediaQuad& quad);
};

// The particle dies.
class PRA_Die : public RoutineAction {
 public:
  bool Execute(RoutineParticle&, DS_SafePtr<RoutineParticle>&) override { return false; }
};

// Runs the action when the condition holds and answers what the action answers; true
// otherwise (and while either is missing).
class IPR_InteractionRoutine : public InnerParticleRoutine {
 public:
  IPR_InteractionRoutine() = default;
  IPR_InteractionRoutine(DS_SafePtr<RoutineCondition> condition, DS_SafePtr<RoutineAction> action)
      : condition(std::move(condition)), action(std::move(action)) {}

  bool Apply(float dt, RoutineParticle& particle) override;

  DS_SafePtr<RoutineCondition> condition;
  DS_SafePtr<RoutineAction> action;
};

// The flags a rain drop keeps in its particle's spare integer.
enum RainFlag : int {
  kRainMerging = 1,  // being absorbed by another drop
  kRainLanding = 2,
  kRainSliding = 4,
};

// The interaction of the rain on glass, whose condition is leaving the glass's quad. A drop that
// is still landing is never acted on.
class IPR_RainInteractionRoutine : public IPR_InteractionRoutine {
 public:
  using IPR_InteractionRoutine::IPR_InteractionRoutine;

  bool Apply(float dt, RoutineParticle& particle) override;

  // The condition becomes a new PRC_CrossQuad of `quad` (the previous one is released).
  void SetCrossQuad(const MediaQuad& quad);
};
