#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "geometry/path/spline_path.h"
#include "particles/classic/control/particle_system_ctrl.h"
#include "particles/classic/emission/emission_counters.h"

// Particles emitted at the first point of a B-spline path and carried along it, each at its own
// speed, with a sideways wobble (harmonic or Perlin) that ramps in and out along the path; a
// particle dies at the path's end.
class ZKW_ParticlePath : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  ZKW_ParticlePath() = default;
  ZKW_ParticlePath(const ZKW_ParticlePath& other) = default;

  // "ZKW_ParticlePath" version 1: Dword point count and the B-spline points, UInt32 rate,
  // speed, speed spread, lateral offset, Int32 wobble mode, UInt32 wobble frequency, start
  // width, end width, ramp-in end and ramp-out start, then the "ZKW_ParticleSystemCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version, the same layout; answers the nested record's answer.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's attach, one batch and the path's samples.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // The counter's particles for the visible part of the step at the path's first point, each
  // dressed and run its share of the step ahead; none on a path of fewer than two points.
  // Answers an empty list.
  RoutineParticleList Emit(float step) override;
  // The time a particle needs for the whole path: L / speed.
  float PrewarmTime() const override;

  // The wobble on multiplier 6 with its ramps, the path tracker as the life routine (speed
  // factor 1 to 1 + spread / 100), then the control look's dressing.
  void InitParticle(const DS_SafePtr<RoutineParticle>& particle);
  float PathLength() const { return path.totalLength; }

  SplinePath path;
  ZKW_EvenImitter counter;
  // Scene units a second along the path.
  MediaSpeedParam pathSpeed;
  UINTSclaleTo<float> speedSpread{0, -0.01f, 1.0f};
  MediaParamT<unsigned> lateralOffset{0};
  MediaParamT<int> wobbleMode{0};                         // 0 harmonic, else Perlin
  UINTSclaleTo<float> wobbleFrequency{0, 0.0004f, 0.0f};  // radians a scene unit
  UINTSclaleTo<float> startWidth{0, 0.01f, 0.0f};
  UINTSclaleTo<float> endWidth{0, 0.01f, 0.0f};
  UINTSclaleTo<float> rampInEnd{0, 0.01f, 0.0f};     // of L
  UINTSclaleTo<float> rampOutStart{0, 0.01f, 0.0f};  // of L
};
