#include "particles/classic/routines/interaction_routines.h"

#include <memory>

bool PRC_CrossLine::Test(float, RoutineParticle& p) {
  const D3DXVECTOR3 q = p.DrawnCentre();
  return a * q.x + b * q.y + c < 0.0f;
}

bool PRC_OR::Test(float dt, RoutineParticle& p) {
  for (const auto& condition : conditions)
    if (condition && condition->Test(dt, p)) return true;
  return false;
}

PRC_CrossQuad::PRC_CrossQuad(const MediaQuad& quad) {
  static constexpr int kEdges[4][2] = {{0, 2}, {2, 3}, {3, 1}, {1, 0}};
  for (const auto& [from, to] : kEdges) {
    const D3DXVECTOR3& p1 = quad.corners[from].Value();
    const D3DXVECTOR3& p2 = quad.corners[to].Value();
    Add(DS_SafePtr<RoutineCondition>(
        std::make_unique<PRC_CrossLine>(p1.y - p2.y, p2.x - p1.x, p1.x * p2.y - p2.x * p1.y)));
  }
}

bool IPR_InteractionRoutine::Apply(float dt, RoutineParticle& p) {
  if (!condition || !action || !condition->Test(dt, p)) return true;
  DS_SafePtr<RoutineParticle> other(std::unique_ptr<RoutineParticle>{});
  return action->Execute(p, other);
}

bool IPR_RainInteractionRoutine::Apply(float dt, RoutineParticle& p) {
  if (p.spare & kRainLanding) return true;
  return IPR_InteractionRoutine::Apply(dt, p);
}

void IPR_RainInteractionRoutine::SetCrossQuad(const MediaQuad& quad) {
  condition = DS_SafePtr<RoutineCondition>(std::make_unique<PRC_CrossQuad>(quad));
}
