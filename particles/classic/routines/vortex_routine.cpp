#include "particles/classic/routines/vortex_routine.h"

#include "platform/math/d3dx_math.h"

bool IPR_VortexVel::Apply(float, RoutineParticle& p) {
  const D3DXVECTOR3 d = p.position - centre->Value();
  const float r = D3DXVec3Length(&d);
  if (!(r > 0.0f)) return true;
  const float e = speed->Scaled(), w = swirl->Scaled();
  const D3DXVECTOR3 turn =
      swirlDirection->Value() == 0 ? D3DXVECTOR3(-d.y, d.x, 0.0f) : D3DXVECTOR3(d.y, -d.x, 0.0f);
  p.velocity = d * (e / r) + turn * w;
  return true;
}
