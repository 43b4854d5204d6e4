#pragma once

#include <cmath>
#include <memory>

#include "classic_fixture.h"
#include "particles/classic/control/particle_system_mech.h"

namespace classic_test {

// The run-time object made from a description of kind K, and the kind's attached copy.
template <class K>
struct AttachedKind {
  explicit AttachedKind(K& description)
      : object(description.CreateRuntimeObject()),
        mech(static_cast<ZKW_ParticleSystemMech*>(object.get())),
        kind(static_cast<K*>(mech->ctrl)) {}

  std::unique_ptr<ZKW_RenderObj> object;
  ZKW_ParticleSystemMech* mech;
  K* kind;
};

// A new particle at `at`, at its start values.
inline DS_SafePtr<RoutineParticle> NewParticle(const D3DXVECTOR3& at) {
  return DS_SafePtr<RoutineParticle>(std::make_unique<RoutineParticle>(at));
}

// The vertices of a batch as written (the managed buffer's copy).
inline const DX_V::PCT* BatchVertices(const PCTSpriteArray& batch) {
  return reinterpret_cast<const DX_V::PCT*>(batch.vertices.buffer->Data().data());
}

inline D3DXVECTOR3 Corner(const DX_V::PCT& v) {
  return {v.x, v.y, v.z};
}

inline float Distance(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const D3DXVECTOR3 d = a - b;
  return std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
}

// The middle of a quad's four corners.
inline D3DXVECTOR3 QuadMiddle(const DX_V::PCT* quad) {
  return (Corner(quad[0]) + Corner(quad[1]) + Corner(quad[2]) + Corner(quad[3])) * 0.25f;
}

// The alpha byte of a vertex.
inline int AlphaOf(const DX_V::PCT& v) {
  return int(v.diffuse >> 24);
}

}  // namespace classic_test
