#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "particles/classic/control/particle_system_ctrl.h"
#include "particles/classic/emission/emission_shapes.h"

// A fixed number of particles wandering inside a region (IPR_Brownian): each walks straight,
// changes to a new random direction at random intervals and is steered back towards the middle
// whenever it leaves the region. The particles are made when the run-time object is attached
// (and again after a restart that cleared them); they never die. Each is drawn as an upright
// quad the size of the picture scaled by the appearance's size percent.
class ZKW_BrownAnimation : public ZKW_ParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  ZKW_BrownAnimation();
  ZKW_BrownAnimation(const ZKW_BrownAnimation& other) = default;
  // The particles go first: their walks read this control's region and parameters.
  ~ZKW_BrownAnimation() override;

  // "ZKW_BrownAnimation" version 1: UInt32 count, UInt32 walk speed, UInt32 change rate,
  // UInt32 acceleration time, the region's 12 Float, then the "ZKW_ParticleSystemCtrl" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's restart (pre-warmed wandering, or cleared); a cleared control makes its count of
  // particles again, so that a timeline that is not continuous still shows them.
  void Restart() override;
  // The base's attach, one batch, (keep-GUID clear) the region fitted to the render target, and
  // the count of particles made.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  // The appearance's clocks, this kind's clock, every particle a step, their quads.
  void Update(float t) override;
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;
  // Nothing: the particles are made by FillCount.
  RoutineParticleList Emit(float) override { return {}; }

  // Makes particles in the region (each with a walk) until the count lives, or drops them from
  // the end down to the count; at most kMaxParticlesPerList.
  void FillCount();
  // One upright quad per particle into batch 0: the picture's size in pixels x the size
  // percent x the particle's own size, at its own opacity.
  void FillQuads();

  MediaParamT<unsigned> count{0};
  UINTSclaleTo<float> walkSpeed{0, 0.04f, 0.0f};
  UINTSclaleTo<float> changeRate{0, 0.02f, 0.1f};         // changes a second
  UINTSclaleTo<float> accelerationTime{0, 0.02f, 0.02f};  // seconds to a new velocity
  ZKW_RectImitter region;
  // The clock of this kind (1.0 a second); not stored.
  MediaSpeedParam clock;

 protected:
  // The quads of the kind's particles, written by Update.
  virtual void FillBatches() { FillQuads(); }
};
