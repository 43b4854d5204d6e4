#pragma once

#include "core/param/media_param_t.h"
#include "geometry/shape/zkw_vgeom2d.h"
#include "particles/behaviour/params/loop_prm.h"
#include "particles/behaviour/params/spiral_prm.h"
#include "particles/behaviour/params/velocity_field_prm.h"
#include "particles/behaviour/particle/particle_record.h"
#include "platform/math/d3dx_types.h"

// The per-particle transforms that motion laws and point physics attach. Each reads its owner's
// parameter block on every call; the owner outlives the particle.

// Moves the particle over its shape's parameters (u, v) at the loop speed in the loop direction.
// Edge mode 1 kills a particle that leaves the unit square; otherwise a coordinate the shape does
// not report as closed wraps once and the particle is marked as Jumped. A null shape leaves the
// particle where it is.
class PtclTr_Loop : public ZKW_PtclTransform {
 public:
  PtclTr_Loop(const ZKW_VGeom2D* shape, float u, float v, const LoopPrm* loop, float r)
      : shape(shape), u(u), v(v), loop(loop), r(r) {}
  bool Apply(float dt, ParticleRecord* p) override;

  const ZKW_VGeom2D* shape;
  float u, v;
  const LoopPrm* loop;
  float r;
};

// Sets the velocity of a spiral about a centre (the shape's centre plus both offsets; (0, 0, 0)
// plus the offsets without a shape); the kinematic transform moves the particle.
class PtclTr_Spiral : public ZKW_PtclTransform {
 public:
  PtclTr_Spiral(float r, int sign, const SpiralPrm* spiral, const ZKW_VGeom2D* shape,
                const MediaParamT<D3DXVECTOR3>* offset)
      : r(r), sign(sign), spiral(spiral), shape(shape), offset(offset) {}
  bool Apply(float dt, ParticleRecord* p) override;

  float r;
  int sign;
  const SpiralPrm* spiral;
  const ZKW_VGeom2D* shape;
  const MediaParamT<D3DXVECTOR3>* offset;
};

// Sets the velocity from two noise values at the particle's position and the process clock,
// plus a drift.
class PtclTr_VelocityField : public ZKW_PtclTransform {
 public:
  PtclTr_VelocityField(const VelocityFieldPrm* field, float r) : field(field), r(r) {}
  bool Apply(float dt, ParticleRecord* p) override;

  const VelocityFieldPrm* field;
  float r;
};
