#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_direction.h"
#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "particles/classic/control/particle_system_ctrl.h"
#include "particles/classic/emission/emission_counters.h"
#include "particles/classic/emission/emission_shapes.h"

// A vortex: particles leave its centre in several arms spread evenly round the circle (the arms
// turning slowly), and each is steered by IPR_VortexVel, a radial speed plus a swirl about the
// centre, until it has flown its distance.
class ZKW_VortexPtclSys : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  ZKW_VortexPtclSys();
  ZKW_VortexPtclSys(const ZKW_VortexPtclSys& other) = default;
  // The particles go first: their steering reads this control's values.
  ~ZKW_VortexPtclSys() override;

  // "ZKW_VortexPtclSys" version 1: UInt32 rate, Float x, y, z of the centre, UInt32 speed,
  // UInt32 swirl, Int32 swirl direction, UInt32 direction, UInt32 spread, UInt32 arms, UInt32
  // arm rotation, Int32 arm rotation direction, UInt32 distance, then the
  // "ZKW_ParticleSystemCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version, the same layout.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // Turns the arms by the step, then the even counter over the visible time of the step gives
  // the newcomers at the centre.
  RoutineParticleList Emit(float step) override;

  // Lifetime distance / speed, the look's dressing, motion, the steering, and a start velocity
  // within the sector turned by the arm angle and onto a random arm.
  void InitParticle(const DS_SafePtr<RoutineParticle>& particle);
  // The arms the particles leave along: at least one.
  unsigned ArmCount() const { return arms.Value() != 0 ? arms.Value() : 1; }

  ZKW_PointImitter emitter;  // its point is the centre
  ZKW_EvenImitter counter;
  UINTSclaleTo<float> radialSpeed{0, 2.0f, 0.0f};  // units a second
  UINTSclaleTo<float> swirl{0, 0.01f, 0.0f};       // radians a second
  MediaParamT<int> swirlDirection{0};
  MediaSector sector;
  MediaParamT<unsigned> arms{0};
  // Stored x 2 degrees a second; its local time is the arm angle.
  MediaSpeedParam armRotation;
  MediaParamT<int> armDirection{0};  // non-zero: the arm angle is added; 0: subtracted
  MediaParamT<unsigned> distance{0};
};
