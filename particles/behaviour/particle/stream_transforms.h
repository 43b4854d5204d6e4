#pragma once

#include "core/ds_safe_ptr.h"
#include "core/param/jitter_param.h"
#include "core/param/media_param_t.h"
#include "geometry/curve/curve_cursor.h"
#include "particles/behaviour/particle/particle_record.h"
#include "platform/math/d3dx_types.h"

class ZKW_PSGeomEmit_Field;
class ZKW_PSGeomEmit_Stream;

// The motions of emitted streams. Each reads its emitter's parameters on every call.

// The speed of a particle whose own number is r: value x (s + r x (1 - s)).
float JitterFactor(const ZKW_JitterParam& param, float r);

// Circles about a fixed centre at the speed in degrees per second; the mode turns it one way
// (0 and below), the other (1) or the drawn way (2 and above). Sets the tangent velocity.
class PtclTr_Circular : public ZKW_PtclTransform {
 public:
  PtclTr_Circular(float r, int sign, const D3DXVECTOR3& centre, const ZKW_JitterParam* speed,
                  const MediaParamT<int>* mode)
      : r(r), sign(sign), centre(centre), speed(speed), mode(mode) {}
  bool Apply(float dt, ParticleRecord* p) override;
  float r;
  int sign;
  D3DXVECTOR3 centre;
  const ZKW_JitterParam* speed;
  const MediaParamT<int>* mode;
};

// Moves away from a fixed centre (towards it when the flag is 1).
class PtclTr_Radial : public ZKW_PtclTransform {
 public:
  PtclTr_Radial(float r, const D3DXVECTOR3& centre, const ZKW_JitterParam* speed,
                const MediaParamT<int>* inward)
      : r(r), centre(centre), speed(speed), inward(inward) {}
  bool Apply(float dt, ParticleRecord* p) override;
  float r;
  D3DXVECTOR3 centre;
  const ZKW_JitterParam* speed;
  const MediaParamT<int>* inward;
};

// Travels along a curve at the speed; the life is the fraction of the length travelled. Dies past
// the curve's end. On a curve too short to travel the life stays as it is.
class PtclTr_PathTracker : public ZKW_PtclTransform {
 public:
  PtclTr_PathTracker(DS_SafePtr<CurveCursor> cursor, const ZKW_JitterParam* speed, float r)
      : cursor(std::move(cursor)), speed(speed), r(r) {}
  bool Apply(float dt, ParticleRecord* p) override;
  DS_SafePtr<CurveCursor> cursor;
  const ZKW_JitterParam* speed;
  float r;
};

// Places a field particle from its field coordinates (u, v in the velocity's x and y) with the
// field's tilt as perspective: far rows shrink and close up.
class PtclTr_PerspectiveField : public ZKW_PtclTransform {
 public:
  explicit PtclTr_PerspectiveField(const ZKW_PSGeomEmit_Field* field) : field(field) {}
  bool Apply(float dt, ParticleRecord* p) override;
  const ZKW_PSGeomEmit_Field* field;
};

// Sets a stream particle's velocity along its direction, slowed and shrunk with the distance
// from the stream's start line when the stream has perspective. A stream whose start is its end
// has no perspective.
class PtclTr_PerspectiveFlow : public ZKW_PtclTransform {
 public:
  PtclTr_PerspectiveFlow(const ZKW_PSGeomEmit_Stream* stream, float r) : stream(stream), r(r) {}
  bool Apply(float dt, ParticleRecord* p) override;
  const ZKW_PSGeomEmit_Stream* stream;
  float r;
};
