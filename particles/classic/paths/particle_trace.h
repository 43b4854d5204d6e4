#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "geometry/curve/curve_cursor.h"
#include "geometry/path/spline_path.h"
#include "particles/classic/control/particle_system_ctrl.h"

// Particles laid along a B-spline path at even spacing (L / (points - 1)), progressively, so
// that the whole path is written once in every shown phase of the object; each laid particle
// starts up to `scatter` from its point, drifts away from the path and lives `lifetime`.
class ZKW_ParticleTrace : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  ZKW_ParticleTrace() = default;
  // Shares the cursor until the copy's attach.
  ZKW_ParticleTrace(const ZKW_ParticleTrace& other) = default;

  // "ZKW_ParticleTrace" version 1: Dword point count and the B-spline points, UInt32 points,
  // lifetime (hundredths of a second), scatter and drift, then the "ZKW_ParticleSystemCtrl"
  // record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version, the same layout; answers the nested record's answer.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's attach, one batch, the path's samples and a new cursor over them.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // While the object is shown (with a cycle, a path of some length and at least two points) the
  // path length due in the step is laid, the first particle at the path's start; otherwise the
  // tracing starts again from the start. Lays no more than the list can hold. Answers an empty
  // list.
  RoutineParticleList Emit(float step) override;
  // A trace never pre-warms.
  float PrewarmTime() const override { return 0.0f; }

  // A particle at `point` (scattered), dressed, turned to the path's direction `along` when the
  // look turns particles along their motion, drifting at right angles to the path.
  void LayParticle(const D3DXVECTOR3& point, const D3DXVECTOR3& along);
  float PathLength() const { return path.totalLength; }

  SplinePath path;
  MediaParamT<unsigned> points{0};
  TimeParam lifetime;
  MediaParamT<unsigned> scatter{0};
  UINTSclaleTo<float> drift{0, 1.0f, 0.0f};
  float pending = 0.0f;  // path length due but not yet laid
  DS_SafePtr<CurveCursor> cursor;
};
